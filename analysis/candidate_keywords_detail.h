#pragma once

// The candidate scan's parts that only the analysis and its tests use.

#include <string_view>

#include "analysis/candidate_keywords.h"

namespace velmora::detail {

// Records word and its parts into occurrences (the scan's recursive helper), with at most
// `budget` calls for one scanned word, the first included.
void AddWordAndParts(std::string_view word, const TextRules& rules, OccurrenceCounter& occurrences,
                     int& budget);

inline constexpr int kWordPartBudget = 256;

// With CaseSensitive: some entry equals word byte for byte; otherwise equal after locale
// lower-casing. list is a keyword list (not a candidate list).
bool IsWordInList(std::string_view word, const KeywordList& list, KeywordCaseMode keywordCase,
                  const TextRules& rules);

}  // namespace velmora::detail
