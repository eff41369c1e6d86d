#pragma once

// The site report's two charts as inline SVG: every bar carries its count in data-count, so a
// reader (or a test) gets the figures without measuring the drawing.

#include <string>

#include "cli/site_report.h"

namespace velmora::cli {

// One bar per score bin, 0–9 to 90–100, in bin order; pages without a score are not drawn.
std::string ScoreHistogramSvg(const SiteReport& report);

// One bar per rating bin, 0–9 to 90–100, in bin order.
std::string RatingHistogramSvg(const SiteReport& report);

// One horizontal bar per common finding, most pages first; a short note when there are none.
std::string CommonFindingsSvg(const SiteReport& report);

}  // namespace velmora::cli
