#pragma once

// Every word, word part and phrase of two to four words in a page, with the page's word count.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/word_list.h"
#include "options/velmora_types.h"

namespace velmora {

using KeywordList = std::vector<std::string>;

class TCandidateKeywords {
public:
    // Scans text once. With lowerCase on, words are recorded locale-lower-cased; stopWords may
    // be null.
    TCandidateKeywords(std::string_view text, bool lowerCase, const StopWordList* stopWords,
                       TextRules rules);

    std::int32_t WordCount = 0;
    WordList Words;
};

// Records word and its parts into occurrences (the scan's recursive helper), with at most
// `budget` calls for one scanned word, the first included.
void AddWordAndParts(std::string_view word, const TextRules& rules, OccurrenceCounter& occurrences,
                     int& budget);

inline constexpr int kWordPartBudget = 256;

// With CaseSensitive: some entry equals word byte for byte; otherwise equal after locale
// lower-casing. list is a keyword list (not a candidate list).
bool IsWordInList(std::string_view word, const KeywordList& list, KeywordCaseMode keywordCase,
                  const TextRules& rules);

}  // namespace velmora
