#pragma once

// The analyze command's readable form: a block per page and a closing summary.

#include <optional>
#include <string>
#include <vector>

#include "cli/page_report.h"
#include "cli/report_results.h"
#include "cli/score_summary.h"

namespace velmora::cli {

struct TextStyle {
    // The least severe check shown; nullopt shows every check, good ones too.
    std::optional<ResultLevel> minimum;
    // Only the page's name and its problems; nothing for a page without any.
    bool quiet = false;
    bool color = false;
};

// A page's block: its verdict (score and role), its page checks with the first elements of
// each, then the review under "Keyword rating".
std::string ToText(const PageReport& report, const TextStyle& style = {});

// The file's name and its site checks, for a record that is no page of the run.
std::string ToRecordText(const std::string& file,
                         const std::vector<page_checks::CheckResult>& checks,
                         const TextStyle& style = {});

// What the closing summary keeps of each page.
struct RatedPage {
    float rating = 0.0f;
    std::string ratingText;
    ScoredPage scored;
};

RatedPage RatedPageOf(const PageReport& report);

// Pages, average rating, the score histogram, the lowest-scoring indexable pages, the
// lowest-rated pages and the faults most pages share; unreadable pages counted apart.
std::string SummaryText(const std::vector<RatedPage>& pages, std::size_t failedPages);

// The results the pages' suppression comments and the baseline left out, when there are any.
std::string LeftOutText(std::size_t suppressed, std::size_t baselined);

}  // namespace velmora::cli
