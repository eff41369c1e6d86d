#include "analysis/keyword_tests.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "analysis/keyword_ordering.h"
#include "analysis/keyword_tests_detail.h"
#include "core/kel_string_functions.h"
#include "core/text_rules.h"

namespace velmora {
namespace {

bool IgnoresCase(KeywordCaseMode keywordCase) {
    return CaseModeOf(keywordCase) != KeywordCaseMode::CaseSensitive;
}

// The first of text's whole words, as TakeFirstWord splits them, for which test holds; empty
// when none does. The view points into text.
template <typename Test>
std::string_view FirstWordWhere(std::string_view text, const Test& test) {
    std::size_t end = 0;
    while (true) {
        std::size_t begin = end;
        while (begin < text.size() && IsWhiteSpace(text[begin])) {
            ++begin;
        }
        if (begin == text.size()) {
            return {};
        }
        end = begin;
        while (end < text.size() && !IsWhiteSpace(text[end])) {
            ++end;
        }
        const std::string_view word = text.substr(begin, end - begin);
        if (test(word)) {
            return word;
        }
    }
}

}  // namespace

bool IsGoodKeyword(std::string_view keyword, std::int32_t wordCount, const WordList& words,
                   const KelVelmoraOptions& options) {
    return IsGoodKeyword(keyword, CountOccurrences(keyword, words, options.CaseMode()), wordCount,
                         words.Rules(), options);
}

bool IsGoodKeyword(std::string_view keyword, std::int32_t occurrences, std::int32_t wordCount,
                   const TextRules& rules, const KelVelmoraOptions& options) {
    std::int32_t limit = options.KeywordOneInEvery > 0 ? wordCount / options.KeywordOneInEvery : 0;
    limit = std::max(limit, options.MaximumKeywordCount);
    return occurrences >= options.MinimumKeywordCount && occurrences <= limit &&
           rules.CharacterCount(keyword) > 1;
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

bool detail::IsDuplicateKeyword(std::size_t index, const KeywordList& keywords,
                                KeywordCaseMode keywordCase, const TextRules& rules) {
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

bool HasDuplicateKeywords(const KeywordList& keywords, KeywordCaseMode keywordCase,
                          const TextRules& rules) {
    // Same answer as testing IsDuplicateKeyword at every index, in one pass: equality ignoring
    // case is equality of the locale lower-casings.
    std::unordered_set<std::string> seen;
    seen.reserve(keywords.size());
    for (const std::string& keyword : keywords) {
        if (!seen.insert(KeywordKey(keyword, keywordCase, rules)).second) {
            return true;
        }
    }
    return false;
}

std::string KeywordKey(std::string_view keyword, KeywordCaseMode keywordCase,
                       const TextRules& rules) {
    return IgnoresCase(keywordCase) ? rules.LocaleLower(keyword) : std::string(keyword);
}

std::string FindSpammedWord(const KeywordList& keywords, std::int32_t limit) {
    const std::size_t count = keywords.size();
    if (count < 2) {
        return {};
    }
    // A word is "in" a later keyword exactly when WordIndex would find it there: as one of its
    // whole words, ASCII lower-cased. Each keyword is split once into word ids, and each word
    // knows how many keywords hold it; walking the list in order while counting the keywords so
    // far that hold each word leaves the later ones as the difference.
    std::vector<std::string> lowered;
    lowered.reserve(count);
    for (const std::string& keyword : keywords) {
        lowered.push_back(AsciiLower(keyword));
    }
    std::unordered_map<std::string_view, std::uint32_t> ids;
    ids.reserve(count);
    std::vector<std::string_view> words;            // every keyword's words, in order
    std::vector<std::uint32_t> wordIds;             // the id of each of them
    std::vector<std::size_t> firstWord(count + 1);  // where each keyword's words start
    std::vector<std::uint32_t> holders;             // per id: keywords that hold the word
    std::vector<std::size_t> lastHolder;            // per id: 1 + the last keyword counted
    for (std::size_t k = 0; k < count; ++k) {
        firstWord[k] = words.size();
        FirstWordWhere(lowered[k], [&](std::string_view word) {
            const auto [at, added] =
                ids.try_emplace(word, static_cast<std::uint32_t>(holders.size()));
            if (added) {
                holders.push_back(0);
                lastHolder.push_back(0);
            }
            const std::uint32_t id = at->second;
            words.push_back(word);
            wordIds.push_back(id);
            if (lastHolder[id] != k + 1) {
                lastHolder[id] = k + 1;
                ++holders[id];
            }
            return false;
        });
    }
    firstWord[count] = words.size();

    // Hits are counted from the first later keyword that holds the word, so any limit below one
    // acts as one.
    const std::size_t needed = limit < 1 ? 1 : static_cast<std::size_t>(limit);
    std::vector<std::uint32_t> counted(holders.size());
    std::fill(lastHolder.begin(), lastHolder.end(), 0);
    for (std::size_t i = 0; i + 1 < count; ++i) {
        for (std::size_t w = firstWord[i]; w < firstWord[i + 1]; ++w) {
            const std::uint32_t id = wordIds[w];
            if (lastHolder[id] != i + 1) {
                lastHolder[id] = i + 1;
                ++counted[id];
            }
        }
        for (std::size_t w = firstWord[i]; w < firstWord[i + 1]; ++w) {
            if (holders[wordIds[w]] - counted[wordIds[w]] >= needed) {
                // ASCII lower-casing keeps every byte in its place: the word as spelled in K.
                const auto offset = static_cast<std::size_t>(words[w].data() - lowered[i].data());
                return keywords[i].substr(offset, words[w].size());
            }
        }
    }
    return {};
}

}  // namespace velmora
