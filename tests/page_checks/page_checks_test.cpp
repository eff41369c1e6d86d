#include "page_checks/page_checks.h"

#include <gtest/gtest.h>

#include <thread>

#include "page_checks/page_text.h"
#include "tests/page_checks/check_test_support.h"

namespace velmora::page_checks::testing {
namespace {

std::vector<CheckId> Ids(const PageCheckReport& report) {
    std::vector<CheckId> ids;
    for (const CheckResult& check : report.checks) {
        ids.push_back(check.id);
    }
    return ids;
}

TEST(RunPageChecks, EveryCheckInTheReportOrderWithItsSummary) {
    const PageCheckReport report = RunPageChecks("<p>x</p>", "p.html", {}, Meter());
    ASSERT_EQ(report.checks.size(), 17u);
    for (std::size_t i = 0; i < report.checks.size(); ++i) {
        EXPECT_EQ(report.checks[i].id, static_cast<CheckId>(i));
        EXPECT_FALSE(report.checks[i].message.empty()) << CheckIdName(report.checks[i].id);
    }
    EXPECT_EQ(report.summary, Summarize(report.checks));
    EXPECT_EQ(
        report.summary.problem + report.summary.improve + report.summary.good + report.summary.info,
        17u);
    EXPECT_TRUE(report.HasStateOrWorse(CheckState::Problem));
    EXPECT_FALSE(report.title.has_value());
}

TEST(RunPageChecks, ChecksSwitchedOffAreLeftOut) {
    PageCheckOptions options;
    options.SetEnabled(CheckId::Title, false);
    options.SetEnabled(CheckId::Content, false);
    const PageCheckReport report =
        RunPageChecks("<title>Same title</title>", "p.html", options, Meter());
    EXPECT_EQ(report.checks.size(), 15u);
    const auto ids = Ids(report);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), CheckId::Title), 0);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), CheckId::Content), 0);
    // The title is still read for the duplicate comparison.
    EXPECT_EQ(report.title, "Same title");
}

TEST(RunPageChecks, FailOnThresholds) {
    PageCheckReport report;
    report.Add(CheckResult{CheckId::Title, CheckState::Good, "m", {}, {}, {}});
    report.Add(CheckResult{CheckId::Hreflang, CheckState::Info, "m", {}, {}, {}});
    EXPECT_FALSE(report.HasStateOrWorse(CheckState::Improve));
    report.Add(CheckResult{CheckId::Images, CheckState::Improve, "m", {}, {}, {}});
    EXPECT_TRUE(report.HasStateOrWorse(CheckState::Improve));
    EXPECT_FALSE(report.HasStateOrWorse(CheckState::Problem));
    EXPECT_EQ(report.summary.improve, 1u);
}

TEST(RunPageChecks, WindowsPagesAreReadInTheirEncoding) {
    // "Crème brûlée" in Windows-1252, with a euro sign (0x80) and a typographic quote (0x92).
    const std::string page =
        "<html lang=fr><head><meta charset=windows-1252><title>Cr\xE8me br\xFBl\xE9"
        "e \x80 5 \x92 la maison du g\xE2teau</title></head><body><h1>Cr\xC8ME</h1></body></html>";
    const PageCheckReport report = RunPageChecks(page, "p.html", {}, Meter());
    ASSERT_TRUE(report.title.has_value());
    EXPECT_EQ(*report.title, "Crème brûlée € 5 ’ la maison du gâteau");
    EXPECT_EQ(Number(report.checks[0], "characters"), 38);
    EXPECT_EQ(report.checks[static_cast<std::size_t>(CheckId::Charset)].state, CheckState::Good);
    const CheckResult h1 = report.checks[static_cast<std::size_t>(CheckId::H1)];
    EXPECT_EQ(std::get<CheckValue::List>(h1.Value("texts")->value).front(), CheckValue("CrÈME"));
}

TEST(RunPageChecks, ByteOrderMarkIsNoText) {
    const PageCheckReport report =
        RunPageChecks("\xEF\xBB\xBF<title>Caf\xC3\xA9</title>", "p.html", {}, Meter());
    EXPECT_EQ(report.title, "Café");
}

CheckResult Judged(CheckId id, CheckState state) {
    return CheckResult{id, state, "m", {}, {}, {}};
}

