#pragma once

// The Change Keywords dialog's logic, outside any widget, so that the desktop dialog and the
// command-line tool choose and order keywords the same way.
//
// Both lists of the dialog hold entries: a keyword or candidate text and its line, the text
// followed by " {" and its count and marks, as the dialog shows it. The lists are kept in the
// text rules' order of the lines; the texts are read from the entries, never from the lines.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/candidate_keywords.h"
#include "analysis/progress_indicator.h"
#include "analysis/review_result.h"
#include "analysis/word_list.h"
#include "options/velmora_types.h"

namespace velmora {

struct ChoiceEntry {
    std::string text;  // the keyword or candidate, in the page's bytes
    std::string line;  // as the dialog shows it: "fish {3 times, bad keyword}"

    bool operator==(const ChoiceEntry&) const = default;
};

// Where a line goes in a list kept in that order: after every line that sorts before it or
// equal to it. lineAt(i) gives the list's i-th line.
std::size_t SortedLinePosition(std::size_t count,
                               const std::function<std::string(std::size_t)>& lineAt,
                               std::string_view line, const TextRules& rules);

struct PrimedKeywordChoice {
    std::vector<ChoiceEntry> Keywords;              // sorted
    std::vector<ChoiceEntry> Candidates;            // sorted
    KeywordList GoodCandidates;                     // every distinct good candidate, in walk order
    std::vector<std::int32_t> GoodCandidateCounts;  // CountOccurrences of each good candidate
    bool OrderOptimal = true;                       // false: the dialog announces the reordering
};

// The filling of both lists. advance is called with the number of steps done since its last
// call (one per keyword and one per occurrence entry of words); it may be empty.
PrimedKeywordChoice PrimeKeywordChoice(const KeywordList& keywords, std::int32_t wordCount,
                                       const WordList& words, std::string_view title,
                                       const KelVelmoraOptions& options,
                                       const std::function<void(std::size_t)>& advance = {});
// The same, for keywords whose CountOccurrences are known: keywordCounts[i] belongs to
// keywords[i].
PrimedKeywordChoice PrimeKeywordChoice(const KeywordList& keywords,
                                       std::span<const std::int32_t> keywordCounts,
                                       std::int32_t wordCount, const WordList& words,
                                       std::string_view title, const KelVelmoraOptions& options,
                                       const std::function<void(std::size_t)>& advance = {});

// The same lists from a review that derived its candidate choice, without a second walk over
// the candidate list.
PrimedKeywordChoice PrimedFromReview(const ReviewResult& result);

// Auto's choice: the good candidates sorted by score, spammed entries removed, cut to the
// recommended maximum. progress may be null.
KeywordList RankAutoKeywords(const KeywordList& goodCandidates, const WordList& words,
                             std::string_view title, const KelVelmoraOptions& options,
                             ProgressIndicator* progress);

struct ChoiceLists {
    std::vector<ChoiceEntry> Candidates;  // sorted
    std::vector<ChoiceEntry> Keywords;    // sorted
};

// Auto's moves: every keyword entry back to the candidates, then the candidate entries whose
// text is in ranked (ignoring case), without two that are duplicates of each other under the
// case mode, over to the keywords.
ChoiceLists ApplyAutoChoice(ChoiceLists lists, const KeywordList& ranked,
                            const KelVelmoraOptions& options, const TextRules& rules);

// What the dialog hands back: the texts of the keyword entries, sorted by descending score.
KeywordList KeywordsFromEntries(const std::vector<ChoiceEntry>& keywords, const WordList& words,
                                std::string_view title, const KelVelmoraOptions& options);

// Auto, then Done, on a primed choice: the keyword list the dialog writes back after "Auto".
KeywordList AutoKeywords(const PrimedKeywordChoice& primed, const WordList& words,
                         std::string_view title, const KelVelmoraOptions& options);

// Prime, Auto, then Done, in one call.
KeywordList AutoKeywords(const KeywordList& keywords, std::int32_t wordCount, const WordList& words,
                         std::string_view title, const KelVelmoraOptions& options);

// Keywords given by the user as the dialog's list would hold and hand them back: their lines
// sorted, then sorted by score.
KeywordList OrderKeywordsAsDialog(const KeywordList& keywords, std::int32_t wordCount,
                                  const WordList& words, std::string_view title,
                                  const KelVelmoraOptions& options);

}  // namespace velmora
