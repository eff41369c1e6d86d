#include "analysis/keyword_ordering.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "analysis/keyword_ordering_detail.h"

namespace velmora {
namespace {

std::int32_t Saturated(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

KeywordScorer::KeywordScorer(const WordList& words, std::string_view title,
                             const KelVelmoraOptions& options)
    : words_(words),
      options_(options),
      caseSensitive_(options.CaseMode() == KeywordCaseMode::CaseSensitive),
      title_(caseSensitive_ ? std::string(title) : words.Rules().LocaleLower(title)) {}

std::int64_t KeywordScorer::Score(std::string_view keyword) const {
    return Score(keyword, CountOccurrences(keyword, words_, options_.KeywordCase));
}

std::int64_t KeywordScorer::Score(std::string_view keyword, std::int32_t occurrences) const {
    const std::int64_t weight = options_.MaximumKeywordCount;
    std::int64_t score = std::int64_t{occurrences} * weight;
    const auto length = static_cast<std::int64_t>(words_.Rules().CharacterCount(keyword));
    score += length < weight ? length : weight - 1;
    if (InTitle(keyword)) {
        score += weight * weight;
    }
    return score;
}

std::int32_t KeywordScorer::ReportedScore(std::string_view keyword,
                                          std::int32_t occurrences) const {
    return Saturated(Score(keyword, occurrences));
}

bool KeywordScorer::InTitle(std::string_view keyword) const {
    if (keyword.empty()) {
        return false;
    }
    if (caseSensitive_) {
        return title_.find(keyword) != std::string::npos;
    }
    return title_.find(words_.Rules().LocaleLower(keyword)) != std::string::npos;
}

int detail::FindWord(std::string_view word, const WordList& words, KeywordCaseMode keywordCase) {
    const std::string lower = words.Rules().LocaleLower(word);
    const int group = words.FindGroup(lower);
    if (group < 0 || CaseModeOf(keywordCase) != KeywordCaseMode::CaseSensitive) {
        return group;
    }
    const auto& forms = words.Forms();
    for (auto i = static_cast<std::size_t>(group); i < forms.size() && forms[i].lower == lower;
         ++i) {
        if (forms[i].text == word) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::int32_t CountOccurrences(std::string_view word, const WordList& words,
                              KeywordCaseMode keywordCase) {
    const int index = detail::FindWord(word, words, keywordCase);
    if (index < 0) {
        return 0;
    }
    const auto& forms = words.Forms();
    if (CaseModeOf(keywordCase) == KeywordCaseMode::CaseSensitive) {
        return forms[index].count;
    }
    std::int64_t total = 0;
    for (auto i = static_cast<std::size_t>(index);
         i < forms.size() && forms[i].lower == forms[index].lower; ++i) {
        total += forms[i].count;
    }
    return Saturated(total);
}

std::int32_t KeywordScore(std::string_view keyword, const WordList& words, std::string_view title,
                          const KelVelmoraOptions& options) {
    return Saturated(KeywordScorer(words, title, options).Score(keyword));
}

std::vector<std::int32_t> CountOccurrencesOfEach(const KeywordList& keywords, const WordList& words,
                                                 KeywordCaseMode keywordCase) {
    std::vector<std::int32_t> counts;
    counts.reserve(keywords.size());
    for (const std::string& keyword : keywords) {
        counts.push_back(CountOccurrences(keyword, words, keywordCase));
    }
    return counts;
}

namespace {

// True when no keyword scores higher than the one before it; occurrences(i) gives the
// CountOccurrences of keywords[i].
template <typename Occurrences>
bool ScoresDescend(const KeywordList& keywords, const Occurrences& occurrences,
                   const WordList& words, std::string_view title,
                   const KelVelmoraOptions& options) {
    if (keywords.size() < 2) {
        return true;
    }
    const KeywordScorer scorer(words, title, options);
    std::int64_t previous = scorer.Score(keywords.front(), occurrences(0));
    for (std::size_t i = 1; i < keywords.size(); ++i) {
        const std::int64_t score = scorer.Score(keywords[i], occurrences(i));
        if (score > previous) {
            return false;
        }
        previous = score;
    }
    return true;
}

}  // namespace

bool IsOrderOptimal(const KeywordList& keywords, const WordList& words, std::string_view title,
                    const KelVelmoraOptions& options) {
    // The list is often out of order at its first keywords: each count is looked up only when
    // the walk gets that far.
    return ScoresDescend(
        keywords,
        [&](std::size_t i) { return CountOccurrences(keywords[i], words, options.CaseMode()); },
        words, title, options);
}

bool IsOrderOptimal(const KeywordList& keywords, std::span<const std::int32_t> counts,
                    const WordList& words, std::string_view title,
                    const KelVelmoraOptions& options) {
    return ScoresDescend(
        keywords, [&](std::size_t i) { return counts[i]; }, words, title, options);
}

KeywordList SortByScore(const KeywordList& keywords, const WordList& words, std::string_view title,
                        ProgressIndicator* progress, const KelVelmoraOptions& options) {
    const KeywordScorer scorer(words, title, options);
    std::vector<std::int64_t> scores(keywords.size());
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        scores[i] = scorer.Score(keywords[i]);
    }
    return SortByScore(keywords, scores, progress);
}

KeywordList SortByScore(const KeywordList& keywords, std::span<const std::int64_t> scores,
                        ProgressIndicator* progress) {
    const std::size_t n = keywords.size();

    // A shell sort over indices with the gaps 1, 4, 13, 40, ...: keywords of equal score end in
    // the order these passes leave them, which the rest of the program reproduces.
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i) {
        order[i] = i;
    }
    std::size_t gap = 0;
    do {
        gap = 3 * gap + 1;
    } while (gap <= n);
    if (progress != nullptr) {
        progress->SetMinimum(0);
        progress->SetMaximum(static_cast<int>(gap));
    }
    do {
        gap /= 3;
        if (progress != nullptr) {
            progress->SetPosition(progress->Maximum() - static_cast<int>(gap));
        }
        for (std::size_t i = gap; i < n; ++i) {
            const std::size_t moving = order[i];
            std::size_t j = i;
            while (j >= gap && scores[order[j - gap]] < scores[moving]) {
                order[j] = order[j - gap];
                j -= gap;
            }
            order[j] = moving;
        }
    } while (gap > 1);

    KeywordList sorted;
    sorted.reserve(n);
    for (const std::size_t i : order) {
        sorted.push_back(keywords[i]);
    }
    return sorted;
}

std::string PreferredForm(std::string_view word, const WordList& words,
                          KeywordCaseMode keywordCase) {
    switch (CaseModeOf(keywordCase)) {
        case KeywordCaseMode::CaseInsensitiveLower:
            return words.Rules().LocaleLower(word);
        case KeywordCaseMode::CaseSensitive:
            return std::string(word);
        case KeywordCaseMode::CaseInsensitiveMixed:
            break;
    }
    const int index = detail::FindWord(word, words, keywordCase);
    if (index < 0) {
        return std::string(word);
    }
    // The most used written form; on a tie the first, which is the first in byte order.
    const auto& forms = words.Forms();
    std::size_t best = index;
    for (auto i = static_cast<std::size_t>(index) + 1;
         i < forms.size() && forms[i].lower == forms[index].lower; ++i) {
        if (forms[i].count > forms[best].count) {
            best = i;
        }
    }
    return std::string(forms[best].text);
}

}  // namespace velmora