TEST(PageScore, WeighsEachJudgedCheck) {
    using enum CheckState;
    // indexable 5 good, title 3 improve, h1 2 problem, social 1 good, hreflang info:
    // (5 + 1.5 + 0 + 1) / (5 + 3 + 2 + 1) = 68.18 %.
    const std::vector<CheckResult> checks = {
        Judged(CheckId::Indexable, Good), Judged(CheckId::Title, Improve),
        Judged(CheckId::H1, Problem), Judged(CheckId::Social, Good),
        Judged(CheckId::Hreflang, Info)};
    EXPECT_EQ(PageScore(PageRole::Page, checks), 68);
    EXPECT_EQ(PageScore(PageRole::Canonicalized, checks), 68);
    EXPECT_EQ(PageScore(PageRole::Redirect, checks), std::nullopt);
    EXPECT_EQ(PageScore(PageRole::NotIndexed, checks), std::nullopt);
    // Halves round up: one weight-1 improve alone is 50, with one good 75, with three 87.5 -> 88.
    EXPECT_EQ(PageScore(PageRole::Page, std::vector{Judged(CheckId::Social, Improve)}), 50);
    EXPECT_EQ(
        PageScore(PageRole::Page,
                  std::vector{Judged(CheckId::Social, Improve), Judged(CheckId::Language, Good),
                              Judged(CheckId::Headings, Good), Judged(CheckId::Links, Good)}),
        88);
    // Nothing judged: no score.
    EXPECT_EQ(PageScore(PageRole::Page, std::vector{Judged(CheckId::Hreflang, Info)}),
              std::nullopt);
    // Checks defined elsewhere weigh by their names.
    EXPECT_EQ(CheckWeight("broken-links"), 3);
    EXPECT_EQ(CheckWeight("canonical-target"), 2);
    EXPECT_EQ(CheckWeight("robots"), 2);
    EXPECT_EQ(CheckWeight("orphan"), 1);
    EXPECT_EQ(PageRoleName(PageRole::NotIndexed), "not-indexed");
}

TEST(PageRoles, EachRoleAndWhatRuns) {
    const PageCheckReport page = RunPageChecks("<title>T</title><p>x</p>", "p.html", {}, Meter());
    EXPECT_EQ(page.role, PageRole::Page);
    EXPECT_EQ(page.Score(), PageScore(PageRole::Page, page.checks));
    EXPECT_TRUE(page.Score().has_value());

    // A redirect stub runs only indexable, which names the target.
    const PageCheckReport redirect = RunPageChecks(
        "<html><head><title>Moved</title><meta http-equiv=Refresh content=\"0; URL='/new/x.html'\">"
        "</head></html>",
        "old.html", {}, Meter());
    EXPECT_EQ(redirect.role, PageRole::Redirect);
    EXPECT_EQ(redirect.redirectTarget, "/new/x.html");
    ASSERT_EQ(redirect.checks.size(), 1u);
    EXPECT_EQ(redirect.checks[0].id, CheckId::Indexable);
    EXPECT_EQ(redirect.checks[0].state, CheckState::Info);
    EXPECT_EQ(redirect.checks[0].message, "Redirects to /new/x.html.");
    EXPECT_EQ(redirect.checks[0].element->position.line, 1u);
    EXPECT_EQ(redirect.Score(), std::nullopt);
    // A refresh that only reloads is no redirect.
    EXPECT_EQ(RunPageChecks("<meta http-equiv=refresh content=30>", "p.html", {}, Meter()).role,
              PageRole::Page);
    EXPECT_EQ(
        RunPageChecks("<meta http-equiv=refresh content=\"5;url=\">", "p.html", {}, Meter()).role,
        PageRole::Page);
    EXPECT_EQ(
        RunPageChecks("<meta http-equiv=refresh content=\"3, next.html\">", "p.html", {}, Meter())
            .redirectTarget,
        "next.html");

    const PageCheckReport hidden =
        RunPageChecks("<meta name=robots content=noindex><p>x</p>", "p.html", {}, Meter());
    EXPECT_EQ(hidden.role, PageRole::NotIndexed);
    EXPECT_EQ(hidden.Score(), std::nullopt);
    EXPECT_EQ(hidden.checks.size(), 17u);

    // A past unavailable_after is a problem, but the page keeps its role and score.
    const PageCheckReport expired = RunPageChecks(
        "<meta name=robots content=\"unavailable_after: 2001-01-01\">", "p.html", {}, Meter());
    EXPECT_EQ(expired.role, PageRole::Page);
    EXPECT_TRUE(expired.Score().has_value());

    const PageCheckReport pointed =
        RunPageChecks("<link rel=canonical href=other.html><p>x</p>", "site/p.html", {}, Meter());
    EXPECT_EQ(pointed.role, PageRole::Canonicalized);
    EXPECT_TRUE(pointed.Score().has_value());
    // The role does not depend on the canonical check being on.
    PageCheckOptions noCanonical;
    noCanonical.SetEnabled(CheckId::Canonical, false);
    EXPECT_EQ(
        RunPageChecks("<link rel=canonical href=other.html>", "p.html", noCanonical, Meter()).role,
        PageRole::Canonicalized);
}

TEST(DuplicateCheck, KeysIgnoreCaseAndWhiteSpace) {
    EXPECT_EQ(ComparisonKey("  Café\u00A0 BAR\n"), ComparisonKey("café bar"));
    EXPECT_EQ(ComparisonKey("ΩΜΈΓΑ"), ComparisonKey("ωμέγα"));
    EXPECT_NE(ComparisonKey("cafe bar"), ComparisonKey("café bar"));
    const std::vector<std::string> others = {"a.html", "b/c.html"};
    const CheckResult result = DuplicateCheck(CheckId::DuplicateTitle, others, std::nullopt);
    EXPECT_EQ(result.id, CheckId::DuplicateTitle);
    EXPECT_EQ(result.state, CheckState::Improve);
    EXPECT_NE(result.message.find("a.html, b/c.html"), std::string::npos) << result.message;
    EXPECT_EQ(result.values.front().value,
              CheckValue(CheckValue::List{CheckValue("a.html"), CheckValue("b/c.html")}));
}

