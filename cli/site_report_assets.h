#pragma once

// The site report's style sheet and script, kept as files beside the code (site_report.css and
// site_report.js) and built into the program as text.

#include <string_view>

namespace velmora::cli {

extern const std::string_view kSiteReportStyle;
extern const std::string_view kSiteReportScript;

}  // namespace velmora::cli
