#pragma once

// The duplicate test of one keyword against those before it, which HasDuplicateKeywords answers
// for a whole list in one pass; and the keywords' words numbered, which the spamming tests share.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/candidate_keywords.h"
#include "core/text_rules.h"
#include "options/velmora_types.h"

namespace velmora::detail {

bool IsDuplicateKeyword(std::size_t index, const KeywordList& keywords, KeywordCaseMode keywordCase,
                        const TextRules& rules);

// The whole words of every keyword, as WordIndex splits them, ASCII lower-cased and numbered:
// equal words get equal numbers. The keywords are lowered end to end into one text. It points
// into itself, so it cannot be copied.
struct NumberedWords {
    explicit NumberedWords(const KeywordList& keywords);
    NumberedWords(const NumberedWords&) = delete;
    NumberedWords& operator=(const NumberedWords&) = delete;

    std::string lowered;
    std::vector<std::size_t> starts;      // where each keyword begins in lowered, and the end
    std::vector<std::string_view> words;  // into lowered, keyword by keyword
    std::vector<std::size_t> firstWord;   // where each keyword's words begin, and the end
    std::vector<std::uint32_t> ids;       // the number of each word
    std::size_t distinct = 0;
};

}  // namespace velmora::detail