// Hostile pages give a full result and end in time.
TEST(RunPageChecks, BadInput) {
    std::string nested;
    for (int i = 0; i < 100000; ++i) {
        nested += "<div><h1><a href=x><svg><g><math><mi>";
    }
    const std::string hugeAttribute = "<img alt=\"" + std::string(10 * 1024 * 1024, 'a') +
                                      "\"><title>" + std::string(100000, 'W') + "</title>";
    const std::string pages[] = {
        nested,
        hugeAttribute,
        "<title>x</title><!-- never closed <h1>Heading</h1>",
        "<script>document.write('<h1>x</h1>'); <!-- <script>",
        "<title>\xC3\x28 \xFF\xFE invalid \xED\xA0\x80 UTF-8 \xF4\x90\x80\x80</title>",
        std::string("\0<\0h1\0>\0", 9),
        "<script type=application/ld+json>" + std::string(100000, '{') + "</script>",
        "&#xFFFFFFFFFFFF; &#0; &#xD800; &;&#;&#x;&" + std::string(64, 'a') + ";",
    };
    for (const std::string& page : pages) {
        const PageCheckReport report = RunPageChecks(page, "", {}, Meter());
        EXPECT_EQ(report.checks.size(), 17u);
    }
}

TEST(RunPageChecks, OneMeterForSeveralThreads) {
    const std::string page =
        "<title>Sourdough bread baked every morning in town</title><h1>Bread</h1>";
    const PageCheckReport expected = RunPageChecks(page, "p.html", {}, Meter());
    std::vector<std::thread> threads;
    std::vector<CheckSummary> summaries(4);
    for (std::size_t t = 0; t < summaries.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i) {
                summaries[t] = RunPageChecks(page, "p.html", {}, Meter()).summary;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (const CheckSummary& summary : summaries) {
        EXPECT_EQ(summary, expected.summary);
    }
}

}  // namespace
}  // namespace velmora::page_checks::testing

namespace velmora::page_checks::testing {
namespace {

TEST(RunPageChecks, SiteFactsComeFromTheSamePass) {
    const PageCheckReport report = RunPageChecks(
        "<html><head>\n"
        "<link rel=\"canonical\" href=\" /a.html \"><link rel=canonical href=/b.html>\n"
        "<link rel=\"alternate\" hreflang=\"de\" href=\"/de/\">\n"
        "<meta name=robots content=\"follow, NONE\">\n"
        "<meta http-equiv=refresh content=\"3; URL='/next.html'\">\n"
        "</head><body id=top>\n"
        "<a href=\"x.html#a&amp;b\" name=first>x</a><a name=first></a>\n"
        "<map><area href=\"/map.html\"></map><!-- <a href=hidden.html> -->\n"
        "<svg><a href=\"svg.html\"></a><g id=\"icon\"/></svg><a>no href</a>\n",
        "p.html", {}, Meter());
    const PageSiteFacts& site = report.site;
    const std::vector<LinkOnLine> links{{"x.html#a&b", {7, 1}}, {"/map.html", {8, 6}}};
    EXPECT_EQ(site.links, links);
    EXPECT_EQ(site.ids, (std::vector<std::string>{"top", "first", "icon"}));
    EXPECT_EQ(site.canonical, (LinkOnLine{"/a.html", {2, 1}}));
    ASSERT_EQ(site.alternates.size(), 1u);
    EXPECT_EQ(site.alternates[0], (AlternateOnLine{"de", {"/de/", {3, 1}}}));
    EXPECT_EQ(site.redirect, (LinkOnLine{"/next.html", {5, 1}}));
    EXPECT_TRUE(site.noindex);
    EXPECT_FALSE(
        RunPageChecks("<meta name=robots content=nofollow>", "p.html", {}, Meter()).site.noindex);
}

TEST(RefreshUrl, ReadsTheUrlAsBrowsersDo) {
    const std::pair<std::string_view, std::optional<std::string>> cases[] = {
        {"0; url=/a.html", "/a.html"},
        {"  5 ,URL = \"/b c.html\" trailing", "/b c.html"},
        {"1;https://example.org/", "https://example.org/"},
        {"2.5; url='/q.html", "/q.html"},
        {"10", std::nullopt},
        {"0;", std::nullopt},
        {"; url=/no-delay.html", std::nullopt},
        {"3 /plain.html", "/plain.html"},
        {"", std::nullopt},
        {"x; url=/a.html", std::nullopt},
    };
    for (const auto& [content, url] : cases) {
        EXPECT_EQ(RefreshUrl(content), url) << content;
    }
}

}  // namespace
}  // namespace velmora::page_checks::testing
