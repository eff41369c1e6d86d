#pragma once

// What the site report shows: for each page the figures of its table row and the details behind
// it, and across the pages the histogram of ratings and the most common findings.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "cli/page_report.h"

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

struct SiteReportPage {
    std::string file;
    // Decoded, with white space collapsed; empty when the page has none.
    std::string title;
    std::string description;
    float rating = 0.0f;
    std::string ratingText;
    std::size_t problems = 0;
    std::size_t improve = 0;
    // Unicode code points, the unit of the page checks.
    std::size_t titleCharacters = 0;
    std::size_t descriptionCharacters = 0;
    std::vector<SiteReportAdvice> advice;
    std::vector<SiteReportCheck> checks;
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
    std::vector<SiteReportPage> pages;
    std::array<std::size_t, kRatingBins> ratingBins{};
    // On most pages first; equal counts in the order problem, improve, advice, then by label.
    std::vector<CommonFinding> commonFindings;
    double averageRating = 0.0;
};

SiteReportPage SummarizePage(const PageReport& report);

// The bin of a rating; ratings outside 0–100 go to the nearest end.
std::size_t RatingBin(float rating);

SiteReport BuildSiteReport(std::vector<SiteReportPage> pages);

// "problem", "improve" or "advice".
const char* CommonFindingKindName(CommonFinding::Kind kind);

}  // namespace velmora::cli
