#pragma once

// Character references (&amp; &eacute; &#233; &#xE9;) decoded as HTML5 decodes them, in text
// that is already UTF-8.

#include <string>
#include <string_view>

namespace velmora::page_checks {

enum class ReferencePlace {
    Text,
    // In attribute values a legacy reference without ";" followed by a letter, a digit or "="
    // stays as written, so query strings such as "?a=1&copy=2" survive.
    Attribute,
};

// Appends `raw` with its references decoded. Line breaks stay as written: every check collapses
// white space.
void AppendDecoded(std::string& out, std::string_view raw, ReferencePlace place);

inline std::string DecodeAttribute(std::string_view raw) {
    std::string out;
    AppendDecoded(out, raw, ReferencePlace::Attribute);
    return out;
}

// Appends the code point as UTF-8; surrogates and values past U+10FFFF become U+FFFD.
void AppendCodePoint(std::string& out, char32_t c);

}  // namespace velmora::page_checks
