#include "analysis/keyword_tests.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "analysis/keyword_ordering.h"
#include "analysis/keyword_tests_detail.h"
#include "analysis/text_ids.h"
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

detail::NumberedWords::NumberedWords(const KeywordList& keywords) {
    starts.reserve(keywords.size() + 1);
    std::size_t total = 0;
    for (const std::string& keyword : keywords) {
        total += keyword.size();
    }
    lowered.reserve(total);
    for (const std::string& keyword : keywords) {
        starts.push_back(lowered.size());
        lowered += keyword;
    }
    starts.push_back(lowered.size());
    for (char& c : lowered) {
        c = AsciiLowerByte(c);
    }
    const std::string_view all = lowered;
    firstWord.reserve(keywords.size() + 1);
    for (std::size_t k = 0; k < keywords.size(); ++k) {
        firstWord.push_back(words.size());
        FirstWordWhere(all.substr(starts[k], starts[k + 1] - starts[k]),
                       [&](std::string_view word) {
                           words.push_back(word);
                           return false;
                       });
    }
    firstWord.push_back(words.size());
    TextIds numbers;
    ids.resize(words.size());
    numbers.AddEach(words, [&](std::size_t w, TextIds::Entry entry) { ids[w] = entry.id; });
    distinct = numbers.size();
}

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

void ClassifyKeywords(const KeywordList& keywords, std::span<const std::int32_t> counts,
                      std::int32_t wordCount, const TextRules& rules, std::int32_t& bad,
                      std::int32_t& good, const KelVelmoraOptions& options) {
    bad = 0;
    good = 0;
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        if (IsGoodKeyword(keywords[i], counts[i], wordCount, rules, options)) {
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
    // Same answer as testing IsDuplicateKeyword at every index: equality ignoring case is
    // equality of the locale lower-casings.
    return KeywordKeys(keywords, keywordCase, rules).AnyRepeats();
}

KeywordKeys::KeywordKeys(const KeywordList& keywords, KeywordCaseMode keywordCase,
                         const TextRules& rules)
    : keywordCase_(keywordCase), rules_(rules) {
    std::vector<std::string_view> keys;
    keys.reserve(keywords.size());
    if (IgnoresCase(keywordCase)) {
        // All keys are lowered into one text before any view is taken, so the views stay valid.
        std::vector<std::size_t> ends;
        ends.reserve(keywords.size());
        for (const std::string& keyword : keywords) {
            rules.AppendLocaleLower(lowered_, keyword);
            ends.push_back(lowered_.size());
        }
        std::size_t start = 0;
        for (const std::size_t end : ends) {
            keys.push_back(std::string_view(lowered_).substr(start, end - start));
            start = end;
        }
    } else {
        keys.assign(keywords.begin(), keywords.end());
    }
    repeats_.resize(keywords.size());
    ids_.AddEach(keys, [&](std::size_t i, TextIds::Entry entry) {
        repeats_[i] = !entry.added;
        anyRepeats_ = anyRepeats_ || !entry.added;
    });
}

bool KeywordKeys::Contains(std::string_view text) const {
    if (!IgnoresCase(keywordCase_)) {
        return ids_.Find(text) != TextIds::kNone;
    }
    return ids_.Find(rules_.LocaleLower(text)) != TextIds::kNone;
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
    // whole words, ASCII lower-cased. Each keyword is split once into numbered words, and each
    // number knows how many keywords hold it; walking the list in order while counting the
    // keywords so far that hold each word leaves the later ones as the difference.
    const detail::NumberedWords split(keywords);
    std::vector<std::uint32_t> holders(split.distinct);   // per number: keywords that hold it
    std::vector<std::size_t> lastHolder(split.distinct);  // per number: 1 + the last one counted
    for (std::size_t k = 0; k < count; ++k) {
        for (std::size_t w = split.firstWord[k]; w < split.firstWord[k + 1]; ++w) {
            if (lastHolder[split.ids[w]] != k + 1) {
                lastHolder[split.ids[w]] = k + 1;
                ++holders[split.ids[w]];
            }
        }
    }

    // Hits are counted from the first later keyword that holds the word, so any limit below one
    // acts as one.
    const std::size_t needed = limit < 1 ? 1 : static_cast<std::size_t>(limit);
    std::vector<std::uint32_t> counted(holders.size());
    std::fill(lastHolder.begin(), lastHolder.end(), 0);
    for (std::size_t i = 0; i + 1 < count; ++i) {
        for (std::size_t w = split.firstWord[i]; w < split.firstWord[i + 1]; ++w) {
            const std::uint32_t id = split.ids[w];
            if (lastHolder[id] != i + 1) {
                lastHolder[id] = i + 1;
                ++counted[id];
            }
        }
        for (std::size_t w = split.firstWord[i]; w < split.firstWord[i + 1]; ++w) {
            if (holders[split.ids[w]] - counted[split.ids[w]] >= needed) {
                // ASCII lower-casing keeps every byte in its place: the word as spelled in K.
                const std::string_view word = split.words[w];
                const auto offset = static_cast<std::size_t>(word.data() - split.lowered.data());
                return keywords[i].substr(offset - split.starts[i], word.size());
            }
        }
    }
    return {};
}

}  // namespace velmora
