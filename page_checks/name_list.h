#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora::page_checks {

// Names as a message lists them: "a", "a and b", "a, b and c".
std::string JoinNames(const std::vector<std::string_view>& names);

}  // namespace velmora::page_checks
