// analyze --format sarif and --format github, and the line and column of findings in the JSON:
// the output read back as its readers read it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/file_check_list.h"
#include "cli/github_report.h"
#include "cli/page_report.h"
#include "cli/report_path.h"
#include "cli/report_rules.h"
#include "cli/sarif_report.h"
#include "tests/cli/cli_test_fixture.h"

namespace velmora::test {
namespace {

namespace fs = std::filesystem;
using cli::PathFromWorkingFolder;
using cli::PathUri;

// Two images without alt (one src twice), a skipped heading and keywords the review dislikes.
const std::string kPage =
    "<html lang=\"en\">\n<head>\n<title>Short</title>\n"
    "<meta name=\"keywords\" content=\"a, a\">\n</head>\n<body>\n"
    "<h1>Main</h1>\n<h3>Skipped</h3>\n"
    "  <img src=\"same.png\"><img src=\"same.png\">\n</body>\n</html>\n";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

class CodeScanningFormats : public VelmoraCli {
protected:
    Json Sarif(const std::vector<std::string>& files) {
        std::vector<std::string> arguments{"analyze", "--defaults",  "--format",
                                           "sarif",   "--min-level", "info"};
        arguments.insert(arguments.end(), files.begin(), files.end());
        const RunResult run = Run(arguments);
        EXPECT_LE(run.code, 1) << run.err;
        return Json::parse(run.out);
    }

