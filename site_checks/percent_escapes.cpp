#include "site_checks/percent_escapes.h"

namespace velmora::site_checks {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool EscapeAt(std::string_view text, std::size_t at) {
    return at + 2 < text.size() && text[at] == '%' && HexDigitValue(text[at + 1]) >= 0 &&
           HexDigitValue(text[at + 2]) >= 0;
}

void AppendEscape(std::string& out, unsigned char byte) {
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    out += '%';
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
}

}  // namespace velmora::site_checks
