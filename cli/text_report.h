#pragma once

// The analyze command's readable form: a block per page and a closing summary.

#include <optional>
#include <string>
#include <vector>

#include "cli/page_report.h"
#include "cli/report_results.h"

namespace velmora::cli {

struct TextStyle {
    // The least severe check shown; nullopt shows every check, good ones too.
    std::optional<ResultLevel> minimum;
    // Only the page's name and its problems; nothing for a page without any.
    bool quiet = false;
    bool color = false;
};

std::string ToText(const PageReport& report, const TextStyle& style = {});

// The file's name and its site checks, for a record that is no page of the run.
std::string ToRecordText(const std::string& file,
                         const std::vector<page_checks::CheckResult>& checks,
                         const TextStyle& style = {});

struct RatedPage {
    std::string file;
    float rating = 0.0f;
    std::string ratingText;
};

// Pages, average rating and the lowest-rated pages; unreadable pages counted apart.
std::string SummaryText(const std::vector<RatedPage>& pages, std::size_t failedPages);

// The results the pages' suppression comments and the baseline left out, when there are any.
std::string LeftOutText(std::size_t suppressed, std::size_t baselined);

}  // namespace velmora::cli
