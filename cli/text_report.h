#pragma once

// The analyze command's readable form: a block per page and a closing summary.

#include <string>
#include <vector>

#include "cli/page_report.h"

namespace velmora::cli {

std::string ToText(const PageReport& report);

// The file's name and its site checks, for a record that is no page of the run.
std::string ToRecordText(const std::string& file,
                         const std::vector<page_checks::CheckResult>& checks);

struct RatedPage {
    std::string file;
    float rating = 0.0f;
    std::string ratingText;
};

// Pages, average rating and the lowest-rated pages; unreadable pages counted apart.
std::string SummaryText(const std::vector<RatedPage>& pages, std::size_t failedPages);

}  // namespace velmora::cli
