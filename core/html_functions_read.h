#pragma once

// Reads the title, the description and the keywords out of a page text. Positions are 1-based.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

struct MetaTagPosition {
    bool found = false;
    std::size_t TagStart = 0;  // position of the tag's "<"
    std::size_t TagEnd = 0;    // position of its closing ">"
};

struct MetaContentPosition {
    bool found = false;
    std::size_t ValueStart = 0;  // first byte of the content value
    std::size_t ValueLength = 0;
};

std::string GetTitle(std::string_view text);
std::string GetDescription(std::string_view text);
std::string GetMetaKeywords(std::string_view text);
std::string GetMetaContent(std::string_view text, std::string_view name);
MetaContentPosition FindMetaContent(std::string_view text, std::string_view name);
MetaTagPosition FindMetaTag(std::string_view text, std::string_view name);
std::size_t FindTagEnd(std::string_view text, std::size_t position, char terminator);
std::string GetTextBetween(std::string_view text, std::string_view startTag,
                           std::string_view endTag);
std::string DecodeEntities(std::string_view text);
std::vector<std::string> SplitKeywords(std::string_view keywordsText);

}  // namespace velmora
