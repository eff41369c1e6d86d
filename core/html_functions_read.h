#pragma once

// Reads the title, the description and the keywords out of a page text. Positions are 1-based.
// The searches compare ASCII letters without case and never move a byte.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

struct MetaTagPosition {
    bool found = false;
    std::size_t TagStart = 0;  // position of the tag's "<"
    // Position of its closing ">". A tag with no ">" outside quotes up to the end of the text ends
    // on the last byte before the first line break or "<" after its start, so that nothing after
    // its own line counts as part of it.
    std::size_t TagEnd = 0;
};

std::string GetTitle(std::string_view text);
std::string GetDescription(std::string_view text);
std::string GetMetaKeywords(std::string_view text);
MetaTagPosition FindMetaTag(std::string_view text, std::string_view name);
std::vector<std::string> SplitKeywords(std::string_view keywordsText);

}  // namespace velmora