    // The results of one rule on page.html: line, column and fingerprint.
    static std::vector<std::string> ResultsOf(const Json& log, const std::string& rule) {
        std::vector<std::string> found;
        for (const Json& result : log["runs"][0]["results"]) {
            const Json& location = result["locations"][0]["physicalLocation"];
            const std::string uri = location["artifactLocation"]["uri"];
            if (result["ruleId"] == rule && uri.ends_with("/page.html")) {
                const Json region = location.value("region", Json::object());
                found.push_back(
                    std::to_string(region.value("startLine", 0)) + ":" +
                    std::to_string(region.value("startColumn", 0)) + " " +
                    result["partialFingerprints"]["velmoraResult/v1"].get<std::string>());
            }
        }
        return found;
    }
};

TEST_F(CodeScanningFormats, SarifIsOneLogWithEveryRuleAndLocatedResults) {
    const Json log = Sarif({Page("page.html", kPage).string(), Page("empty.html", "").string()});
    EXPECT_EQ(log["version"], "2.1.0");
    ASSERT_EQ(log["runs"].size(), 1u);
    const Json& run = log["runs"][0];
    EXPECT_EQ(run["columnKind"], "unicodeCodePoints");
    EXPECT_EQ(run["tool"]["driver"]["name"], "velmora-cli");
    const Json& rules = run["tool"]["driver"]["rules"];
    ASSERT_EQ(rules.size(), cli::ReportRules().size());
    std::set<std::string> levels;
    for (const Json& result : run["results"]) {
        EXPECT_EQ(rules[result["ruleIndex"].get<std::size_t>()]["id"], result["ruleId"]);
        levels.insert(result["level"].get<std::string>());
    }
    EXPECT_EQ(levels, (std::set<std::string>{"error", "warning", "note"}));

    // Each listed image is a result of its own at its own column; the keyword findings point
    // at the keywords tag, and whole-page results have no region.
    const std::vector<std::string> images = ResultsOf(log, "check/images");
    ASSERT_EQ(images.size(), 2u);
    EXPECT_TRUE(images[0].starts_with("9:3 ")) << images[0];
    EXPECT_TRUE(images[1].starts_with("9:23 ")) << images[1];
    EXPECT_NE(images[0].substr(5), images[1].substr(6));
    EXPECT_TRUE(ResultsOf(log, "check/headings")[0].starts_with("8:1 "));
    EXPECT_TRUE(ResultsOf(log, "review/duplicate-keywords")[0].starts_with("4:1 "));
    EXPECT_TRUE(ResultsOf(log, "check/content")[0].starts_with("0:0 "));
    EXPECT_TRUE(ResultsOf(log, "review/unnecessary-space")[0].starts_with("0:0 "));
}

TEST_F(CodeScanningFormats, FingerprintsStayWhenUnrelatedLinesMove) {
    const std::string file = Page("page.html", kPage).string();
    const Json before = Sarif({file});
    Page("page.html", "<!-- moved -->\n\n\n" + kPage);
    const Json after = Sarif({file});
    for (const std::string rule : {"check/images", "check/headings", "review/bad-keywords"}) {
        const std::vector<std::string> old = ResultsOf(before, rule);
        const std::vector<std::string> moved = ResultsOf(after, rule);
        ASSERT_EQ(old.size(), moved.size()) << rule;
        for (std::size_t i = 0; i < old.size(); ++i) {
            EXPECT_EQ(old[i].substr(old[i].find(' ')), moved[i].substr(moved[i].find(' ')));
            EXPECT_EQ(std::stoi(old[i]) + 3, std::stoi(moved[i]));
        }
    }
    EXPECT_EQ(cli::Fingerprint(""), "cbf29ce484222325");
}

TEST_F(CodeScanningFormats, EveryGithubLineIsAnEscapedWorkflowCommand) {
    // Page text with a percent sign, a colon, a comma and a line break reaches the messages;
    // the file name puts them into a property.
    const std::string page =
        "<title>100% sure: yes,\nreally</title>\n<p>text</p>\n<img src=\"x%:,\ny.png\">\n";
    const std::string file = Page("odd: 50%, off.html", page).string();
    const RunResult run = Run({"analyze", "--defaults", "--format", "github", file});
    EXPECT_EQ(run.code, 0) << run.err;
    const std::regex command(
        "::(error|warning|notice) file=([^,:\r\n]+)(,line=[1-9][0-9]*,col=[1-9][0-9]*)?"
        ",title=([^,:\r\n]+)::([^\r\n]+)");
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_GE(lines.size(), 5u);
    std::size_t located = 0;
    for (const std::string& line : lines) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, command)) << line;
        EXPECT_EQ(match[2].str().find(":"), std::string::npos);
        EXPECT_TRUE(match[2].str().ends_with("odd%3A 50%25%2C off.html")) << match[2];
        located += match[3].matched ? 1 : 0;
    }
    EXPECT_GE(located, 2u);
    EXPECT_NE(run.out.find(",line=4,col=1,title=Image alt text::"), std::string::npos);
    // The page is analysed with CR LF line breaks.
    // Control characters of the page are shown as escapes, as the readable report does.
    EXPECT_NE(run.out.find("(x%25:,\\r\\ny.png)\n"), std::string::npos) << run.out;
    EXPECT_EQ(cli::EscapeCommandData("a%\r\n:,"), "a%25%0D%0A:,");
    EXPECT_EQ(cli::EscapeCommandProperty("a%\r\n:,"), "a%25%0D%0A%3A%2C");
}

// A terminal that shows a report must not take the page's or the file name's bytes as commands.
TEST_F(CodeScanningFormats, ControlCharactersOfPagesAndNamesAreEscapedInEveryFormat) {
    const std::string file =
        Page("bell\x07.html",
             "<title>Clear \x1b[2J\x01</title>\n<meta name=\"keywords\" content=\"a, \x1b]0;x\">\n"
             "<h1>A</h1><h3>\x1b[2J</h3>\n<img src=\"x\x1b[31m.png\">\n")
            .string();
    for (const std::string format : {"text", "compact", "github", "sarif", "json"}) {
        const RunResult run =
            Run({"analyze", "--defaults", "--min-level", "info", "--format", format, file});
        EXPECT_EQ(run.code, 0) << run.err;
        // JSON has escapes of its own.
        if (format != "sarif" && format != "json") {
            EXPECT_NE(run.out.find("\\x1b"), std::string::npos) << format << run.out;
        }
        for (const char byte : run.out) {
            EXPECT_TRUE(static_cast<unsigned char>(byte) >= 0x20 || byte == '\n')
                << format << ": " << static_cast<int>(byte);
        }
    }
}

