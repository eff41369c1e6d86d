#pragma once

// Measures of decoded UTF-8 text: characters, words and the comparison form of a text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::page_checks {

// Blank, tab, CR, LF and no-break space runs become one blank; the ends are trimmed.
std::string CollapseWhiteSpace(std::string_view utf8);

// Unicode code points; an invalid byte counts as one.
std::size_t CountCharacters(std::string_view utf8);

struct Word {
    std::string_view text;
    // Only white space and punctuation stand between this word and the one before.
    bool followsDirectly = false;
};

// Runs of Unicode letters and numbers (with the marks that combine with them), in order.
// Stops after `limit` words.
std::vector<Word> SplitWords(std::string_view utf8, std::size_t limit = SIZE_MAX);
std::size_t CountWords(std::string_view utf8);

// The text with white space collapsed and every letter lowered: two texts with the same key
// are equal ignoring letter case.
std::string ComparisonKey(std::string_view utf8);

// Lowers every letter (Unicode simple lower-case mapping).
std::string LowerCase(std::string_view utf8);

}  // namespace velmora::page_checks
