#pragma once

// The analyze command's JSON Lines form: one object per page, format 1.

#include <string>

#include "cli/page_report.h"

namespace velmora::cli {

inline constexpr int kReportFormat = 1;

// One line of JSON, without the line break.
std::string ToJsonLine(const PageReport& report);

}  // namespace velmora::cli
