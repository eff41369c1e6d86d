#pragma once

// The pages of a run reviewed and checked on several threads, with the checks that compare
// pages added once all are done: what the site report is made from.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/page_inputs.h"
#include "cli/page_report.h"
#include "cli/page_run.h"
#include "cli/result_filter.h"
#include "cli/site_flags.h"
#include "cli/site_run.h"
#include "options/page_check_options.h"
#include "options/velmora_types.h"

namespace velmora {
class KelVelmoraData;
namespace page_checks {
class TextWidthMeter;
}
}  // namespace velmora

namespace velmora::cli {

struct ReviewSettings {
    KelVelmoraOptions options;
    PageCheckOptions checkOptions;
    SiteSetup site;
    ResultFilter filter;
};

struct ReviewedPage {
    std::optional<PageReport> report;  // none when the page could not be read
    std::string problem;               // a line for the error output, when there is one
    bool failed = false;               // a page or a folder could not be read
    std::string output;                // what the run's `finish` made of the report
};

// The settings of a prepared run, with the site flags over the configuration's.
ReviewSettings SettingsOfRun(const PageRun& run, const SiteFlags& site,
                             const std::vector<std::string>& paths);

// More threads than this only cost memory: each holds a whole page and its analysis.
inline constexpr std::int64_t kMaximumJobs = 1024;
// One thread for each processor.
unsigned DefaultJobs();

// One input reviewed and checked in `document`, which a worker reuses from page to page, with
// the filter applied. The width meter may be shared by several threads.
ReviewedPage ReviewPage(const PageInput& input, KelVelmoraData& document,
                        const KelVelmoraOptions& options, const PageCheckOptions& checkOptions,
                        const SiteSetup& site, const ResultFilter& filter,
                        const page_checks::TextWidthMeter& meter);

// What a run does with each page besides reviewing it.
struct PageHandling {
    // On a worker's thread once the page's report is final, for a page with a report: analyze
    // formats it there. An exception leaves the page with its problem instead of a report.
    std::function<void(ReviewedPage&)> finish;
    // On the calling thread, in input order; false ends the run.
    std::function<bool(std::size_t, ReviewedPage&)> deliver;
    // On the calling thread whenever more reviews have finished, with how many.
    std::function<void(std::size_t)> progress;
};

struct RunEnd {
    std::optional<SiteRecord> sitemap;  // the sitemap's own results
    bool siteFilesFailed = false;       // robots.txt or the sitemap could not be read
};

// The one pipeline of analyze and report: every input reviewed and checked on `jobs` threads,
// each worker with a document of its own. When the run compares its pages (the site checks),
// every page's report waits in a temporary file until all are checked, with only what the
// comparisons need in memory; then the comparisons and the filter are added, and the pages are
// finished in parallel; otherwise each page is finished at once. Pages are delivered
// in input order either way; the site files' problems go to err.
RunEnd RunPages(const std::vector<PageInput>& inputs, const ReviewSettings& settings, unsigned jobs,
                const PageHandling& handling, ErrorOutput& err);

}  // namespace velmora::cli
