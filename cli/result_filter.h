#pragma once

// What a run leaves out of a page's report: the review findings the project skips, what the
// page's suppression comments turn off, and what the baseline already holds.

#include <cstddef>
#include <memory>
#include <vector>

#include "cli/baseline.h"
#include "cli/page_report.h"

namespace velmora::cli {

struct ResultFilter {
    std::vector<std::size_t> skippedFindings;  // rule indices of review findings
    std::shared_ptr<const Baseline> baseline;
};

// Removes those results from the report, counting the suppressed and the baselined ones, and
// brings the check summary up to date. Checks added to the report later (the comparisons
// between pages) are filtered by calling it again; what was filtered before is not looked at.
// A check that lists elements is left out once none of its elements is left.
void ApplyResultFilter(PageReport& report, const ResultFilter& filter);

// The checks of a record that is no page of the run (a sitemap's, or a page's read back from
// JSON Lines) that the filter and the page's own suppression comments leave.
std::vector<page_checks::CheckResult> FilterRecord(const std::string& file,
                                                   std::vector<page_checks::CheckResult> checks,
                                                   Suppressions suppressions,
                                                   const ResultFilter& filter);

}  // namespace velmora::cli
