#pragma once

// The site report as one self-contained HTML file: its style, script, charts and data are all
// inside, and its content security policy forbids every fetch, so opening it touches no network.

#include <string>

#include "cli/site_report.h"

namespace velmora::cli {

std::string RenderSiteReport(const SiteReport& report);

}  // namespace velmora::cli
