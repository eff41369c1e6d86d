// The site report's HTML: hostile page text stays text, the embedded data survives the trip
// through the script element, the file names nothing outside itself, and the checks are explained
// in the same words as on the desktop and in the manual page.

#include "cli/site_report_html.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "cli/html_text.h"
#include "options/page_check_options.h"
#include "page_checks/check_guidance.h"

namespace velmora::cli {
namespace {

using Json = nlohmann::json;

std::size_t Occurrences(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

// The text of <script type="application/json" id="report-data">.
std::string EmbeddedData(const std::string& html) {
    const std::string open = "<script type=\"application/json\" id=\"report-data\">";
    const std::size_t begin = html.find(open);
    EXPECT_NE(begin, std::string::npos);
    const std::size_t start = begin + open.size();
    return html.substr(start, html.find("</script>", start) - start);
}

TEST(HtmlText, EscapesMarkupQuotesAndControls) {
    EXPECT_EQ(EscapeHtml("<script>alert(\"x\" + 'y')</script> & co"),
              "&lt;script&gt;alert(&quot;x&quot; + &#39;y&#39;)&lt;/script&gt; &amp; co");
    // Tab, LF and CR are allowed in HTML text; other controls become their pictures.
    EXPECT_EQ(EscapeHtml(std::string("a\tb\nc\rd\x01"
                                     "e\x7F"
                                     "f\0g",
                                     13)),
              "a\tb\nc\rd\xE2\x90\x81"
              "e\xE2\x90\xA1"
              "f\xE2\x90\x80g");
    // C1 controls and bytes outside valid UTF-8 (a file name) become U+FFFD, one per byte.
    EXPECT_EQ(EscapeHtml("x\xC2\x85y\xFFz\xE2\x82"),
              "x\xEF\xBF\xBDy\xEF\xBF\xBDz\xEF\xBF\xBD\xEF\xBF\xBD");
    // Valid text passes: accents, CJK, emoji, NBSP and the line separators.
    const std::string valid = "caf\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\x98\x80 \xC2\xA0\xE2\x80\xA8";
    EXPECT_EQ(EscapeHtml(valid), valid);
}

TEST(HtmlText, JsonInAScriptElementCannotEndItAndKeepsItsValue) {
    const Json value = {{"title", "</script><script>alert(1)</script><!-- & -->"},
                        {"lines",
                         "a\xE2\x80\xA8"
                         "b\xE2\x80\xA9"
                         "c"},
                        {"near", "\xE2\x80\xA7\xE2\x80\xAA"}};
    const std::string safe = EscapeJsonForScript(value.dump());
    EXPECT_EQ(safe.find('<'), std::string::npos);
    EXPECT_EQ(safe.find('>'), std::string::npos);
    EXPECT_EQ(safe.find("\xE2\x80\xA8"), std::string::npos);
    EXPECT_EQ(safe.find("\xE2\x80\xA9"), std::string::npos);
    EXPECT_NE(safe.find("\xE2\x80\xA7"), std::string::npos);  // neighbours are left alone
    EXPECT_EQ(Json::parse(safe), value);
}

class SiteReportHtml : public ::testing::Test {
protected:
    static SiteReportPage HostilePage() {
        SiteReportPage page;
        page.file = "pages/<img src=x onerror=alert(1)>\xFF.html";
        page.title = "</script><script>alert('title')</script>\xE2\x80\xA8";
        page.description = "\"quoted\" & <b>bold</b>\x01";
        page.rating = 42.0f;
        page.ratingText = " 42%";
        page.problems = 2;
        page.improve = 1;
        page.advice = {{"No <keywords>", "Add \"some\" keywords"}};
        page.checks = {{"title", "problem", "Title <b>too</b> long"}};
        return page;
    }
};

TEST_F(SiteReportHtml, HostileTextStaysTextInRowsAndData) {
    SiteReportPage plain;
    plain.file = "index.html";
    plain.rating = 95.0f;
    const SiteReport report = BuildSiteReport({HostilePage(), plain});
    const std::string html = RenderSiteReport(report);

    // Only the report's own two script elements exist, and nothing the page wrote is markup.
    EXPECT_EQ(Occurrences(html, "<script"), 2u);
    EXPECT_EQ(Occurrences(html, "</script>"), 2u);
    EXPECT_EQ(html.find("<img"), std::string::npos);
    EXPECT_EQ(html.find("<b>"), std::string::npos);
    EXPECT_EQ(html.find("\xFF"), std::string::npos);
    EXPECT_NE(html.find("&lt;img src=x onerror=alert(1)&gt;\xEF\xBF\xBD.html"), std::string::npos);
    EXPECT_NE(html.find("&lt;/script&gt;&lt;script&gt;alert(&#39;title&#39;)"), std::string::npos);
    EXPECT_EQ(Occurrences(html, "<tr class=\"page\""), 2u);

    const Json data = Json::parse(EmbeddedData(html));
    ASSERT_EQ(data["pages"].size(), 2u);
    const Json& page = data["pages"][0];
    EXPECT_EQ(page["title"], HostilePage().title);
    EXPECT_EQ(page["description"], HostilePage().description);
    EXPECT_EQ(page["file"], "pages/<img src=x onerror=alert(1)>\xEF\xBF\xBD.html");
    // Advice and checks name their texts by index, each text once for all pages.
    const Json& texts = data["texts"];
    EXPECT_EQ(texts[page["advice"][0][0].get<std::size_t>()], "No <keywords>");
    EXPECT_EQ(texts[page["advice"][0][1].get<std::size_t>()], "Add \"some\" keywords");
    EXPECT_EQ(texts[page["checks"][0][1].get<std::size_t>()], "problem");
    EXPECT_EQ(texts[page["checks"][0][2].get<std::size_t>()], "Title <b>too</b> long");
    EXPECT_EQ(data["pages"][1]["checks"].size(), 0u);
    EXPECT_EQ(page["ratingText"], "42%");
    EXPECT_EQ(page["problems"], 2);
}

// The counts of one histogram's bars, in bin order.
std::vector<std::string> BinCounts(const std::string& html, const std::string& kind) {
    const std::size_t from = html.find("<svg class=\"chart histogram " + kind + "\"");
    const std::string svg = html.substr(from, html.find("</svg>", from) - from);
    const std::regex bin(R"re(<rect class="bar bin-(\d)" data-bin="[^"]+" data-count="(\d+)")re");
    std::vector<std::string> counts;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), bin); it != std::sregex_iterator();
         ++it) {
        counts.push_back((*it)[2]);
    }
    return counts;
}

TEST_F(SiteReportHtml, ChartBarsCarryTheCounts) {
    SiteReportPage low = HostilePage();
    low.rating = 12.0f;
    low.score = 9;
    SiteReportPage high = HostilePage();
    high.score = 100;
    SiteReportPage redirect = HostilePage();
    redirect.role = page_checks::PageRole::Redirect;
    const SiteReport report = BuildSiteReport({HostilePage(), HostilePage(), low, high, redirect});
    const std::string html = RenderSiteReport(report);

    EXPECT_EQ(BinCounts(html, "ratings"),
              (std::vector<std::string>{"0", "1", "0", "0", "4", "0", "0", "0", "0", "0"}));
    // Scores: 9 and 100 are in the first and the last bin; three pages have none.
    EXPECT_EQ(BinCounts(html, "scores"),
              (std::vector<std::string>{"1", "0", "0", "0", "0", "0", "0", "0", "0", "1"}));
    EXPECT_NE(html.find("3 pages have no score: redirects and pages not indexed."),
              std::string::npos);

    // The finding bars name their kind and label, escaped.
    EXPECT_NE(html.find("data-kind=\"problem\" data-label=\"title\" data-count=\"5\""),
              std::string::npos);
    EXPECT_NE(html.find("data-kind=\"advice\" data-label=\"No &lt;keywords&gt;\" data-count=\"5\""),
              std::string::npos);
}

// Lowest score first and the pages without one after, named by their role; the faults that
// most pages share lead the report.
TEST_F(SiteReportHtml, PagesSortByScoreAndTemplateWideFaultsComeFirst) {
    std::vector<SiteReportPage> pages;
    for (const auto& [file, score, role] :
         std::vector<std::tuple<std::string, std::optional<int>, page_checks::PageRole>>{
             {"high.html", 90, page_checks::PageRole::Page},
             {"moved.html", std::nullopt, page_checks::PageRole::Redirect},
             {"low.html", 40, page_checks::PageRole::Page},
             {"hidden.html", std::nullopt, page_checks::PageRole::NotIndexed},
             {"also-low.html", 40, page_checks::PageRole::Canonicalized}}) {
        SiteReportPage page;
        page.file = file;
        page.score = score;
        page.role = role;
        page.faults = {"og:image missing"};
        if (file == "low.html") {
            page.faults.push_back("h1: problem");
        }
        pages.push_back(page);
    }
    const SiteReport report = BuildSiteReport(pages);
    std::vector<std::string> order;
    for (const SiteReportPage& page : report.pages) {
        order.push_back(page.file);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"low.html", "also-low.html", "high.html",
                                               "moved.html", "hidden.html"}));
    // The redirect's checks did not run, so four pages count.
    EXPECT_EQ(report.templateWide, (std::vector<TemplateWideFault>{{"og:image missing", 4, 4}}));

    const std::string html = RenderSiteReport(report);
    const std::size_t group = html.find(
        "<li data-pages=\"4\">og:image missing on 4 of 4 pages: likely the template; fix it "
        "once</li>");
    ASSERT_NE(group, std::string::npos) << html;
    EXPECT_LT(group, html.find("score-histogram"));
    EXPECT_NE(html.find("<td role=\"cell\" class=\"num score rating-bin-4\">40</td>"),
              std::string::npos);
    EXPECT_NE(html.find("<td role=\"cell\" class=\"num score none\">redirect</td>"),
              std::string::npos);
    EXPECT_NE(
        html.find(
            "aria-sort=\"ascending\" class=\"num\"><button type=\"button\" data-key=\"score\">"),
        std::string::npos);
    const Json data = Json::parse(EmbeddedData(html));
    EXPECT_EQ(data["pages"][0]["score"], 40);
    EXPECT_EQ(data["pages"][0]["role"], "page");
    EXPECT_TRUE(data["pages"][3]["score"].is_null());
    EXPECT_EQ(data["pages"][3]["role"], "redirect");
}

