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
// Replaces the double-quoted content value of the meta tag named Name. A tag of that name without
// such a value, or without its ">", is replaced whole, in place, by a new tag under its own name;
// a missing tag is added before the head end tag.
std::string SetMetaContent(std::string_view text, std::string_view name, std::string_view value);
std::string RemoveMetaTag(std::string_view text, std::string_view name);
// Puts the tag and a line break before the head end tag. Without one, the tag goes in front of
// the page, but after what it begins with that must stay first: a byte-order mark, blanks,
// <?…?> blocks, the doctype and the <html> start tag.
std::string InsertIntoHead(std::string_view text, std::string_view tag);
std::size_t FindTextInsensitive(std::string_view text, std::string_view find);
std::string EncodeEntities(std::string_view text);

}  // namespace velmora
