#pragma once

// The head writer's steps that only it and the tests use.

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora::detail {

// Replaces the double-quoted content value of the meta tag named Name. A tag of that name without
// such a value, or without its ">", is replaced whole, in place, by a new tag under its own name;
// a missing tag is added before the head end tag.
std::string SetMetaContent(std::string_view text, std::string_view name, std::string_view value);
std::string RemoveMetaTag(std::string_view text, std::string_view name);
std::size_t FindTextInsensitive(std::string_view text, std::string_view find);
std::string EncodeEntities(std::string_view text);

}  // namespace velmora::detail
