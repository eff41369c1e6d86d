#pragma once

// The site checks: how the pages of one site stand together. They read the pages' site objects
// and the root's file list, robots.txt and sitemap, never the pages again, so one run and a
// second pass over many runs' JSON Lines judge alike.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "options/page_check_options.h"
#include "page_checks/check_result.h"
#include "site_checks/robots_rules.h"
#include "site_checks/site_files.h"
#include "site_checks/site_page.h"
#include "site_checks/text_pool.h"

namespace velmora::site_checks {

struct SitemapUrl {
    std::string url;
    TextId path = kNoText;  // none for a URL of another site
    std::uint32_t line = 0;
};

struct Sitemap {
    std::string file;  // as reports name it
    std::vector<SitemapUrl> urls;
};

struct Site {
    TextPool texts;
    std::vector<SitePage> pages;
    // The root's files; without them only the pages are known, and a link to anything but a
    // page is not judged.
    std::optional<SiteFiles> files;
    std::optional<RobotsRules> robots;
    std::optional<Sitemap> sitemap;
};

struct SiteResults {
    // For each page, in the order of `pages`, its site checks in CheckId order.
    std::vector<std::vector<page_checks::CheckResult>> pages;
    // Results that belong to no page (sitemap URLs whose page does not exist), reported for the
    // sitemap file.
    std::vector<page_checks::CheckResult> sitemap;
};

// The checks prepared once for the whole site (the pages' targets, the links into each page,
// the duplicate groups, the sitemap's pages), then judged a page at a time: a caller writes each
// page out before the next is judged and never holds every page's results.
class SiteJudge {
public:
    SiteJudge(const Site& site, const PageCheckOptions& options);
    ~SiteJudge();
    SiteJudge(const SiteJudge&) = delete;
    SiteJudge& operator=(const SiteJudge&) = delete;

    // The site checks of site.pages[index], in CheckId order.
    std::vector<page_checks::CheckResult> PageResults(std::size_t index);
    // The results that belong to no page, as SiteResults::sitemap.
    std::vector<page_checks::CheckResult> SitemapResults() const;

private:
    class Judgement;
    std::unique_ptr<Judgement> judgement_;
};

SiteResults RunSiteChecks(const Site& site, const PageCheckOptions& options);

// True when any check that compares pages is switched on: then every page must be read before
// the first is reported.
bool RunsSiteChecks(const PageCheckOptions& options);

}  // namespace velmora::site_checks