TEST_F(CodeScanningFormats, JsonGainsLinesAndColumnsAndTheFormatsAreChosenByFlag) {
    const std::string file = Page("page.html", kPage).string();
    const RunResult json = Run({"analyze", "--defaults", "--json", file});
    EXPECT_EQ(Run({"analyze", "--defaults", "--format", "json", file}).out, json.out);
    EXPECT_EQ(Run({"analyze", "--defaults", "--format", "text", file}).out,
              Run({"analyze", "--defaults", file}).out);
    EXPECT_EQ(Run({"analyze", "--format", "xml", file}).code, 2);

    const Json report = JsonLines(json.out).at(0);
    EXPECT_EQ(report["format"], 1);
    // The keyword findings point at the keywords tag; the page has no description to point at.
    std::vector<std::string> lines;
    for (const Json& finding : report["findings"]) {
        lines.push_back(finding["title"].get<std::string>() + " " +
                        (finding.contains("line")
                             ? finding["line"].dump() + ":" + finding["column"].dump()
                             : "-"));
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"No description -", "Bad keywords 4:1",
                                               "Too few keywords 4:1", "Duplicate keywords 4:1",
                                               "Unnecessary space -"}));
    for (const Json& check : report["checks"]) {
        if (check["id"] == "title") {
            EXPECT_EQ(check["line"], 3);
            EXPECT_EQ(check["column"], 1);
        } else if (check["id"] == "images") {
            EXPECT_FALSE(check.contains("line"));
            EXPECT_EQ(check["elements"], Json::parse(R"([
                {"text": "same.png", "line": 9, "column": 3},
                {"text": "same.png", "line": 9, "column": 23}])"));
        } else if (check["id"] == "content") {
            EXPECT_FALSE(check.contains("line"));
            EXPECT_FALSE(check.contains("elements"));
        }
    }
}

TEST_F(CodeScanningFormats, SarifNamesPagesFromTheBaseFolderAndTellsWhatFailed) {
    Page("site/page.html", kPage);
    const RunResult run =
        Run({"analyze", "--defaults", "--format", "sarif", "--base-dir", root_.string(),
             (root_ / "site/page.html").string(), (root_ / "site/missing.html").string()});
    EXPECT_EQ(run.code, 3);
    const Json log = Json::parse(run.out);
    const Json& sarifRun = log["runs"][0];
    EXPECT_EQ(sarifRun["originalUriBaseIds"]["%SRCROOT%"]["uri"],
              "file://" + root_.generic_string() + "/");
    std::set<std::string> levels;
    for (const Json& result : sarifRun["results"]) {
        const Json& artifact = result["locations"][0]["physicalLocation"]["artifactLocation"];
        EXPECT_EQ(artifact["uri"], "site/page.html");
        EXPECT_EQ(artifact["uriBaseId"], "%SRCROOT%");
        levels.insert(result["level"].get<std::string>());
    }
    // Notes are left out by default.
    EXPECT_EQ(levels, (std::set<std::string>{"error", "warning"}));
    const Json& invocation = sarifRun["invocations"][0];
    EXPECT_FALSE(invocation["executionSuccessful"]);
    ASSERT_EQ(invocation["toolExecutionNotifications"].size(), 1u);
    const Json& notification = invocation["toolExecutionNotifications"][0];
    EXPECT_EQ(notification["level"], "error");
    EXPECT_NE(notification["message"]["text"].get<std::string>().find("missing.html"),
              std::string::npos);
    EXPECT_EQ(notification["locations"][0]["physicalLocation"]["artifactLocation"]["uri"],
              "site/missing.html");

    const Json fine = Sarif({(root_ / "site/page.html").string()});
    EXPECT_TRUE(fine["runs"][0]["invocations"][0]["executionSuccessful"]);
    EXPECT_TRUE(fine["runs"][0]["invocations"][0]["toolExecutionNotifications"].empty());
}

