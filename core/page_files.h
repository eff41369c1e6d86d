#pragma once

// What both programs call a page, and what they call themselves.

#include <array>
#include <string_view>

namespace velmora {

// The application title; also the content of the generator tag both programs write.
inline constexpr std::string_view kApplicationTitle = "Velmora";

// The extensions of page files, matched ignoring letter case.
inline constexpr std::array<std::string_view, 3> kPageExtensions = {".html", ".htm", ".php"};

// True when the file name ends in a page extension, in any letter case.
bool IsPageFileName(std::string_view path);

}  // namespace velmora
