#pragma once

#include <string>
#include <string_view>

namespace velmora {

// A title or description as the user typed it, ready for the head: line feeds and carriage
// returns become spaces and every run of spaces becomes one. Tabs and a single leading or
// trailing space stay. Works on UTF-8 or page bytes alike, since it touches ASCII bytes only.
std::string CleanEditedText(std::string_view text);

}  // namespace velmora
