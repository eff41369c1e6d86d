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

}  // namespace velmora
