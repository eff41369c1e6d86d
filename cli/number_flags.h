#pragma once

// Validators for numeric flags: plain decimal text within a range, so that "0x10", "1e3" or
// " 7" are refused rather than read as something the user did not type.

#include <CLI/CLI.hpp>
#include <cstdint>

namespace velmora::cli {

CLI::Validator WholeNumber(std::int64_t minimum, std::int64_t maximum);
CLI::Validator DecimalNumber(double minimum, double maximum);

}  // namespace velmora::cli
