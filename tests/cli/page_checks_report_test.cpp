// The page checks in velmora-cli analyze's reports, run in process: their shape, their flags,
// duplicates across pages and --fail-on.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/cli/cli_test_fixture.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::Example;
using test::Json;
using test::JsonLines;
using test::ReadBytes;
using test::RunResult;
using test::VelmoraCli;

// The page checks, in the order every report lists them.
const std::vector<std::string> kCheckIds{
    "title",   "description", "indexable",       "canonical", "language", "charset", "viewport",
    "social",  "hreflang",    "structured-data", "h1",        "headings", "images",  "links",
    "content", "keyphrase",   "head-agreement"};

std::vector<std::string> CheckIds(const Json& line) {
    std::vector<std::string> ids;
    for (const Json& check : line["checks"]) {
        ids.push_back(check["id"]);
    }
    return ids;
}

const Json& Check(const Json& line, const std::string& id) {
    for (const Json& check : line["checks"]) {
        if (check["id"] == id) {
            return check;
        }
    }
    static const Json none;
    return none;
}

TEST_F(VelmoraCli, JsonPageChecksHaveTheirShapeOnTheSamplePages) {
    const fs::path modern = Page("sourdough-bakery.html", Example("sourdough-bakery.html"));
    const fs::path neglected = Page("neglected-page.htm", Example("neglected-page.htm"));
    const RunResult run = Run({"analyze", "--json", "--defaults", modern, neglected});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<Json> lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    for (const Json& line : lines) {
        EXPECT_EQ(line["format"], 1);
        EXPECT_TRUE(line.contains("auto_keywords"));
        EXPECT_EQ(CheckIds(line), kCheckIds);
        std::map<std::string, int> states;
        for (const Json& check : line["checks"]) {
            // The four fields, and where the check's elements stand when it has any.
            for (const auto& [key, value] : check.items()) {
                EXPECT_TRUE(key == "id" || key == "state" || key == "message" || key == "values" ||
                            key == "line" || key == "column" || key == "elements")
                    << check;
            }
            ASSERT_TRUE(check.contains("values")) << check;
            EXPECT_TRUE(check["state"].is_string());
            EXPECT_FALSE(check["message"].get<std::string>().empty()) << check;
            EXPECT_TRUE(check["values"].is_object()) << check;
            ++states[check["state"]];
        }
        const Json& summary = line["checks_summary"];
        EXPECT_EQ(summary, Json({{"problem", states["problem"]},
                                 {"improve", states["improve"]},
                                 {"good", states["good"]},
                                 {"info", states["info"]}}));
        for (const std::string id : {"title", "description"}) {
            const Json& values = Check(line, id)["values"];
            EXPECT_TRUE(values["characters"].is_number_integer()) << values;
            EXPECT_TRUE(values["pixels"].is_number_integer() || values["pixels"].is_null());
        }
        for (const std::string id : {"h1", "images", "links"}) {
            EXPECT_TRUE(Check(line, id)["values"]["count"].is_number_integer()) << id;
        }
    }

    const Json& good = lines[0];
    EXPECT_EQ(good["checks_summary"]["problem"], 0);
    EXPECT_EQ(good["checks_summary"]["improve"], 0);
    EXPECT_EQ(Check(good, "title")["values"]["characters"], 47);
    EXPECT_EQ(Check(good, "images")["values"]["count"], 2);

    const Json& bad = lines[1];
    EXPECT_GE(bad["checks_summary"]["problem"], 8);
    // Its good checks: a viewport of initial-scale alone, and a head the review reads as it is.
    EXPECT_EQ(bad["checks_summary"]["good"], 2);
    EXPECT_EQ(Check(bad, "viewport")["state"], "good");
    EXPECT_EQ(Check(bad, "head-agreement")["state"], "good");
    EXPECT_EQ(Check(bad, "title")["state"], "problem");
    EXPECT_EQ(Check(bad, "indexable")["message"],
              "Search engines are asked not to index this page. Remove the noindex unless the "
              "page must stay out of search results.");
    // The verdict: a full score on the modern page, none on the page asked out of the index.
    EXPECT_EQ(good["score"], 100);
    EXPECT_EQ(good["role"], "page");
    EXPECT_TRUE(bad["score"].is_null());
    EXPECT_EQ(bad["role"], "not-indexed");
    EXPECT_EQ(Check(bad, "images")["values"]["first"],
              Json({"banner.gif", "offer1.jpg", "offer2.jpg"}));
    EXPECT_EQ(Check(bad, "links")["values"]["count"], 3);
}

