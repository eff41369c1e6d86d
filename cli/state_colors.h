#pragma once

// The states as a terminal shows them in colour: problem red, improve yellow, good green, info
// cyan.

#include <string>
#include <string_view>

namespace velmora::cli {

// `text` (a state's name, perhaps padded) wrapped in the colour of `state` when `color`.
std::string Colored(std::string_view state, std::string_view text, bool color);

}  // namespace velmora::cli
