#pragma once

// Text from pages and file names made safe inside an HTML document.

#include <string>
#include <string_view>

namespace velmora::cli {

// text for an element's content or a quoted attribute value: & < > " ' as character
// references. Control characters other than tab, LF and CR, which HTML forbids, are shown as
// their control pictures (U+2400 …); U+0080 to U+009F, and any byte that is not part of valid
// UTF-8 (file names are bytes), as U+FFFD. Everything else passes unchanged.
std::string EscapeHtml(std::string_view text);

// JSON made safe inside <script type="application/json">: < > & as \u escapes, so no "</script>"
// or "<!--" can end or change the element, and U+2028 and U+2029 as \u escapes, which older
// script parsers take for line ends. The JSON's meaning does not change, because these
// characters only occur inside its strings.
std::string EscapeJsonForScript(std::string_view json);

}  // namespace velmora::cli