// The redirect stub and the page whose old head sits in a comment, as a user first sees them.
TEST_F(VelmoraCli, SamplePagesShowARedirectAndAHeadReadFromAComment) {
    const fs::path moved = Page("moved-page.html", Example("moved-page.html"));
    const fs::path misread = Page("title-in-comment.html", Example("title-in-comment.html"));
    const std::vector<Json> lines =
        JsonLines(Run({"analyze", "--json", "--defaults", moved, misread}).out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0]["score"].is_null());
    EXPECT_EQ(lines[0]["role"], "redirect");
    EXPECT_EQ(lines[0]["checks"], Json::parse(R"([{"id": "indexable", "state": "info",
                               "message": "Redirects to /sourdough-bakery.html.",
                               "values": {"redirect": "/sourdough-bakery.html"},
                               "line": 6, "column": 1}])"));
    EXPECT_EQ(lines[1]["role"], "page");
    EXPECT_EQ(lines[1]["score"], 82);
    // The review reads the commented title; the page checks read the page's own.
    EXPECT_EQ(lines[1]["title"], "Rye bread | Old Mill Bakery");
    EXPECT_EQ(Check(lines[1], "title")["values"]["characters"], 55);
    const Json& agreement = Check(lines[1], "head-agreement");
    EXPECT_EQ(agreement["state"], "problem");
    EXPECT_EQ(agreement["elements"],
              Json::parse(R"([{"text": "<title> comment", "line": 6, "column": 1},
                              {"text": "<meta name=\"description\"> comment", "line": 7,
                               "column": 1}])"));

    const RunResult text = Run({"analyze", "--defaults", moved, misread});
    EXPECT_NE(text.out.find(moved.string() +
                            "\n  no score · redirect to /sourdough-bakery.html\n"
                            "  Page checks:     0 problem, 0 improve, 0 good, 1 info\n"
                            "    info    indexable: Redirects to /sourdough-bakery.html.\n"
                            "  Keyword rating:   30%\n"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find(misread.string() + "\n  Score: 82 · page\n"), std::string::npos);
    EXPECT_NE(text.out.find("    problem head-agreement: The review and the editor read the "
                            "<title> in a comment on line 6, not the page's own on line 9."),
              std::string::npos);
    EXPECT_NE(text.out.find("            line 6: <title> comment\n"
                            "            line 7: <meta name=\"description\"> comment\n"),
              std::string::npos);
}

// Without Liberation Sans the widths are unknown: null in the JSON, and nothing fails for it.
TEST_F(VelmoraCli, MissingFontGivesUnknownWidthsNotAFailure) {
    const fs::path config =
        Page("fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n");
    const char* previous = std::getenv("FONTCONFIG_FILE");
    const std::string saved = previous != nullptr ? previous : "";
    ::setenv("FONTCONFIG_FILE", config.c_str(), 1);
    const fs::path page = Page("page.html", Example("sourdough-bakery.html"));
    const RunResult run = Run({"analyze", "--json", "--defaults", page.string()});
    if (previous != nullptr) {
        ::setenv("FONTCONFIG_FILE", saved.c_str(), 1);
    } else {
        ::unsetenv("FONTCONFIG_FILE");
    }
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<Json> lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), 1u);
    for (const std::string id : {"title", "description"}) {
        const Json& check = Check(lines[0], id);
        EXPECT_TRUE(check["values"]["pixels"].is_null()) << check;
        EXPECT_TRUE(check["values"]["characters"].is_number_integer()) << check;
        EXPECT_EQ(check["state"], "good") << check;
    }
}

