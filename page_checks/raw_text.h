#pragma once

// Where the content of a raw-text element ends: the first end tag of that element's name that
// the HTML5 tokenizer accepts, or the end of the page.

#include <cstddef>
#include <string_view>

namespace velmora::page_checks {

// Position of the "</" that ends the content of `name` (lower-case) starting at `from`, or
// page.size() when nothing ends it. For title, textarea, style and the other raw-text
// elements: "</name" in any letter case, followed by white space, "/" or ">".
std::size_t FindRawTextEnd(std::string_view page, std::size_t from, std::string_view name);

// The same for a script, whose "<!--" and "<script" parts can hide an end tag as browsers do.
std::size_t FindScriptEnd(std::string_view page, std::size_t from);

}  // namespace velmora::page_checks
