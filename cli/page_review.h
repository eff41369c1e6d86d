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
};

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

struct ReviewedRun {
    std::vector<ReviewedPage> pages;
    std::optional<SiteRecord> sitemap;  // the sitemap's own results
    bool siteFilesFailed = false;       // robots.txt or the sitemap could not be read
};

// The filter applied to the checks that compare pages, added once every page is checked.
void FilterResults(const std::vector<PageReport*>& reports, const ResultFilter& filter);

// Every input in order, reviewed on `jobs` threads; progress(done) is called on the calling
// thread as inputs finish. A page that cannot be read gives its problem instead of a report.
// The site checks follow once every page is done; their file problems go to err.
ReviewedRun ReviewPages(const std::vector<PageInput>& inputs, const ReviewSettings& settings,
                        unsigned jobs, const std::function<void(std::size_t)>& progress,
                        ErrorOutput& err);

}  // namespace velmora::cli
