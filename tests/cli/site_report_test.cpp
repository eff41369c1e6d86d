// The site report's figures: rating bins, the per-page summary and the most common findings.

#include "cli/site_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace velmora::cli {
namespace {

using Kind = CommonFinding::Kind;

SiteReportPage Page(float rating, std::vector<SiteReportCheck> checks = {},
                    std::vector<SiteReportAdvice> advice = {}) {
    SiteReportPage page;
    page.file = "page.html";
    page.rating = rating;
    page.checks = std::move(checks);
    page.advice = std::move(advice);
    return page;
}

page_checks::CheckResult Check(CheckId id, page_checks::CheckState state) {
    page_checks::CheckResult check;
    check.id = id;
    check.state = state;
    check.message = "Message of " + std::string(CheckIdName(id));
    return check;
}

TEST(SiteReport, RatingsFallIntoTenBinsWithTheTopBinClosed) {
    EXPECT_EQ(RatingBin(0.0f), 0u);
    EXPECT_EQ(RatingBin(9.99f), 0u);
    EXPECT_EQ(RatingBin(10.0f), 1u);
    EXPECT_EQ(RatingBin(89.99f), 8u);
    EXPECT_EQ(RatingBin(90.0f), 9u);
    EXPECT_EQ(RatingBin(100.0f), 9u);
    // Out of range and not a number stay inside the chart.
    EXPECT_EQ(RatingBin(-3.0f), 0u);
    EXPECT_EQ(RatingBin(250.0f), 9u);
    EXPECT_EQ(RatingBin(std::numeric_limits<float>::quiet_NaN()), 0u);
    EXPECT_EQ(RatingBin(std::numeric_limits<float>::infinity()), 9u);
}

TEST(SiteReport, CountsEachPageInItsBinAndAverages) {
    const SiteReport report = BuildSiteReport({Page(5), Page(45), Page(48), Page(100)});
    const std::array<std::size_t, kRatingBins> expected{1, 0, 0, 0, 2, 0, 0, 0, 0, 1};
    EXPECT_EQ(report.ratingBins, expected);
    EXPECT_DOUBLE_EQ(report.averageRating, 49.5);
    EXPECT_EQ(report.pages.size(), 4u);

    const SiteReport empty = BuildSiteReport({});
    EXPECT_EQ(empty.averageRating, 0.0);
    EXPECT_TRUE(empty.commonFindings.empty());
}

TEST(SiteReport, CommonFindingsCountPagesMostFirstWithTiesInKindOrder) {
    const SiteReportCheck titleProblem{"title", "problem", "No title"};
    const SiteReportCheck imagesImprove{"images", "improve", "2 images lack alt"};
    const SiteReportCheck good{"content", "good", "350 words"};
    const SiteReportCheck info{"hreflang", "info", "No alternates"};
    const SiteReportAdvice noTitle{"No title", "Add a title"};
    const SiteReport report = BuildSiteReport({
        // The same advice twice on one page counts once.
        Page(10, {titleProblem, imagesImprove, good, info}, {noTitle, noTitle}),
        Page(20, {titleProblem, good}, {noTitle}),
        Page(30, {imagesImprove}),
    });
    const std::vector<CommonFinding> expected{
        {Kind::Problem, "title", 2},
        {Kind::Improve, "images", 2},
        {Kind::Advice, "No title", 2},
    };
    EXPECT_EQ(report.commonFindings, expected);
}

TEST(SiteReport, CommonFindingsKeepOnlyTheMostFrequent) {
    std::vector<SiteReportPage> pages;
    for (std::size_t i = 0; i < kCommonFindingLimit + 5; ++i) {
        // Finding i is on i + 1 pages.
        for (std::size_t k = 0; k <= i; ++k) {
            pages.push_back(Page(50, {}, {{"kind " + std::to_string(100 + i), "advice"}}));
        }
    }
    const SiteReport report = BuildSiteReport(std::move(pages));
    ASSERT_EQ(report.commonFindings.size(), kCommonFindingLimit);
    EXPECT_EQ(report.commonFindings.front().label, "kind " + std::to_string(100 + 16));
    EXPECT_EQ(report.commonFindings.front().pages, 17u);
    EXPECT_EQ(report.commonFindings.back().pages, 6u);
}

TEST(SiteReport, SummarizesAPageReport) {
    PageReport report;
    report.file = "shop/café.html";
    report.rating = 72.5f;
    report.ratingText = " 72%";
    Finding finding;
    finding.title = "Too few keywords";
    finding.advice = "Not enough good keywords";
    report.findings.push_back(finding);
    report.checks.title = "Café \xE2\x98\x95 & more";  // 13 code points, 16 bytes
    report.checks.Add(Check(CheckId::Title, page_checks::CheckState::Improve));
    report.checks.Add(Check(CheckId::StructuredData, page_checks::CheckState::Problem));
    report.checks.Add(Check(CheckId::DuplicateTitle, page_checks::CheckState::Improve));

    const SiteReportPage page = SummarizePage(report);
    EXPECT_EQ(page.file, report.file);
    EXPECT_EQ(page.title, *report.checks.title);
    EXPECT_EQ(page.titleCharacters, 13u);
    EXPECT_EQ(page.description, "");
    EXPECT_EQ(page.descriptionCharacters, 0u);
    EXPECT_EQ(page.problems, 1u);
    EXPECT_EQ(page.improve, 2u);
    ASSERT_EQ(page.checks.size(), 3u);
    EXPECT_EQ(page.checks[1].id, "structured-data");
    EXPECT_EQ(page.checks[1].state, "problem");
    EXPECT_EQ(page.checks[1].message, "Message of structured-data");
    EXPECT_EQ(page.checks[2].id, "duplicate-title");
    ASSERT_EQ(page.advice.size(), 1u);
    EXPECT_EQ(page.advice[0].title, "Too few keywords");
    EXPECT_EQ(page.advice[0].text, "Not enough good keywords");
}

TEST(SiteReport, DuplicateChecksNameTheFirstFewOtherPages) {
    const auto duplicate = [](CheckId id, std::size_t others) {
        page_checks::CheckResult check = Check(id, page_checks::CheckState::Improve);
        page_checks::CheckValue::List files;
        for (std::size_t i = 0; i < others; ++i) {
            files.emplace_back(std::to_string(i).insert(0, "p").append(".html"));
        }
        check.values.push_back({"files", std::move(files)});
        return check;
    };
    PageReport report;
    report.checks.Add(duplicate(CheckId::DuplicateTitle, 7));
    report.checks.Add(duplicate(CheckId::DuplicateDescription, 5));
    const SiteReportPage page = SummarizePage(report);
    EXPECT_EQ(page.checks[0].message,
              "The title is the same as on 7 other pages, first p0.html, p1.html, p2.html, "
              "p3.html, p4.html; give each page its own.");
    // Few enough to name them all: the check's own message.
    EXPECT_EQ(page.checks[1].message, "Message of duplicate-description");
}

}  // namespace
}  // namespace velmora::cli
