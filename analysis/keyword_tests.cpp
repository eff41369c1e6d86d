#include "analysis/keyword_tests.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "analysis/keyword_ordering.h"
#include "core/kel_string_functions.h"
#include "core/text_rules.h"

namespace velmora {
namespace {

bool IgnoresCase(std::uint8_t keywordCase) {
    return CaseModeOf(keywordCase) != KeywordCaseMode::CaseSensitive;
}

// The whole words of text as TakeFirstWord splits it.
std::vector<std::string> SplitWords(std::string text) {
    std::vector<std::string> words;
    while (!text.empty()) {
        words.push_back(TakeFirstWord(text));
    }
    return words;
}

}  // namespace

bool IsGoodKeyword(std::string_view keyword, std::int32_t wordCount, const WordList& words,
                   const KelVelmoraOptions& options) {
    std::int32_t limit = options.KeywordOneInEvery > 0 ? wordCount / options.KeywordOneInEvery : 0;
    limit = std::max(limit, options.MaximumKeywordCount);
    const std::int32_t occurrences =
        CountOccurrences(keyword, words, static_cast<std::uint8_t>(options.CaseMode()));
    return occurrences >= options.MinimumKeywordCount && occurrences <= limit &&
           words.Rules().CharacterCount(keyword) > 1;
}

void ClassifyKeywords(const KeywordList& keywords, std::int32_t wordCount, const WordList& words,
                      std::int32_t& bad, std::int32_t& good, const KelVelmoraOptions& options) {
    bad = 0;
    good = 0;
    for (const std::string& keyword : keywords) {
        if (IsGoodKeyword(keyword, wordCount, words, options)) {
            ++good;
        } else {
            ++bad;
        }
    }
}

std::int32_t CountGoodKeywords(const KeywordList& keywords, std::int32_t wordCount,
                               const WordList& words, const KelVelmoraOptions& options) {
    std::int32_t bad = 0;
    std::int32_t good = 0;
    ClassifyKeywords(keywords, wordCount, words, bad, good, options);
    return good;
}

std::int32_t CountBadKeywords(const KeywordList& keywords, std::int32_t wordCount,
                              const WordList& words, const KelVelmoraOptions& options) {
    std::int32_t bad = 0;
    std::int32_t good = 0;
    ClassifyKeywords(keywords, wordCount, words, bad, good, options);
    return bad;
}

bool IsDuplicateKeyword(std::size_t index, const KeywordList& keywords, std::uint8_t keywordCase,
                        const TextRules& rules) {
    if (index >= keywords.size()) {
        return false;
    }
    const std::string& keyword = keywords[index];
    const bool ignoreCase = IgnoresCase(keywordCase);
    return std::any_of(keywords.begin(), keywords.begin() + static_cast<std::ptrdiff_t>(index),
                       [&](const std::string& earlier) {
                           return ignoreCase ? rules.EqualIgnoringCase(earlier, keyword)
                                             : earlier == keyword;
                       });
}

bool HasDuplicateKeywords(const KeywordList& keywords, std::uint8_t keywordCase,
                          const TextRules& rules) {
    // Same answer as testing IsDuplicateKeyword at every index, in one pass: equality ignoring
    // case is equality of the locale lower-casings.
    const bool ignoreCase = IgnoresCase(keywordCase);
    std::unordered_set<std::string> seen;
    seen.reserve(keywords.size());
    for (const std::string& keyword : keywords) {
        if (!seen.insert(ignoreCase ? rules.LocaleLower(keyword) : keyword).second) {
            return true;
        }
    }
    return false;
}

std::string FindSpammedWord(const KeywordList& keywords, std::int32_t limit) {
    if (keywords.size() < 2) {
        return {};
    }
    // Each keyword is lower-cased and split once; a word is "in" a keyword exactly when
    // WordIndex would find it there.
    std::vector<std::vector<std::string>> lowerWords;
    lowerWords.reserve(keywords.size());
    for (const std::string& keyword : keywords) {
        lowerWords.push_back(SplitWords(AsciiLower(keyword)));
    }
    const auto contains = [](const std::vector<std::string>& list, const std::string& word) {
        return std::find(list.begin(), list.end(), word) != list.end();
    };
    for (std::size_t i = 0; i + 1 < keywords.size(); ++i) {
        std::string rest = keywords[i];
        while (!rest.empty()) {
            const std::string word = TakeFirstWord(rest);
            // A keyword of blanks only yields an empty "word", which is no word at all.
            if (word.empty()) {
                continue;
            }
            const std::string lower = AsciiLower(word);
            std::int32_t hits = 0;
            for (std::size_t j = i + 1; j < keywords.size(); ++j) {
                if (contains(lowerWords[j], lower) && ++hits >= limit) {
                    return word;
                }
            }
        }
    }
    return {};
}

}  // namespace velmora
