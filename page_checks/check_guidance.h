#pragma once

// Why each page check matters to search engines and how to fix what it finds, in one table that
// the desktop's detail pane, the HTML report and the manual page all read.

#include <string_view>

#include "options/page_check_options.h"

namespace velmora::page_checks {

struct CheckGuidance {
    std::string_view why;  // one or two sentences on what the check protects
    std::string_view how;  // what to change in the page
};

const CheckGuidance& GuidanceFor(CheckId id);

}  // namespace velmora::page_checks
