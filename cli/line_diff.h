#pragma once

// A unified diff of two versions of one file, as `diff -u` and Git print it, so a change can be
// reviewed or applied with patch before anything is written.

#include <string>
#include <string_view>

namespace velmora::cli {

// "--- a/NAME", "+++ b/NAME" and the hunks with three lines of context; empty when the two are
// equal. Lines end at line feeds and keep their bytes, carriage returns included.
std::string UnifiedDiff(std::string_view before, std::string_view after, std::string_view name);

}  // namespace velmora::cli
