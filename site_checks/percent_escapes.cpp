#include "site_checks/percent_escapes.h"

#include "page_checks/html_chars.h"

namespace velmora::site_checks {

bool EscapeAt(std::string_view text, std::size_t at) {
    return at + 2 < text.size() && text[at] == '%' &&
           page_checks::HexDigitValue(text[at + 1]) >= 0 &&
           page_checks::HexDigitValue(text[at + 2]) >= 0;
}

void AppendEscape(std::string& out, unsigned char byte) {
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    out += '%';
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
}

}  // namespace velmora::site_checks
