#pragma once

// Text typed on the command line for the title or the description.

#include <string>
#include <string_view>

namespace velmora::cli {

// As the text edit dialog hands its text back: line feeds and carriage returns become spaces,
// and every run of spaces becomes one. Tabs and a single leading or trailing space stay.
std::string CleanTypedText(std::string_view text);

}  // namespace velmora::cli
