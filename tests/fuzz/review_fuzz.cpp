// A whole review on arbitrary bytes: deterministic, consistent counts, a rating within 0..100
// and only the program's own advice lines.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/reviewed_html.h"
#include "options/velmora_types.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

bool IsKnownAdvice(const std::string& line) {
    static const std::string_view fixed[] = {"Add a title",
                                             "Add a description",
                                             "Add some keywords or phrases.",
                                             "Remove carriage return from description",
                                             "Remove bad keywords",
                                             "Not enough good keywords",
                                             "Too many keywords",
                                             "Remove duplicate keywords.",
                                             "Keyword ordering not optimal"};
    for (const std::string_view text : fixed) {
        if (line == text) {
            return true;
        }
    }
    const std::string_view view(line);
    if (view.starts_with("Keyword \"") &&
        view.ends_with("\" used too often, reduce usage (keyword spamming)")) {
        return true;
    }
    return view.starts_with("File contains ") && view.ends_with(" bytes of unnecessary space.");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    velmora::KelVelmoraOptions options;
    options.KeywordCase = static_cast<velmora::KeywordCaseMode>(data[0] % 5);
    options.CompressionEnabled = (data[1] & 1) != 0;
    options.MinimumKeywordCount = 1 + data[1] % 4;
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

    velmora::TReviewedHtml first;
    first.Review(text, options);
    velmora::TReviewedHtml second;
    second.Review(text, options);

    const auto& list = first.GetCheckList();
    FUZZ_CHECK(list.GoodKeywordCount + list.BadKeywordCount ==
                   static_cast<std::int32_t>(first.GetKeywords().size()) ||
               first.GetKeywords().empty());
    FUZZ_CHECK(list.Rating >= 0.0f && list.Rating <= 100.0f);
    for (const velmora::Finding& finding : list.Findings) {
        FUZZ_CHECK(IsKnownAdvice(finding.advice) && !finding.title.empty());
        FUZZ_CHECK(!finding.position ||
                   (finding.position->line >= 1 && finding.position->column >= 1));
    }
    FUZZ_CHECK(first.GetSpaceToRemove() >= 0 || text.find('\r') != std::string::npos);

    FUZZ_CHECK(second.GetHtml() == first.GetHtml());
    FUZZ_CHECK(second.GetKeywords() == first.GetKeywords());
    FUZZ_CHECK(second.GetSpaceToRemove() == first.GetSpaceToRemove());
    FUZZ_CHECK(second.GetCheckList().Findings == list.Findings);
    FUZZ_CHECK(second.GetCheckList().Rating == list.Rating);
    FUZZ_CHECK(second.GetWordCount() == first.GetWordCount());
    FUZZ_CHECK(second.GetCandidateList().Forms().size() == first.GetCandidateList().Forms().size());

    // Checking again with the same options changes nothing.
    first.CheckPage(options);
    FUZZ_CHECK(first.GetCheckList().Findings == second.GetCheckList().Findings);
    FUZZ_CHECK(first.GetCheckList().Rating == second.GetCheckList().Rating);
    return 0;
}