TEST_F(SiteReportHtml, TextsRepeatedAcrossPagesAreStoredOnce) {
    const Json data = Json::parse(
        EmbeddedData(RenderSiteReport(BuildSiteReport({HostilePage(), HostilePage()}))));
    const Json& texts = data["texts"];
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Title <b>too</b> long"), 1);
    EXPECT_EQ(data["pages"][0]["checks"], data["pages"][1]["checks"]);
}

TEST_F(SiteReportHtml, NamesNothingOutsideTheFile) {
    const std::string html = RenderSiteReport(BuildSiteReport({HostilePage()}));
    const std::regex external(R"(<[^>]*\s(src|href)\s*=|url\(|@import|https?:)", std::regex::icase);
    EXPECT_FALSE(std::regex_search(html, external));
    EXPECT_NE(html.find("default-src 'none'"), std::string::npos);
}

TEST_F(SiteReportHtml, AReportWithoutPagesStillRenders) {
    const std::string html = RenderSiteReport(BuildSiteReport({}));
    EXPECT_NE(html.find("No page has a problem"), std::string::npos);
    EXPECT_EQ(Json::parse(EmbeddedData(html))["pages"].size(), 0u);
    EXPECT_EQ(Occurrences(html, "data-count=\"0\""), kScoreBins + kRatingBins);
    EXPECT_EQ(html.find("template-caption"), std::string::npos);
    EXPECT_EQ(html.find("no score:"), std::string::npos);
    EXPECT_EQ(html.find("guidance-caption"), std::string::npos);
}

