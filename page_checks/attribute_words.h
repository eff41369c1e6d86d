#pragma once

// Attribute values as the checks compare them: ASCII letters lowered, white space trimmed, and
// space-separated lists (rel, robots) split into their words.

#include <string>
#include <string_view>
#include <vector>

namespace velmora::page_checks {

std::string AsciiLowerTrimmed(std::string_view text);

// The words of a space-separated list, each lowered.
std::vector<std::string> SplitTokens(std::string_view text);

}  // namespace velmora::page_checks
