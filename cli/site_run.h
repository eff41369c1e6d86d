#pragma once

// The site checks of a run: the pages' site objects joined with the root's files, robots.txt
// and sitemap, judged together. analyze, report and the second pass over JSON Lines share it.

#include <optional>
#include <string>
#include <vector>

#include "cli/page_report.h"
#include "cli/site_flags.h"
#include "options/page_check_options.h"
#include "site_checks/site_checks.h"

namespace velmora::cli {

class ErrorOutput;

// Site results that belong to no page: the sitemap's, under the sitemap file's name.
struct SiteRecord {
    std::string file;
    std::vector<page_checks::CheckResult> checks;
};

// Lists the root's files and reads robots.txt and the sitemap into `site`. Warnings and files
// that cannot be read are reported on err; false when one could not be read.
bool LoadSiteFiles(const SiteSetup& setup, site_checks::Site& site, ErrorOutput& err);

// The site object of a page checked in this run.
site_checks::PageSite PageSiteOf(const PageReport& report, const SiteSetup& setup);

// True when the run's pages must all be read before the first is reported.
bool JudgesSite(std::size_t pageCount, const SiteSetup& setup, const PageCheckOptions& options);

// What a page checked in this run brings to the site checks, its texts in the site's pool.
site_checks::SitePage SitePageOf(const PageReport& report, site_checks::TextPool& texts);

}  // namespace velmora::cli