TEST(SarifLog, KeepsTheMostSevereWithinTheUploadLimitInPageOrder) {
    using page_checks::CheckResult;
    using page_checks::CheckState;
    const auto check = [](CheckId id, CheckState state) {
        CheckResult result;
        result.id = id;
        result.state = state;
        result.message = std::string(CheckIdName(id));
        return result;
    };
    // Two warnings from the review, then a note and two errors from the checks.
    cli::PageReport report;
    report.file = "a.html";
    report.findings = {{FindingKind::NoTitle, "Add a title", "No title", std::nullopt},
                       {FindingKind::NoKeywords, "Add keywords", "No keywords", std::nullopt}};
    report.checks.checks = {check(CheckId::Hreflang, CheckState::Info),
                            check(CheckId::Title, CheckState::Problem),
                            check(CheckId::Content, CheckState::Problem)};
    cli::SarifLog log("/repo", cli::ResultLevel::Note, 3);
    log.Hold(log.PageResults(report));
    const Json sarif = Json::parse(log.Opening() + log.Closing({{"b.html", "b.html: gone"}}));
    const Json& run = sarif["runs"][0];
    std::vector<std::string> kept;
    for (const Json& result : run["results"]) {
        kept.push_back(result["ruleId"].get<std::string>());
    }
    EXPECT_EQ(kept, (std::vector<std::string>{"review/no-title", "check/title", "check/content"}));
    const Json& invocation = run["invocations"][0];
    EXPECT_FALSE(invocation["executionSuccessful"]);
    ASSERT_EQ(invocation["toolExecutionNotifications"].size(), 2u);
    EXPECT_EQ(invocation["toolExecutionNotifications"][1]["message"]["text"],
              "2 results of the least severe levels were left out: code scanning takes at most 3 "
              "results from one run");
    EXPECT_EQ(cli::kSarifResultLimit, 25000u);
}

TEST_F(CodeScanningFormats, GithubShowsTenAnnotationsPerLevelAndSummarizesTheRun) {
    // Fifteen images without alt, and a heading that would clear a terminal.
    std::string page = "<html><head><title>T</title></head><body><h3>\x1b[2J</h3>\n";
    for (int i = 0; i < 15; ++i) {
        page += "<img src=\"i" + std::to_string(i) + "\">\n";
    }
    const std::string file = Page("gallery.html", page + "</body></html>\n").string();
    const fs::path summary = root_ / "summary.md";
    WriteBytes(summary, "Earlier step\n");
    ::setenv("GITHUB_STEP_SUMMARY", summary.c_str(), 1);
    const RunResult run = Run({"analyze", "--defaults", "--format", "github", file});
    ::unsetenv("GITHUB_STEP_SUMMARY");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
    const std::vector<std::string> lines = Lines(run.out);
    std::map<std::string, std::size_t> perLevel;
    std::string order;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::string level = lines[i].substr(2, lines[i].find(' ') - 2);
        ++perLevel[level];
        if (order.empty() || order.back() != level[0]) {
            order += level[0];
        }
    }
    EXPECT_EQ(order, "ew");  // the errors, then the warnings
    EXPECT_EQ(perLevel["warning"], cli::kAnnotationsPerLevel);
    EXPECT_TRUE(lines.back().starts_with("::notice title=More results::")) << lines.back();
    // The notice counts what compact lists at the same level and the annotations leave out.
    const std::size_t all =
        Lines(Run({"analyze", "--defaults", "--format", "compact", "--min-level", "improve", file})
                  .out)
            .size() -
        1;
    EXPECT_TRUE(lines.back().starts_with(
        "::notice title=More results::" + std::to_string(all - (lines.size() - 1)) + " more"))
        << lines.back();

    const std::string table = ReadBytes(summary);
    EXPECT_TRUE(table.starts_with("Earlier step\n### velmora-cli\n")) << table;
    EXPECT_NE(table.find("| Page | Problem | Improve | Info |"), std::string::npos);
    EXPECT_NE(table.find("gallery.html |"), std::string::npos) << table;
}