TEST_F(VelmoraCli, ReadableReportListsEveryCheckWithItsState) {
    const fs::path modern = Page("sourdough-bakery.html", Example("sourdough-bakery.html"));
    // A malformed hreflang value is quoted in its check's sentence.
    const fs::path hostile = Page(
        "hostile.htm",
        "<html><head><title>t</title>"
        "<link rel=\"alternate\" hreflang=\"e\x1b[2Jn\rX\xC2\x9B\" href=\"/\"></head></html>\r\n");
    const RunResult run = Run({"analyze", "--defaults", modern, hostile});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("  Page checks:     0 problem, 0 improve, 17 good, 0 info\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\n    good    title: The title has 47 characters"), std::string::npos);
    EXPECT_NE(run.out.find("\n    good    keyphrase: "), std::string::npos);
    EXPECT_NE(run.out.find("\n    problem hreflang: "), std::string::npos);
    EXPECT_NE(run.out.find("e\\x1b[2Jn X\\u009b"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
    for (const std::string& id : kCheckIds) {
        EXPECT_NE(run.out.find(" " + id + ": "), std::string::npos) << id;
    }
}

TEST_F(VelmoraCli, PageCheckFlagsOverrideTheStoredSettings) {
    StoreSettings("[PageChecks]\nTitleMaximumCharacters=20\nImagesDisabled=1\n");
    const fs::path page = Page("sourdough-bakery.html", Example("sourdough-bakery.html"));
    const auto report = [&](std::vector<std::string> flags) {
        flags.insert(flags.begin(), {"analyze", "--json"});
        flags.push_back(page.string());
        const RunResult run = Run(flags);
        EXPECT_EQ(run.code, 0) << run.err;
        return run.code == 0 ? JsonLines(run.out).at(0) : Json();
    };
    const auto state = [](const Json& line, const std::string& id) {
        return Check(line, id)["state"];
    };

    const Json stored = report({});
    EXPECT_EQ(state(stored, "title"), "improve");
    EXPECT_TRUE(Check(stored, "images").is_null());
    const Json defaults = report({"--defaults"});
    EXPECT_EQ(state(defaults, "title"), "good");
    EXPECT_EQ(CheckIds(defaults), kCheckIds);
    EXPECT_EQ(state(report({"--title-chars", "10-60"}), "title"), "good");
    EXPECT_EQ(state(report({"--defaults", "--title-chars", "50-60"}), "title"), "improve");
    EXPECT_EQ(state(report({"--defaults", "--title-px", "400"}), "title"), "improve");
    EXPECT_EQ(state(report({"--defaults", "--description-chars", "10-100"}), "description"),
              "improve");
    EXPECT_EQ(state(report({"--defaults", "--description-px", "700"}), "description"), "improve");
    EXPECT_EQ(state(report({"--defaults", "--focus", "rye bread"}), "keyphrase"), "problem");
    EXPECT_EQ(Check(report({"--defaults", "--focus", "Sourdough  BAKERY"}), "keyphrase")["state"],
              "good");

    // Repeated, and never taking the page for a second id.
    std::vector<std::string> expected = kCheckIds;
    std::erase(expected, "title");
    std::erase(expected, "h1");
    EXPECT_EQ(CheckIds(report({"--defaults", "--skip-check", "title", "--skip-check", "h1"})),
              expected);
    EXPECT_EQ(report({"--defaults", "--skip-check", "title", "--skip-check",
                      "h1"})["checks_summary"]["good"],
              15);

    const std::vector<std::pair<std::vector<std::string>, std::string>> refused{
        {{"--title-chars", "0-60"},
         "--title-chars: 0-60 is outside the range MIN 1 to 500, MAX 1 to 500"},
        {{"--title-chars", "30-501"}, "outside the range MIN 1 to 500, MAX 1 to 500"},
        {{"--title-chars", "60-30"}, "--title-chars: 60-30: MIN is above MAX"},
        {{"--title-chars", "30"}, "--title-chars: '30' is not MIN-MAX"},
        {{"--title-chars", "+3-40"}, "is not MIN-MAX"},
        {{"--description-chars", "70-1001"},
         "--description-chars: 70-1001 is outside the range MIN 1 to 1000, MAX 1 to 1000"},
        {{"--title-px", "0"}, "--title-px: 0 is outside the range 1 to 5000"},
        {{"--description-px", "10001"}, "--description-px: 10001 is outside the range 1 to 10000"},
        {{"--description-px", "9e3"}, "--description-px: '9e3' is not a whole number"},
        {{"--skip-check", "titles"}, "--skip-check: 'titles' is not a check (title, description"},
        {{"--fail-on", "good"}, "--fail-on"},
    };
    for (const auto& [flags, message] : refused) {
        std::vector<std::string> arguments{"analyze"};
        arguments.insert(arguments.end(), flags.begin(), flags.end());
        arguments.push_back(page.string());
        const RunResult run = Run(arguments);
        EXPECT_EQ(run.code, 2) << flags[0] << " " << flags[1];
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

// A page with the title and description given, big enough for its position in the run to
// decide when its worker finishes.
std::string TitledPage(const std::string& title, const std::string& description,
                       std::size_t bodyBytes) {
    std::string body;
    while (body.size() < bodyBytes) {
        body += "<p>words of text for a page of some length</p>\r\n";
    }
    return "<html><head><title>" + title + "</title><meta name=\"description\" content=\"" +
           description + "\"></head><body>" + body + "</body></html>\r\n";
}

TEST_F(VelmoraCli, DuplicateTitlesAndDescriptionsAcrossPagesKeepInputOrder) {
    std::vector<std::string> arguments{"analyze", "--json", "--defaults", "-j", "2"};
    const std::vector<std::pair<std::string, std::string>> heads{
        {"Fresh  Bread", "Loaves every day"},  // same title as 2 and 4 once case and space go
        {"Cakes", "Loaves every day"},
        {"fresh bread", "Cakes to order"},
        {"Pastries", "Butter and flour"},
        {"FRESH&#32;BREAD", "loaves EVERY day"},
        {"", ""},  // no title and no description: equal to nothing
        {"", ""},
    };
    for (std::size_t i = 0; i < heads.size(); ++i) {
        arguments.push_back(
            Page("p" + std::to_string(i) + ".htm",
                 TitledPage(heads[i].first, heads[i].second, i % 2 == 0 ? 300000 : 100))
                .string());
    }
    const std::vector<std::string> pages(arguments.begin() + 5, arguments.end());
    const auto file = [&](std::size_t i) { return pages[i]; };
    const RunResult parallel = Run(arguments);
    ASSERT_EQ(parallel.code, 0) << parallel.err;
    arguments[4] = "1";
    EXPECT_EQ(Run(arguments).out, parallel.out);

    const std::vector<Json> lines = JsonLines(parallel.out);
    ASSERT_EQ(lines.size(), heads.size());
    const auto files = [&](std::size_t page, const std::string& id) {
        const Json& check = Check(lines[page], id);
        EXPECT_TRUE(check.is_null() || check["state"] == "improve");
        return check.is_null() ? Json() : check["values"]["files"];
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i]["file"], file(i));
    }
    EXPECT_EQ(files(0, "duplicate-title"), Json({file(2), file(4)}));
    EXPECT_EQ(files(2, "duplicate-title"), Json({file(0), file(4)}));
    EXPECT_EQ(files(4, "duplicate-title"), Json({file(0), file(2)}));
    EXPECT_EQ(files(0, "duplicate-description"), Json({file(1), file(4)}));
    EXPECT_EQ(files(1, "duplicate-description"), Json({file(0), file(4)}));
    EXPECT_TRUE(files(1, "duplicate-title").is_null());
    EXPECT_TRUE(files(3, "duplicate-title").is_null());
    EXPECT_TRUE(files(3, "duplicate-description").is_null());
    EXPECT_TRUE(files(5, "duplicate-title").is_null());
    EXPECT_TRUE(files(6, "duplicate-description").is_null());
    const std::vector<std::string> ids = CheckIds(lines[0]);
    EXPECT_EQ(std::vector<std::string>(ids.end() - 2, ids.end()),
              (std::vector<std::string>{"duplicate-title", "duplicate-description"}));
    EXPECT_EQ(lines[0]["checks_summary"]["improve"],
              std::count_if(lines[0]["checks"].begin(), lines[0]["checks"].end(),
                            [](const Json& check) { return check["state"] == "improve"; }));

    arguments.insert(arguments.begin() + 1, {"--skip-check", "duplicate-title"});
    const std::vector<Json> skipped = JsonLines(Run(arguments).out);
    EXPECT_TRUE(Check(skipped.at(0), "duplicate-title").is_null());
    EXPECT_FALSE(Check(skipped.at(0), "duplicate-description").is_null());

    const RunResult text = Run({"analyze", "--defaults", "-j", "2", file(0), file(1), file(2)});
    EXPECT_NE(text.out.find("    improve duplicate-title: The title is the same as on " + file(2)),
              std::string::npos)
        << text.out;
    EXPECT_LT(text.out.find(file(0) + "\n"), text.out.find(file(1) + "\n"));
}

TEST_F(VelmoraCli, FailOnProblemOrImproveExitsWithOne) {
    // Only the keyphrase's file-name test fails under another name: one improve, no problem.
    const fs::path improve = Page("bakery-page.html", Example("sourdough-bakery.html"));
    const fs::path modern = Page("sourdough-bakery.html", Example("sourdough-bakery.html"));
    const fs::path neglected = Page("neglected-page.htm", Example("neglected-page.htm"));
    const auto code = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"analyze", "--json", "--defaults"});
        return Run(arguments);
    };
    EXPECT_EQ(code({"--fail-on", "improve", modern}).code, 0);
    EXPECT_EQ(code({"--fail-on", "problem", improve}).code, 0);
    const RunResult failed = code({"--fail-on", "improve", improve});
    EXPECT_EQ(failed.code, 1);
    EXPECT_EQ(failed.err, "velmora-cli: " + improve.string() +
                              ": page checks: 0 problem, 1 improve (--fail-on improve)\n");
    EXPECT_EQ(JsonLines(failed.out).size(), 1u);
    EXPECT_EQ(code({"--fail-on", "problem", neglected}).code, 1);
    EXPECT_EQ(code({"--fail-on", "improve", neglected}).code, 1);
    EXPECT_EQ(code({"--fail-on", "improve", "--skip-check", "keyphrase", improve}).code, 0);
    // Beside --fail-under, and below an unreadable file's exit code.
    EXPECT_EQ(code({"--fail-on", "problem", "--fail-under", "0", modern}).code, 0);
    EXPECT_EQ(code({"--fail-on", "problem", "--fail-under", "100", modern}).code, 1);
    EXPECT_EQ(code({"--fail-on", "problem", neglected, (root_ / "missing.htm").string()}).code, 3);
    // Duplicates count: two equal pages fail on improve.
    const fs::path copy = Page("copy/sourdough-bakery.html", Example("sourdough-bakery.html"));
    EXPECT_EQ(code({"--fail-on", "improve", modern, copy}).code, 1);
}