// The checks' guidance has one source, which the desktop's detail pane reads; the report and the
// manual page give the same words.
TEST_F(SiteReportHtml, ExplainsEachCheckThatFoundSomethingInTheDesktopsWords) {
    SiteReportPage page = HostilePage();
    page.checks.push_back({"images", "improve", "2 images without alt"});
    page.checks.push_back({"viewport", "good", "Viewport set"});
    page.checks.push_back({"no-such-check", "problem", "?"});
    const std::string html = RenderSiteReport(BuildSiteReport({page}));
    for (const CheckId id : {CheckId::Title, CheckId::Images}) {
        const page_checks::CheckGuidance& guidance = page_checks::GuidanceFor(id);
        EXPECT_NE(html.find("<dd><p>" + EscapeHtml(guidance.why) + "</p><p>" +
                            EscapeHtml(guidance.how) + "</p></dd>"),
                  std::string::npos);
    }
    EXPECT_EQ(html.find(EscapeHtml(page_checks::GuidanceFor(CheckId::Viewport).why)),
              std::string::npos);
    EXPECT_LT(html.find("<code>title</code>"), html.find("<code>images</code>"));
}

// Each check's entry under PAGE CHECKS: its name, then its text lines joined by spaces.
std::vector<std::pair<std::string, std::string>> ManualPageChecks(const std::string& manual) {
    std::vector<std::pair<std::string, std::string>> entries;
    const std::size_t begin = manual.find("\n.Sh PAGE CHECKS\n");
    std::istringstream lines(manual.substr(begin, manual.find("\n.El\n", begin) - begin));
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(".It Cm ")) {
            entries.emplace_back(line.substr(7), std::string());
        } else if (!entries.empty() && !line.starts_with('.')) {
            std::string& text = entries.back().second;
            text += (text.empty() ? "" : " ") +
                    std::regex_replace(line, std::regex(R"(\\\[u2026\])"), "\u2026");
        }
    }
    return entries;
}

TEST(CheckGuidance, TheManualPageGivesEveryCheckTheDesktopsWords) {
    std::ifstream file(VELMORA_MAN_PAGE);
    const std::string manual{std::istreambuf_iterator<char>(file), {}};
    const auto entries = ManualPageChecks(manual);
    ASSERT_EQ(entries.size(), kCheckCount);
    for (std::size_t i = 0; i < kCheckCount; ++i) {
        const auto id = static_cast<CheckId>(i);
        const page_checks::CheckGuidance& guidance = page_checks::GuidanceFor(id);
        EXPECT_EQ(entries[i].first, CheckIdName(id));
        EXPECT_EQ(entries[i].second, std::string(guidance.why) + " " + std::string(guidance.how));
    }
}

}  // namespace
}  // namespace velmora::cli