TEST_F(CodeScanningFormats, CompactLinesLevelsQuietAndColour) {
    const std::string file = Page("page.html", kPage).string();
    const auto run = [&](std::vector<std::string> flags) {
        flags.insert(flags.begin(), {"analyze", "--defaults"});
        flags.push_back(file);
        const RunResult result = Run(flags);
        EXPECT_EQ(result.code, 0) << result.err;
        return result.out;
    };
    const std::vector<std::string> lines = Lines(run({"--format", "compact"}));
    const std::regex compact(
        "[^:]+(:[1-9][0-9]*:[1-9][0-9]*)?: (problem|improve|info) "
        "(review/)?[a-z0-9-]+: .+");
    ASSERT_GE(lines.size(), 5u);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_TRUE(std::regex_match(lines[i], compact)) << lines[i];
    }
    EXPECT_NE(run({"--format", "compact"}).find(file + ":9:3: improve images: "),
              std::string::npos);
    EXPECT_TRUE(lines.back().ends_with(" in 1 page")) << lines.back();

    const std::string problems = run({"--format", "compact", "--min-level", "problem"});
    EXPECT_EQ(problems.find(": improve "), std::string::npos);
    EXPECT_NE(problems.find(": problem "), std::string::npos);
    EXPECT_EQ(run({"--format", "compact", "-q"}), problems);

    // The readable report: --quiet keeps the problems and the summary.
    const std::string quiet = run({"--quiet"});
    EXPECT_EQ(quiet.find("improve "), std::string::npos);
    EXPECT_NE(quiet.find("    problem "), std::string::npos);
    EXPECT_NE(quiet.find("Summary: 1 page analysed"), std::string::npos);
    EXPECT_EQ(run({"--min-level", "improve"}).find("    good    "), std::string::npos);
    EXPECT_NE(run({}).find("    good    "), std::string::npos);

    // Colour only when asked for or on a terminal, never with NO_COLOR set.
    EXPECT_NE(run({"--color", "always"}).find("\x1b[31mproblem \x1b[0m"), std::string::npos);
    EXPECT_NE(run({"--format", "compact", "--color", "always"}).find("\x1b[33mimprove\x1b[0m"),
              std::string::npos);
    ::setenv("NO_COLOR", "1", 1);
    EXPECT_EQ(run({"--color", "auto"}).find('\x1b'), std::string::npos);
    ::unsetenv("NO_COLOR");
    EXPECT_EQ(run({"--color", "never"}).find('\x1b'), std::string::npos);
}

TEST(ReportPath, NamedFromTheWorkingFolder) {
    EXPECT_EQ(PathFromWorkingFolder("./site/a.html", "/repo"), "site/a.html");
    EXPECT_EQ(PathFromWorkingFolder("/repo/site/../b.html", "/repo/"), "b.html");
    EXPECT_EQ(PathFromWorkingFolder("../other/c.html", "/repo/sub"), "/repo/other/c.html");
    EXPECT_EQ(PathFromWorkingFolder("/elsewhere/d.html", "/repo"), "/elsewhere/d.html");
    EXPECT_EQ(PathUri("odd name: 100%, \xC3\xA9.html"), "odd%20name%3A%20100%25%2C%20%C3%A9.html");
    EXPECT_EQ(PathUri("/tmp/a b.html"), "file:///tmp/a%20b.html");
}

TEST(ReportRules, OneRulePerFindingKindAndCheckInTheirOrder) {
    const auto rules = cli::ReportRules();
    for (int kind = 0; kind <= static_cast<int>(FindingKind::UnnecessarySpace); ++kind) {
        const auto finding = static_cast<FindingKind>(kind);
        EXPECT_EQ(rules[cli::RuleIndex(finding)].id,
                  "review/" + std::string(FindingKindName(finding)));
    }
    for (std::size_t id = 0; id < kCheckCount; ++id) {
        const auto check = static_cast<CheckId>(id);
        EXPECT_EQ(rules[cli::RuleIndex(check)].id, "check/" + std::string(CheckIdName(check)));
    }
    EXPECT_EQ(rules.size(), cli::RuleIndex(CheckId::Robots) + 1);
    EXPECT_EQ(cli::RuleName("check/structured-data"), "StructuredData");
}

}  // namespace
}  // namespace velmora::test
