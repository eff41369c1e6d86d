#pragma once

// What the site report shows: for each page the figures of its table row and the details behind
// it, and across the pages the faults most pages share, the histogram of scores and the most
// common findings.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/page_report.h"
#include "cli/score_summary.h"

namespace velmora::cli {

struct SiteReportCheck {
    std::string id;     // "title", "structured-data", …
    std::string state;  // "good", "improve", "problem", "info"
    std::string message;
};

struct SiteReportAdvice {
    std::string title;  // the short title, which names the kind of advice
    std::string text;
};

// A site check of a page (or of the sitemap) in a state worth acting on, for the Site section.
struct SiteFinding {
    std::string id;  // "broken-links", "orphan", …
    std::string state;
    std::string file;
    std::string message;
    std::vector<std::string> elements;  // each one's href or URL, as the check lists them
};

struct SiteReportPage {
    std::string file;
    // Decoded, with white space collapsed; empty when the page has none.
    std::string title;
    std::string description;
    std::optional<int> score;  // none for redirects and pages not indexed
    page_checks::PageRole role = page_checks::PageRole::Page;
    // Its faults as the template-wide groups count them; read once by BuildSiteReport.
    std::vector<std::string> faults;
    float rating = 0.0f;
    std::string ratingText;
    std::size_t problems = 0;
    std::size_t improve = 0;
    // Unicode code points, the unit of the page checks.
    std::size_t titleCharacters = 0;
    std::size_t descriptionCharacters = 0;
    std::vector<SiteReportAdvice> advice;
    std::vector<SiteReportCheck> checks;
    std::vector<SiteFinding> siteFindings;
};

// A kind of finding: a page check in the problem or improve state, or a kind of review advice.
struct CommonFinding {
    enum class Kind { Problem, Improve, Advice };
    Kind kind = Kind::Advice;
    std::string label;  // the check's id, or the advice's short title
    std::size_t pages = 0;

    bool operator==(const CommonFinding&) const = default;
};

// Ratings fall into ten bins: 0 to under 10, …, 80 to under 90, and 90 to 100.
inline constexpr std::size_t kRatingBins = 10;
// The bar chart names the findings on most pages, at most this many.
inline constexpr std::size_t kCommonFindingLimit = 12;

struct SiteReport {
    // Lowest score first, then the pages without a score; equal scores in run order.
    std::vector<SiteReportPage> pages;
    std::array<std::size_t, kScoreBins> scoreBins{};
    std::size_t unscored = 0;
    std::vector<TemplateWideFault> templateWide;
    std::array<std::size_t, kRatingBins> ratingBins{};
    // On most pages first; equal counts in the order problem, improve, advice, then by label.
    std::vector<CommonFinding> commonFindings;
    double averageRating = 0.0;
    // The Site section: broken link targets with the pages that link to each, in the order
    // first met; orphans; canonical and hreflang findings; sitemap and robots findings.
    std::vector<std::pair<std::string, std::vector<std::string>>> brokenTargets;
    std::vector<std::string> orphans;
    std::vector<SiteFinding> addressFindings;
    std::vector<SiteFinding> indexFindings;
};

SiteReportPage SummarizePage(const PageReport& report);

// The bin of a rating; ratings outside 0–100 go to the nearest end.
std::size_t RatingBin(float rating);

SiteReport BuildSiteReport(std::vector<SiteReportPage> pages);

// The site findings of a file that is no page of the run (the sitemap's own results).
void AddSiteRecord(SiteReport& report, const std::string& file,
                   const std::vector<page_checks::CheckResult>& checks);

// "problem", "improve" or "advice".
const char* CommonFindingKindName(CommonFinding::Kind kind);

}  // namespace velmora::cli
