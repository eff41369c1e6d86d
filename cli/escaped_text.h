#pragma once

// Text from pages and file names made safe to show on a terminal.

#include <string>
#include <string_view>

namespace velmora::cli {

// text with every control character escaped, so that it can neither start a new line nor
// drive the terminal: CR, LF and tab as \r, \n and \t, the other characters below U+0020 and
// DEL as \xHH, U+0080 to U+009F as \uHHHH. A byte that is not part of valid UTF-8 (file names
// are bytes) is shown as \xHH as well. Everything else passes unchanged.
std::string EscapeControls(std::string_view text);

}  // namespace velmora::cli
