#pragma once

// velmora-cli analyze --format compact: one line per result as compilers and linters print
// them, "site/a.html:12:5: improve images: …", for editors' problem matchers.

#include <string>

#include "cli/page_report.h"
#include "cli/report_results.h"

namespace velmora::cli {

// The page's lines for its results of `minimum` or more severe, each ending in a line break;
// a result without a place is "FILE: STATE ID: MESSAGE".
std::string ToCompactLines(const PageReport& report, ResultLevel minimum, bool color);

// The closing line: the results shown by state, and the pages.
std::string CompactSummary(std::size_t problems, std::size_t improve, std::size_t info,
                           std::size_t pages);

}  // namespace velmora::cli
