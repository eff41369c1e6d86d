#pragma once

// The lookup under the keyword counts, for the analysis and its tests.

#include <string_view>

#include "analysis/word_list.h"
#include "options/velmora_types.h"

namespace velmora::detail {

// Index (into words.Forms()) of the first form of the group equal to word ignoring case; in
// CaseSensitive the form equal to it byte for byte. -1 when there is none.
int FindWord(std::string_view word, const WordList& words, KeywordCaseMode keywordCase);

}  // namespace velmora::detail
