#pragma once

// Replaces or adds the title, the description and the keywords of a page text. Every function
// returns the new text and changes nothing outside the bytes it replaces or inserts.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

std::string SetTitle(std::string_view text, std::string_view title);
std::string SetDescription(std::string_view text, std::string_view description);
std::string SetKeywords(std::string_view text, const std::vector<std::string>& keywords);
// Puts the tag before the head end tag: on a line of its own, indented as the line above, where
// that end tag begins its line; else followed by a line break. Without one, the tag goes in front
// of the page, but after what it begins with that must stay first: a byte-order mark, blanks,
// <?…?> blocks, the doctype and the <html> start tag.
std::string InsertIntoHead(std::string_view text, std::string_view tag);
// Where InsertIntoHead puts the tag, and the bytes it puts there.
struct HeadInsertion {
    std::size_t at = 0;
    std::string text;
};
HeadInsertion FindHeadInsertion(std::string_view text, std::string_view tag);
// Where a tag goes on a page without a head: past the byte-order mark, blanks, <?…?> blocks,
// the doctype and the <html> start tag that the page begins with.
std::size_t AfterLeadingPrologue(std::string_view text);

}  // namespace velmora
