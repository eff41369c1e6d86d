// The site checks in one run and in the second pass over JSON Lines, and what bad input does
// to them.

#include <functional>
#include <map>

#include "cli/page_review.h"
#include "cli/report_spill.h"
#include "cli/site_lines.h"
#include "document/velmora_data.h"
#include "page_checks/text_width.h"
#include "tests/cli/cli_test_fixture.h"

namespace velmora::test {
namespace {

using SiteChecks = VelmoraCli;

const std::string kSite = std::string(VELMORA_EXAMPLES) + "/site";
const std::string kBase = "https://bakery.example/";

bool IsSiteCheck(const std::string& id) {
    static const std::set<std::string> ids = {"duplicate-title",
                                              "duplicate-description",
                                              "broken-links",
                                              "broken-fragments",
                                              "canonical-target",
                                              "hreflang-return",
                                              "orphan",
                                              "sitemap",
                                              "robots"};
    return ids.contains(id);
}

// Each file's site results from a one-run JSON Lines output, with the sitemap's record.
std::map<std::string, Json> SiteResultsOfOneRun(const std::string& out) {
    std::map<std::string, Json> results;
    for (const Json& line : JsonLines(out)) {
        Json checks = Json::array();
        for (const Json& check : line["checks"]) {
            if (!line.contains("format") || IsSiteCheck(check["id"].get<std::string>())) {
                checks.push_back(check);
            }
        }
        if (!checks.empty()) {
            results[line["file"].get<std::string>()] = checks;
        }
    }
    return results;
}

std::string StatesOf(const Json& checks) {
    std::string states;
    for (const Json& check : checks) {
        states += check["id"].get<std::string>() + "=" + check["state"].get<std::string>() + " ";
    }
    return states;
}

TEST_F(SiteChecks, TwoPassesOverPartsOfTheSiteEqualOneRun) {
    const RunResult one = Run({"analyze", "--json", "--defaults", "--base-url", kBase, kSite});
    ASSERT_EQ(one.code, 0) << one.err;
    const std::map<std::string, Json> expected = SiteResultsOfOneRun(one.out);

    // Two machines, each with part of the pages and the same addresses.
    std::vector<std::string> first = {"analyze", "--json",     "--defaults", "--root",
                                      kSite,     "--base-url", kBase};
    std::vector<std::string> second = first;
    bool toFirst = true;
    for (const Json& line : JsonLines(one.out)) {
        if (line.contains("format")) {
            (toFirst ? first : second).push_back(line["file"].get<std::string>());
            toFirst = !toFirst;
        }
    }
    const RunResult a = Run(first);
    const RunResult b = Run(second);
    ASSERT_EQ(a.code, 0) << a.err;
    ASSERT_EQ(b.code, 0) << b.err;
    const std::string partA = Page("a.jsonl", a.out).string();
    const std::string partB = Page("b.jsonl", b.out).string();
    const RunResult joined =
        Run({"site", "--json", "--defaults", "--root", kSite, "--base-url", kBase, partA, partB});
    ASSERT_EQ(joined.code, 0) << joined.err;
    std::map<std::string, Json> twoPass;
    for (const Json& record : JsonLines(joined.out)) {
        twoPass[record["file"].get<std::string>()] = record["checks"];
    }
    EXPECT_EQ(twoPass, expected);

    // The example site shows each check in a state worth fixing once.
    EXPECT_EQ(StatesOf(expected.at(kSite + "/news.html")),
              "duplicate-title=improve broken-links=problem broken-fragments=improve "
              "orphan=good sitemap=good robots=good ");
    EXPECT_EQ(expected.at(kSite + "/news.html")[1]["elements"][0]["text"], "/old-news.html");
    EXPECT_EQ(expected.at(kSite + "/news.html")[1]["elements"][0]["line"], 12);
    EXPECT_EQ(StatesOf(expected.at(kSite + "/print.html")),
              "broken-links=good canonical-target=problem ");
    EXPECT_EQ(StatesOf(expected.at(kSite + "/private/draft.html")),
              "broken-links=good robots=problem ");
    EXPECT_EQ(StatesOf(expected.at(kSite + "/sitemap.xml")), "sitemap=problem ");
    EXPECT_NE(StatesOf(expected.at(kSite + "/en.html")).find("hreflang-return=improve"),
              std::string::npos);
    EXPECT_NE(StatesOf(expected.at(kSite + "/lonely.html")).find("orphan=improve sitemap=info"),
              std::string::npos);
}

TEST_F(SiteChecks, EveryFormatShowsTheElementsWithTheirLines) {
    const RunResult github = Run({"analyze", "--format", "github", "--defaults", kSite});
    EXPECT_NE(github.out.find("news.html,line=12,col=8,title=Broken links::"), std::string::npos)
        << github.out;
    const RunResult text = Run({"analyze", "--defaults", kSite});
    EXPECT_NE(text.out.find("problem broken-links: 1 internal link leads to no file of the site"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("            line 12: /old-news.html\n"), std::string::npos);
    const RunResult sarif = Run({"analyze", "--format", "sarif", "--defaults", kSite});
    EXPECT_NE(sarif.out.find("\"ruleId\":\"check/broken-links\""), std::string::npos);
    EXPECT_NE(sarif.out.find("\"ruleId\":\"check/sitemap\""), std::string::npos);
    // The sitemap's own results are counted as a page's are.
    const RunResult listed = Run({"analyze", "--format", "compact", "--defaults", kSite});
    EXPECT_NE(listed.out.find("sitemap.xml:12:1: problem sitemap: "), std::string::npos)
        << listed.out;
    std::size_t problems = 0;
    for (std::size_t at = 0; (at = listed.out.find(": problem ", at)) != std::string::npos; ++at) {
        ++problems;
    }
    EXPECT_NE(listed.out.find("\n" + std::to_string(problems) + " problem, "), std::string::npos)
        << listed.out;

    // The second pass, in the forms CI reads.
    const RunResult lines = Run({"analyze", "--json", "--defaults", kSite});
    std::size_t pages = 0;
    for (const Json& line : JsonLines(lines.out)) {
        pages += line.contains("format") ? 1 : 0;
    }
    // The sitemap is no page.
    EXPECT_TRUE(listed.out.ends_with(" in " + std::to_string(pages) + " pages\n")) << listed.out;
    const std::string jsonl = Page("site.jsonl", lines.out).string();
    const std::string summary = (root_ / "summary.md").string();
    ::setenv("GITHUB_STEP_SUMMARY", summary.c_str(), 1);
    const RunResult annotated =
        Run({"site", "--format", "github", "--defaults", "--root", kSite, jsonl});
    ::unsetenv("GITHUB_STEP_SUMMARY");
    EXPECT_NE(annotated.out.find("news.html,line=12,col=8,title=Broken links::"), std::string::npos)
        << annotated.out;
    EXPECT_NE(ReadBytes(summary).find("news.html | 1 |"), std::string::npos) << ReadBytes(summary);
    const RunResult quiet = Run({"site", "--quiet", "--defaults", "--root", kSite, jsonl});
    EXPECT_NE(quiet.out.find("    problem broken-links: "), std::string::npos) << quiet.out;
    EXPECT_EQ(quiet.out.find("improve "), std::string::npos) << quiet.out;
    EXPECT_EQ(quiet.out.find("Site checks:"), std::string::npos) << quiet.out;
    const RunResult compact =
        Run({"site", "--format", "compact", "--defaults", "--root", kSite, jsonl});
    EXPECT_NE(compact.out.find("news.html:12:8: problem broken-links: "), std::string::npos)
        << compact.out;
    EXPECT_NE(compact.out.find(" problem, "), std::string::npos);

    // A baseline of the whole run leaves nothing new in either pass, the sitemap's included.
    const RunResult baselined =
        Run({"analyze", "--format", "compact", "--defaults", "--baseline", jsonl, kSite});
    EXPECT_EQ(baselined.out.find("sitemap.xml"), std::string::npos) << baselined.out;
    EXPECT_EQ(baselined.out.find(": problem "), std::string::npos) << baselined.out;
    const RunResult secondPass = Run(
        {"site", "--format", "compact", "--defaults", "--root", kSite, "--baseline", jsonl, jsonl});
    EXPECT_EQ(secondPass.out.find(": problem "), std::string::npos) << secondPass.out;
    EXPECT_EQ(secondPass.out.find(": improve "), std::string::npos) << secondPass.out;
}

TEST_F(SiteChecks, TheHtmlReportHasASiteSection) {
    const std::string html = (root_ / "report.html").string();
    const RunResult report = Run({"report", "--defaults", "--base-url", kBase, "-o", html, kSite});
    ASSERT_EQ(report.code, 0) << report.err;
    const std::string text = ReadBytes(html);
    const std::size_t site = text.find("<h2 id=\"site-caption\">Site</h2>");
    ASSERT_NE(site, std::string::npos);
    for (const std::string& shown : std::vector<std::string>{
             "<h3>Broken links by target</h3>",
             "<code>/old-news.html</code> from " + kSite + "/news.html", "<h3>Orphans</h3>",
             kSite + "/lonely.html", "<h3>Canonical and hreflang</h3>",
             "/redirect.html, which redirects", "<h3>Sitemap and robots.txt</h3>",
             "https://bakery.example/gone.html", "never read its noindex"}) {
        EXPECT_NE(text.find(shown, site), std::string::npos) << shown;
    }
    // Without a root no page has a path, and the section is left out.
    const RunResult plain =
        Run({"report", "--defaults", "-o", html, kSite + "/news.html", kSite + "/about.html"});
    ASSERT_EQ(plain.code, 0) << plain.err;
    EXPECT_EQ(ReadBytes(html).find("site-caption"), std::string::npos);
}

TEST_F(SiteChecks, BadInputIsNamedAndPassedOver) {
    const RunResult one = Run({"analyze", "--json", "--defaults", kSite});
    std::string lines = "{\"file\": 1}\n{not json\n\n";
    lines += one.out;
    lines += "{\"format\": 1, \"file\": \"x.html\", \"site\": {\"path\": 5}}\n";
    lines += "{\"format\": 1, \"file\": \"y.html\", \"suppressions\": [{\"line\": 2}]}\n";
    lines +=
        "{\"format\": 1, \"file\": \"z.html\", \"suppressions\": [{\"id\": \"orphan\", "
        "\"line\": 0}]}\n";
    const std::string jsonl = Page("runs.jsonl", lines).string();
    const RunResult joined =
        Run({"site", "--defaults", "--root", kSite, jsonl, (root_ / "missing.jsonl").string()});
    EXPECT_EQ(joined.code, 3);
    EXPECT_NE(joined.err.find(jsonl + ":1: not a page"), std::string::npos) << joined.err;
    EXPECT_NE(joined.err.find(jsonl + ":2: "), std::string::npos);
    EXPECT_NE(joined.err.find("missing.jsonl: No such file or directory"), std::string::npos);
    EXPECT_NE(joined.err.find("\"path\" of the site object is no text"), std::string::npos);
    EXPECT_NE(joined.err.find("a suppression has no \"id\""), std::string::npos) << joined.err;
    EXPECT_NE(joined.err.find("the \"line\" of a suppression is no line"), std::string::npos);
    EXPECT_NE(joined.out.find("broken-links"), std::string::npos);
    // The SARIF log does not call such a run a success, and names what failed.
    const RunResult sarif = Run({"site", "--format", "sarif", "--defaults", "--root", kSite, jsonl,
                                 (root_ / "missing.jsonl").string()});
    EXPECT_EQ(sarif.code, 3);
    const Json invocation = Json::parse(sarif.out)["runs"][0]["invocations"][0];
    EXPECT_EQ(invocation["executionSuccessful"], false);
    std::string notified;
    for (const Json& notification : invocation["toolExecutionNotifications"]) {
        notified += notification["message"]["text"].get<std::string>() + "\n";
    }
    EXPECT_NE(notified.find("runs.jsonl:1: not a page"), std::string::npos) << notified;
    EXPECT_NE(notified.find("could not be opened"), std::string::npos) << notified;

    EXPECT_EQ(Run({"analyze", "--base-url", "example.org", kSite}).code, 2);
    const std::string dtd =
        Page("dtd.xml", "<!DOCTYPE urlset [<!ENTITY a \"b\">]><urlset/>").string();
    const RunResult refused = Run({"analyze", "--json", "--defaults", "--sitemap", dtd, kSite});
    EXPECT_EQ(refused.code, 3);
    EXPECT_NE(refused.err.find(dtd + ": a sitemap may not hold a document type declaration"),
              std::string::npos)
        << refused.err;
}

// A line as read, with its texts spelled out, or the reason it was refused.
std::string Reading(
    const std::function<std::optional<cli::SiteLine>(site_checks::TextPool&)>& read) {
    site_checks::TextPool texts;
    std::optional<cli::SiteLine> line;
    try {
        line = read(texts);
    } catch (const std::exception& error) {
        return std::string("refused: ") + error.what();
    }
    if (!line) {
        return "no page";
    }
    const auto text = [&](site_checks::TextId id) {
        return id == site_checks::kNoText ? std::string("-")
                                          : "'" + std::string(texts.Text(id)) + "'";
    };
    const auto address = [&](const std::optional<site_checks::SiteAddress>& a) {
        return a ? text(a->href) + ">" + text(a->to) + "@" + std::to_string(a->line) + ":" +
                       std::to_string(a->column)
                 : std::string("none");
    };
    const site_checks::SitePage& page = line->page;
    std::string said = page.file + " path " + text(page.path) + " links";
    for (const site_checks::SiteLink& link : page.links) {
        said += " " + text(link.href) + ">" + text(link.to) + "#" + text(link.fragment) + "@" +
                std::to_string(link.line) + ":" + std::to_string(link.column);
    }
    said += " ids";
    for (const site_checks::TextId id : page.ids) {
        said += " " + text(id);
    }
    said += " canonical " + address(page.canonical) + " redirect " + address(page.redirect);
    for (const site_checks::SiteAlternate& alternate : page.alternates) {
        said += " alternate " + text(alternate.hreflang) + " " + address(alternate.address);
    }
    said += page.noindex ? " noindex" : "";
    said += " title " + page.title.value_or("-") + " description " + page.description.value_or("-");
    for (const auto& element : {page.titleElement, page.descriptionElement}) {
        said += element ? " at " + std::to_string(element->position.line) + ":" +
                              std::to_string(element->position.column) + " " + element->text
                        : " nowhere";
    }
    for (const std::size_t rule : line->suppressions.pageRules) {
        said += " off " + std::to_string(rule);
    }
    for (const cli::LineSuppression& rule : line->suppressions.lineRules) {
        said += " off " + std::to_string(rule.rule) + "@" + std::to_string(rule.line);
    }
    return said;
}

TEST_F(SiteChecks, TheFastLineReaderReadsAsTheGeneralOne) {
    const RunResult one = Run({"analyze", "--json", "--defaults", "--base-url", kBase, kSite});
    ASSERT_EQ(one.code, 0) << one.err;
    cli::SiteLineReader reader;
    std::size_t lines = 0;
    for (std::size_t start = 0; start < one.out.size(); ++lines) {
        const std::size_t end = one.out.find('\n', start);
        std::string line = one.out.substr(start, end - start);
        start = end + 1;
        const std::string general =
            Reading([&](site_checks::TextPool& texts) { return cli::ReadSiteLine(line, texts); });
        // What analyze writes never needs the general reader.
        EXPECT_EQ(Reading([&](site_checks::TextPool& texts) {
                      std::optional<std::optional<cli::SiteLine>> fast =
                          reader.ReadFast(line, texts);
                      if (!fast) {
                          throw std::runtime_error("left to the general reader");
                      }
                      return std::move(*fast);
                  }),
                  general);
    }
    EXPECT_GT(lines, 10u);

    const std::string site =
        R"("site": {"path": "/a.html", "links": [{"href": "b.html#x", "to": "/b.html", )"
        R"("fragment": "x", "line": 4, "column": 2}], "ids": ["x"], "canonical": null, )"
        R"("canonical_element": null, "alternates": [], "redirect": null, )"
        R"("redirect_element": null, "noindex": false})";
    const std::string noLinks =
        R"({"format": 1, "file": "a", "site": {"path": null, "ids": [], "alternates": [], )"
        R"("noindex": true, "links": [{"href": "x", "to": null, "fragment": null, "line": )";
    const std::vector<std::string> unusual = {
        // Repeated keys (the last counts), escapes, a title from the review's field.
        R"({"format": 1, "file": "a", "file": "b\u00e9\ud83d\ude00", "title": "T\"t", )" + site +
            "}",
        // Numbers that are no line, a signed zero among them.
        noLinks + "4294967296}]}}",
        noLinks + "-0}]}}",
        noLinks + "3.0}]}}",
        noLinks + "4294967295}]}}",
        R"({"format": 1, "file": "a-0", "site": {"path": "-0", "links": [], "ids": ["-0"], )"
        R"("alternates": [], "noindex": false}})",
        // Checks compared by their own text and position, one with an id of the wrong type.
        R"({"format": 1, "file": "a", "title": "field", "checks": [5, {"id": "x"}, )"
        R"({"id": "title", "values": {"text": "own"}, "line": 3, "column": 9}, {"id": 7}]})",
        R"({"format": 1, "file": "a", "checks": [{"id": null}, {"id": "title"}]})",
        R"({"format": 1, "file": "a", "description": "d", "checks": [{"id": "description", )"
        R"("values": {"text": ""}, "line": 3}]})",
        // Suppressions: known, unknown, per line, and wrong.
        R"({"format": 1, "file": "a", "suppressions": [{"id": "orphan"}, {"id": "nothing", )"
        R"("line": -4}, {"id": "broken-links", "line": 12}]})",
        R"({"format": 1, "file": "a", "suppressions": [{"id": "orphan", "line": 0}]})",
        R"({"format": 1, "file": "a", "suppressions": {}})",
        // Canonical and refresh elements, with and without what they resolve to.
        R"({"format": 1, "file": "a", "site": {"path": "/a", "links": [], "ids": [], )"
        R"("canonical": "/c", "canonical_element": {"href": "c", "line": 2}, "alternates": )"
        R"([{"hreflang": "de", "href": "d", "to": null}], "redirect": "/r", )"
        R"("redirect_element": {"href": "r"}, "noindex": false}})",
        R"({"format": 1, "file": "a", "site": {"path": "/a", "links": [], "ids": [], )"
        R"("canonical_element": {"href": "c"}, "alternates": [], "noindex": false}})",
        R"({"format": 1, "file": "a", "site": {"path": "/a", "links": [], "ids": [], )"
        R"("alternates": [], "noindex": "no"}})",
        // Records that are no pages, and lines that are no JSON or no object.
        R"({"file": "sitemap.xml", "checks": []})",
        R"({"format": 1, "file": 3})",
        R"({"format": 1, "file": "a", "site": null})",
        R"({"format": 1, "file": "a"} x)",
        "\xEF\xBB\xBF"
        R"({"format": 1, "file": "bom"})",
        "[1, 2]",
        R"({"format": 1, "file": "a", "site": {"path": "/a\ud800"}})",
    };
    for (std::string line : unusual) {
        EXPECT_EQ(
            Reading([&](site_checks::TextPool& texts) { return reader.Read(line, texts); }),
            Reading([&](site_checks::TextPool& texts) { return cli::ReadSiteLine(line, texts); }))
            << line;
    }
}

TEST_F(SiteChecks, ReportsKeptOnDiskComeBackWhole) {
    KelVelmoraData document(SystemLocalTime, KelVelmoraData::Analysis::Reported);
    const page_checks::TextWidthMeter meter;
    cli::SiteSetup setup;
    setup.root = kSite;
    const std::string suppressed =
        Page("kept.html",
             "<!-- velmora-disable orphan -->\n<!-- velmora-disable nothing -->\n<title>Kept "
             "\xC3\xA9</title>\n<meta name=description content=\"d\">\n<!-- "
             "velmora-disable-next-line images -->\n<img src=a.png><a href=\"#x\">x</a>")
            .string();
    cli::ReportSpill spill;
    std::vector<std::pair<cli::ReportSpill::Place, std::string>> kept;
    for (const std::string& file : {kSite + "/news.html", kSite + "/en.html", kSite + "/print.html",
                                    suppressed, (root_ / "missing.html").string()}) {
        const cli::ReviewedPage page =
            cli::ReviewPage({cli::PageInput::Kind::Page, file, "", "", "focus"}, document,
                            KelVelmoraOptions(), PageCheckOptions(), setup, {}, meter);
        const std::string packed = cli::PackedPage(page);
        kept.emplace_back(spill.Write(page), packed);
        EXPECT_EQ(cli::PackedPage(cli::UnpackedPage(packed)), packed) << file;
    }
    // Read back in another order, as the threads that format them do.
    for (std::size_t i = kept.size(); i-- > 0;) {
        const cli::ReviewedPage page = spill.Read(kept[i].first);
        EXPECT_EQ(cli::PackedPage(page), kept[i].second);
        EXPECT_EQ(page.report.has_value(), i + 1 < kept.size());
    }
    const std::string& whole = kept[0].second;
    EXPECT_THROW(cli::UnpackedPage(std::string_view(whole).substr(0, whole.size() - 1)),
                 std::runtime_error);
    EXPECT_THROW(cli::UnpackedPage(whole + "x"), std::runtime_error);
}

TEST_F(SiteChecks, LinksNeverLeaveTheRoot) {
    Page("outside/secret.html", "<title>secret</title>");
    Page("site/index.html",
         "<a href=\"../outside/secret.html\">a</a><a href=\"/../../outside/secret.html\">b</a>"
         "<a href=\"%2e%2e/outside/secret.html\">c</a><a href=\"escape.html\">d</a>"
         "<a href=\"inside.html\">e</a><a href=\"folder/\">f</a>");
    Page("site/inside.html", "<a href=index.html>home</a>");
    std::filesystem::create_directory(root_ / "site/folder");
    std::filesystem::create_symlink(root_ / "outside/secret.html", root_ / "site/escape.html");
    const RunResult run = Run({"analyze", "--json", "--defaults", (root_ / "site").string()});
    ASSERT_EQ(run.code, 0) << run.err;
    // The folder walk takes the link to a page outside as a page; as a link's target it is not
    // followed.
    const std::vector<Json> pages = JsonLines(run.out);
    ASSERT_EQ(pages.size(), 3u);
    ASSERT_EQ(pages[1]["site"]["path"], "/index.html");
    std::vector<std::string> broken;
    for (const Json& check : pages[1]["checks"]) {
        if (check["id"] == "broken-links") {
            for (const Json& element : check["elements"]) {
                broken.push_back(element["text"].get<std::string>());
            }
        }
    }
    EXPECT_EQ(broken,
              (std::vector<std::string>{"../outside/secret.html", "/../../outside/secret.html",
                                        "%2e%2e/outside/secret.html", "escape.html", "folder/"}));
    EXPECT_EQ(pages[1]["site"]["links"][0]["to"], "/outside/secret.html");
}

}  // namespace
}  // namespace velmora::test