TEST_F(VelmoraCli, MinScoreFailsScoredPagesBelowItButNoRedirectOrNoindexPage) {
    // Its keyphrase is missing from its file name: one improve, so a score below 100.
    const fs::path scored = Page("bakery-page.html", Example("sourdough-bakery.html"));
    const fs::path neglected = Page("neglected-page.htm", Example("neglected-page.htm"));
    const fs::path redirect =
        Page("moved.html",
             "<html><head><title>Moved</title><meta http-equiv=\"refresh\" "
             "content=\"0; url=/neglected-page.htm\"></head><body></body></html>\n");
    const auto run = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"analyze", "--json", "--defaults"});
        return Run(arguments);
    };
    const Json page = JsonLines(run({scored}).out).at(0);
    ASSERT_TRUE(page["score"].is_number_integer()) << page.dump();
    const int score = page["score"];
    ASSERT_LT(score, 100);

    EXPECT_EQ(run({"--min-score", std::to_string(score), scored}).code, 0);
    const RunResult below = run({"--min-score", std::to_string(score + 1), scored});
    EXPECT_EQ(below.code, 1);
    EXPECT_EQ(below.err, "velmora-cli: " + scored.string() + ": score " + std::to_string(score) +
                             " is below " + std::to_string(score + 1) + " (--min-score)\n");
    EXPECT_EQ(JsonLines(below.out).size(), 1u);
    // A redirect and a noindex page have no score, so no minimum fails them.
    for (const fs::path& unscored : {redirect, neglected}) {
        EXPECT_TRUE(JsonLines(run({unscored}).out).at(0)["score"].is_null()) << unscored;
        EXPECT_EQ(run({"--min-score", "100", unscored}).code, 0) << unscored;
    }
    // Whole numbers from 0 to 100 only.
    EXPECT_EQ(run({"--min-score", "101", scored}).code, 2);
    EXPECT_EQ(run({"--min-score", "50.5", scored}).code, 2);
    // From the project's configuration, under the flag.
    const std::string config = Page("project.toml", "min_score = 100\n").string();
    EXPECT_EQ(Run({"analyze", "--json", "--config", config, scored}).code, 1);
    EXPECT_EQ(Run({"analyze", "--json", "--config", config, "--min-score", "0", scored}).code, 0);
}

}  // namespace
}  // namespace velmora
