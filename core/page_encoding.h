#pragma once

// Conversions between a page's bytes and the UTF-8 text that the window and the JSON report use.

#include <string>
#include <string_view>

#include "core/text_rules.h"

namespace velmora {

// The page's bytes (or a piece cut from them) as UTF-8. UTF-8 pages pass through; Windows-1252
// bytes are converted. Bytes that are not valid in the encoding are never dropped: on a UTF-8
// page they become U+FFFD.
std::string PageBytesToUtf8(std::string_view bytes, Encoding encoding);

// Text typed by the user (UTF-8) in the form it takes in the page whose bytes are given:
// - UTF-8 page: as UTF-8;
// - Windows-1252 page with bytes of 128 or more: as Windows-1252, characters it lacks as &#N;;
// - ASCII-only page: every character from U+0080 up as &#N;.
std::string TypedTextToPageBytes(std::string_view utf8, std::string_view page);

}  // namespace velmora
