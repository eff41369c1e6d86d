#pragma once

// Where a new tag goes on the lines of a page's head, so that it follows the page's own line
// breaks and indentation: the head writer and the fixes of the page checks place their tags
// alike.

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// Tags go in at `at`, each with `before` in front of it and `after` behind it.
struct TagPlacement {
    std::size_t at = 0;
    std::string before;
    std::string after;
};

// A blank that indents a line: space or tab.
bool IsIndentBlank(char c);
// The line break that begins at `at` (CR LF, LF or CR); empty when none does.
std::string_view LineBreakAt(std::string_view text, std::size_t at);

// After a start tag (or the prologue) ending at `at`: when it ends its line, each tag on a line of
// its own, indented as the next line is; else straight after it.
TagPlacement PlaceAfter(std::string_view text, std::size_t at);
// Before the head end tag at `headEnd`: when it begins its line, each tag on a line of its own
// before it, indented as the line above; else straight in front of it, with nothing around.
TagPlacement PlaceBeforeHeadEnd(std::string_view text, std::size_t headEnd);

}  // namespace velmora
