#pragma once

// Keyword scores, the optimal-order test and sort, and the lookups in the candidate list.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/candidate_keywords.h"
#include "analysis/progress_indicator.h"
#include "analysis/word_list.h"
#include "options/velmora_types.h"

namespace velmora {

std::int32_t CountOccurrences(std::string_view word, const WordList& words,
                              KeywordCaseMode keywordCase);
// CountOccurrences of every keyword, in list order.
std::vector<std::int32_t> CountOccurrencesOfEach(const KeywordList& keywords, const WordList& words,
                                                 KeywordCaseMode keywordCase);

std::int32_t KeywordScore(std::string_view keyword, const WordList& words, std::string_view title,
                          const KelVelmoraOptions& options);

// Scores keywords against one page and title; the title is lower-cased once for all of them.
class KeywordScorer {
public:
    KeywordScorer(const WordList& words, std::string_view title, const KelVelmoraOptions& options);

    // The score without a bound, as the order test and the sort compare it.
    std::int64_t Score(std::string_view keyword) const;
    // The same, for a keyword whose CountOccurrences is known.
    std::int64_t Score(std::string_view keyword, std::int32_t occurrences) const;
    // KeywordScore, for a keyword whose CountOccurrences is known.
    std::int32_t ReportedScore(std::string_view keyword, std::int32_t occurrences) const;

private:
    bool InTitle(std::string_view keyword) const;

    const WordList& words_;
    const KelVelmoraOptions& options_;
    bool caseSensitive_;
    std::string title_;
};

bool IsOrderOptimal(const KeywordList& keywords, const WordList& words, std::string_view title,
                    const KelVelmoraOptions& options);
// The same, for keywords whose CountOccurrences are known: counts[i] belongs to keywords[i].
bool IsOrderOptimal(const KeywordList& keywords, std::span<const std::int32_t> counts,
                    const WordList& words, std::string_view title,
                    const KelVelmoraOptions& options);

// Shell sort into descending score with the gap sequence 1, 4, 13, 40, ...; progress may be null.
KeywordList SortByScore(const KeywordList& keywords, const WordList& words, std::string_view title,
                        ProgressIndicator* progress, const KelVelmoraOptions& options);
// The same sort, for keywords whose scores (KeywordScorer::Score) are known.
KeywordList SortByScore(const KeywordList& keywords, std::span<const std::int64_t> scores,
                        ProgressIndicator* progress);

// The written form in which word is most often used in the page (mixed mode).
std::string PreferredForm(std::string_view word, const WordList& words,
                          KeywordCaseMode keywordCase);

}  // namespace velmora
