#pragma once

// A count with its noun in the right number, for every text the command line writes.

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora::cli {

// "1 page", "2 pages", "0 pages".
std::string CountText(std::size_t count, std::string_view one, std::string_view many);

}  // namespace velmora::cli
