// The candidate scan on arbitrary bytes: a sorted list of distinct forms, each a word, a word
// part or a phrase of at most four words, and the same list on a second scan.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "analysis/candidate_keywords.h"
#include "options/velmora_types.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the mode, the rest is the page.
    const bool lowerCase = (data[0] & 1) != 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const velmora::StopWordList stopWords;
    const velmora::TextRules rules = velmora::TextRules::ForPage(text);

    const velmora::TCandidateKeywords candidates(text, lowerCase, &stopWords, rules);
    const auto& forms = candidates.Words.Forms();
    std::size_t occurrences = 0;
    for (std::size_t i = 0; i < forms.size(); ++i) {
        const auto& form = forms[i];
        FUZZ_CHECK(form.count > 0);
        FUZZ_CHECK(!form.text.empty());
        FUZZ_CHECK(form.text.find("  ") == std::string::npos);
        FUZZ_CHECK(std::count(form.text.begin(), form.text.end(), ' ') <= 3);
        FUZZ_CHECK(form.lower == rules.LocaleLower(form.text));
        if (lowerCase) {
            FUZZ_CHECK(form.text == form.lower);
        }
        if (i > 0) {
            FUZZ_CHECK(rules.Compare(forms[i - 1].text, form.text) < 0);
        }
        occurrences += static_cast<std::size_t>(form.count);
    }
    FUZZ_CHECK(occurrences == candidates.Words.OccurrenceCount());
    FUZZ_CHECK(candidates.WordCount >= 0);

    const velmora::TCandidateKeywords again(text, lowerCase, &stopWords, rules);
    FUZZ_CHECK(again.WordCount == candidates.WordCount);
    FUZZ_CHECK(again.Words.Forms().size() == forms.size());
    return 0;
}
