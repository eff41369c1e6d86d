#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Percent escapes as URLs and robots.txt paths write them.
namespace velmora::site_checks {

// Whether `text` holds a whole escape, "%" and two hexadecimal digits, at `at`.
bool EscapeAt(std::string_view text, std::size_t at);

// Appends the byte as "%XY", with upper-case digits.
void AppendEscape(std::string& out, unsigned char byte);

}  // namespace velmora::site_checks
