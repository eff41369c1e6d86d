// analyze --format sarif and --format github, and the line and column of findings in the JSON:
// the output read back as its readers read it.

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/file_check_list.h"
#include "cli/github_report.h"
#include "cli/report_path.h"
#include "cli/report_rules.h"
#include "cli/sarif_report.h"
#include "tests/cli/cli_test_fixture.h"

namespace velmora::test {
namespace {

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
        std::vector<std::string> arguments{"analyze", "--defaults", "--format", "sarif"};
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
    EXPECT_NE(run.out.find("(x%25:,%0D%0Ay.png)\n"), std::string::npos) << run.out;
    EXPECT_EQ(cli::EscapeCommandData("a%\r\n:,"), "a%25%0D%0A:,");
    EXPECT_EQ(cli::EscapeCommandProperty("a%\r\n:,"), "a%25%0D%0A%3A%2C");
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
