// The site report in a real browser: headless Chromium opens a report of generated pages from a
// file:// URL, a probe script works it as a person would, and the test reads the DOM it left.
// The figures it checks come from analyze's JSON of the same pages, not from the report.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/cli_runner.h"
#include "tests/support/file_bytes.h"

namespace velmora::cli {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

constexpr const char* kChromium = "/usr/bin/chromium";
constexpr int kPages = 48;

using test::RunCli;

// Pages that differ in what they lack, so scores, ratings and findings spread; one has a title
// that tries to run a script.
std::string GeneratedPage(int i) {
    const std::string title =
        i == 7       ? "</script><script>document.title='pwned'</script>"
        : i % 3 == 0 ? ""
                     : "Fresh bread and pastry from bakery number " + std::to_string(i);
    std::string page = "<!DOCTYPE html><html" + std::string(i % 2 ? " lang=\"en\"" : "") +
                       "><head><title>" + title + "</title>";
    // A redirect stub and a page kept out of the index, which have no score.
    if (i == 11) {
        page += "<meta http-equiv=\"refresh\" content=\"0; url=page-12.html\">";
    }
    if (i == 13) {
        page += "<meta name=\"robots\" content=\"noindex\">";
    }
    if (i % 4 != 0) {
        page +=
            "<meta name=\"description\" content=\"Bread, pastry and cakes baked every "
            "morning in our small family bakery, page " +
            std::to_string(i) + ".\">";
    }
    if (i % 5 != 0) {
        page += "<meta name=\"keywords\" content=\"bread, pastry" +
                std::string(i % 5 > 2 ? ", cakes, rye, flour" : "") + "\">";
    }
    page += "</head><body>" + std::string(i % 6 ? "<h1>Our bakery</h1>" : "") + "<p>";
    for (int k = 0; k < (i % 7) * 30; ++k) {
        page += "bread pastry cakes rye morning oven ";
    }
    return page + "</p><img src=\"loaf.jpg\"></body></html>\n";
}

// Runs Chromium headless on url with the extra arguments; its standard output.
std::string Chromium(const fs::path& work, const std::vector<std::string>& extra,
                     const std::string& url) {
    const fs::path profile = work / ("profile-" + std::to_string(extra.size()));
    std::vector<std::string> arguments{kChromium,
                                       "--headless",
                                       "--no-sandbox",
                                       "--disable-gpu",
                                       "--disable-quic",
                                       "--no-first-run",
                                       "--disable-background-networking",
                                       "--disable-component-update",
                                       "--disable-sync",
                                       "--user-data-dir=" + profile.string()};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    arguments.push_back(url);
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    const fs::path output = work / "chromium.out";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, kChromium, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(spawned, 0);
    if (spawned != 0) {
        return {};
    }
    // A browser that hangs must not hang the test run.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            ADD_FAILURE() << "chromium did not finish within 120 s";
            return {};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return test::ReadBytes(output);
}

// The text of <pre id="ID"> (probe-result by default), its markup undone.
Json ProbeResult(const std::string& dom, const std::string& id = "probe-result") {
    const std::string open = "<pre id=\"" + id + "\" hidden=\"\">";
    const std::size_t begin = dom.find(open);
    if (begin == std::string::npos) {
        ADD_FAILURE() << "no probe result in the DOM:\n" << dom.substr(0, 2000);
        return Json::object();
    }
    std::string text =
        dom.substr(begin + open.size(), dom.find("</pre>", begin) - begin - open.size());
    for (const auto& [entity, character] : std::vector<std::pair<std::string, std::string>>{
             {"&lt;", "<"}, {"&gt;", ">"}, {"&nbsp;", "\xC2\xA0"}, {"&amp;", "&"}}) {
        for (std::size_t at = text.find(entity); at != std::string::npos;
             at = text.find(entity, at + 1)) {
            text.replace(at, entity.size(), character);
        }
    }
    return Json::parse(text);
}

// Pages per finding kind, counted from analyze's JSON: "problem/title", "advice/No title".
std::map<std::string, int> FindingPages(const std::vector<Json>& pages) {
    std::map<std::string, int> counts;
    for (const Json& page : pages) {
        std::set<std::string> kinds;
        for (const Json& check : page["checks"]) {
            const std::string state = check["state"];
            if (state == "problem" || state == "improve") {
                kinds.insert(state + "/" + check["id"].get<std::string>());
            }
        }
        for (const Json& finding : page["findings"]) {
            kinds.insert("advice/" + finding["title"].get<std::string>());
        }
        for (const std::string& kind : kinds) {
            ++counts[kind];
        }
    }
    return counts;
}

class ReportInBrowser : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(kChromium)) {
            GTEST_SKIP() << kChromium << " is not installed";
        }
        fs::create_directories(site());
        for (int i = 0; i < kPages; ++i) {
            test::WriteBytes(site() / ("page-" + std::to_string(100 + i) + ".html"),
                             GeneratedPage(i));
        }
    }

    fs::path site() const { return folder_.path() / "site"; }
    fs::path report() const { return folder_.path() / "report.html"; }

    // The report with the scripts run after its own, as inline scripts: its content policy
    // lets no other script in.
    std::string ProbedReport(const std::vector<std::string>& scripts = {
                                 VELMORA_REPORT_PROBE}) const {
        std::string html = test::ReadBytes(report());
        std::string probe;
        for (const std::string& script : scripts) {
            probe += "<script>\n" + test::ReadBytes(script) + "</script>\n";
        }
        html.insert(html.rfind("</body>"), probe);
        test::WriteBytes(folder_.path() / "probed.html", html);
        return "file://" + (folder_.path() / "probed.html").string();
    }

    test::TemporaryFolder folder_;
};

TEST_F(ReportInBrowser, RowsChartsSortingAndDetailsWork) {
    const test::CliRun written =
        RunCli({"report", "--defaults", "-j", "2", site().string(), "-o", report().string()});
    ASSERT_EQ(written.code, 0) << written.err;
    const test::CliRun analyze = RunCli({"analyze", "--defaults", "--json", site().string()});
    ASSERT_EQ(analyze.code, 0) << analyze.err;
    std::vector<Json> pages;
    std::istringstream lines(analyze.out);
    for (std::string line; std::getline(lines, line);) {
        pages.push_back(Json::parse(line));
    }
    ASSERT_EQ(pages.size(), static_cast<std::size_t>(kPages));

    const std::string dom = Chromium(folder_.path(), {"--dump-dom"}, ProbedReport());
    const Json seen = ProbeResult(dom);
    ASSERT_FALSE(seen.empty());
    // The page whose title tries to run a script shows it as text, and the script never ran.
    EXPECT_NE(dom.find("<title>Velmora site report</title>"), std::string::npos);
    EXPECT_NE(dom.find("&lt;/script&gt;&lt;script&gt;document.title='pwned'"), std::string::npos);

    EXPECT_EQ(seen["rows"], kPages);

    // The histogram: ten bars whose counts are the pages per rating bin and whose heights
    // follow the counts.
    std::vector<int> bins(10);
    for (const Json& page : pages) {
        ++bins[std::clamp(static_cast<int>(page["rating"].get<double>() / 10), 0, 9)];
    }
    ASSERT_EQ(seen["histogram"].size(), 10u);
    const int most = *std::max_element(bins.begin(), bins.end());
    const double tallest =
        seen["histogram"][std::max_element(bins.begin(), bins.end()) - bins.begin()]["height"];
    for (std::size_t bin = 0; bin < 10; ++bin) {
        const Json& bar = seen["histogram"][bin];
        EXPECT_EQ(bar["count"], bins[bin]) << "bin " << bin;
        EXPECT_NEAR(bar["height"].get<double>(), tallest * bins[bin] / most, 0.2) << "bin " << bin;
    }

    // The score histogram counts the scored pages; the rows come lowest score first, then the
    // pages without one, named by their role, and sorting by score again gives that order.
    std::vector<int> scoreBins(10);
    std::vector<int> scores;
    std::size_t unscored = 0;
    for (const Json& page : pages) {
        if (page["score"].is_null()) {
            ++unscored;
        } else {
            scores.push_back(page["score"]);
            ++scoreBins[std::min(page["score"].get<int>(), 99) / 10];
        }
    }
    ASSERT_EQ(seen["scoreHistogram"].size(), 10u);
    for (std::size_t bin = 0; bin < 10; ++bin) {
        EXPECT_EQ(seen["scoreHistogram"][bin]["count"], scoreBins[bin]) << "bin " << bin;
    }
    std::sort(scores.begin(), scores.end());
    std::vector<std::string> shown;
    for (const int score : scores) {
        shown.push_back(std::to_string(score));
    }
    const std::vector<std::string> initial = seen["initialScores"];
    ASSERT_EQ(initial.size(), pages.size());
    EXPECT_EQ(std::vector<std::string>(initial.begin(), initial.begin() + scores.size()), shown);
    for (std::size_t i = scores.size(); i < initial.size(); ++i) {
        EXPECT_TRUE(initial[i] == "redirect" || initial[i] == "not-indexed") << initial[i];
    }
    EXPECT_EQ(seen["initialSort"][1], "ascending");
    EXPECT_EQ(seen["scoresAscending"], seen["initialScores"]);

    // The common findings: each bar's count is the number of pages with that finding, the
    // most common first.
    const std::map<std::string, int> findings = FindingPages(pages);
    ASSERT_FALSE(seen["findings"].empty());
    int previous = kPages;
    for (const Json& bar : seen["findings"]) {
        const std::string kind =
            bar["kind"].get<std::string>() + "/" + bar["label"].get<std::string>();
        ASSERT_TRUE(findings.contains(kind)) << kind;
        EXPECT_EQ(bar["count"], findings.at(kind)) << kind;
        EXPECT_LE(bar["count"].get<int>(), previous) << kind;
        previous = bar["count"];
    }
    EXPECT_EQ(seen["findings"][0]["count"],
              std::max_element(findings.begin(), findings.end(), [](auto& a, auto& b) {
                  return a.second < b.second;
              })->second);

    // Sorting by rating, up then down, and by file name.
    std::vector<double> ratings;
    for (const Json& text : seen["ratingAscending"]) {
        ratings.push_back(std::stod(text.get<std::string>()));
    }
    EXPECT_TRUE(std::is_sorted(ratings.begin(), ratings.end()));
    ratings.clear();
    for (const Json& text : seen["ratingDescending"]) {
        ratings.push_back(std::stod(text.get<std::string>()));
    }
    EXPECT_TRUE(std::is_sorted(ratings.rbegin(), ratings.rend()));
    EXPECT_EQ(seen["sortAfterAscending"][2], "ascending");
    EXPECT_EQ(seen["sortAfterAscending"][1], "none");
    EXPECT_EQ(seen["sortAfterAscending"][0], "none");
    EXPECT_EQ(seen["sortAfterDescending"][2], "descending");
    std::vector<std::string> files = seen["initialFiles"];
    std::sort(files.begin(), files.end());
    EXPECT_EQ(seen["filesAscending"], files);

    // Opening a row builds its details below it, with the page's checks.
    EXPECT_TRUE(seen["toggleIsButton"]);
    EXPECT_EQ(seen["expandedBefore"], "false");
    EXPECT_EQ(seen["expandedAfter"], "true");
    EXPECT_EQ(seen["detailsId"], seen["controls"]);
    EXPECT_GT(seen["detailChecks"].get<int>(), 5);
    EXPECT_TRUE(seen["detailsFollowRow"]);
    EXPECT_EQ(seen["rowsAfterExpand"], kPages);
}

// axe-core in light and dark colours, with some rows open: no serious or critical violation,
// colour contrast of every text and badge among them.
TEST_F(ReportInBrowser, AxeFindsNoSeriousViolationInLightOrDark) {
    if (!fs::exists(VELMORA_AXE_SCRIPT)) {
        GTEST_SKIP() << VELMORA_AXE_SCRIPT << " was not fetched";
    }
    ASSERT_EQ(RunCli({"report", "--defaults", site().string(), "-o", report().string()}).code, 0);
    const std::string url = ProbedReport({VELMORA_AXE_SCRIPT, VELMORA_AXE_PROBE});
    for (const bool dark : {false, true}) {
        // Tall enough that every row is laid out and its colours can be measured.
        std::vector<std::string> flags{"--dump-dom", "--virtual-time-budget=60000",
                                       "--window-size=1280,6000"};
        if (dark) {
            flags.emplace_back("--force-dark-mode");
        }
        const Json seen = ProbeResult(Chromium(folder_.path(), flags, url), "axe-result");
        ASSERT_FALSE(seen.contains("error")) << seen["error"];
        ASSERT_TRUE(seen.contains("violations"));
        EXPECT_EQ(seen["dark"], dark);
        EXPECT_GT(seen["badges"].get<int>(), 10);
        for (const Json& rule : seen["violations"]) {
            EXPECT_TRUE(rule["impact"] != "serious" && rule["impact"] != "critical")
                << (dark ? "dark: " : "light: ") << rule.dump(2);
        }
    }
}

TEST_F(ReportInBrowser, Screenshots) {
    ASSERT_EQ(RunCli({"report", "--defaults", site().string(), "-o", report().string()}).code, 0);
    fs::create_directories(VELMORA_SCREENSHOTS);
    const fs::path plain = fs::path(VELMORA_SCREENSHOTS) / "site_report.png";
    const fs::path opened = fs::path(VELMORA_SCREENSHOTS) / "site_report_opened.png";
    fs::remove(plain);
    fs::remove(opened);
    Chromium(folder_.path(), {"--screenshot=" + plain.string(), "--window-size=1280,900"},
             "file://" + report().string());
    // Tall enough to show the opened page's checks below the charts.
    Chromium(folder_.path(), {"--screenshot=" + opened.string(), "--window-size=1280,1500"},
             ProbedReport());
    EXPECT_GT(fs::file_size(plain), 10000u);
    EXPECT_GT(fs::file_size(opened), 10000u);

    // The report printed to PDF with its print style, to look at beside the screenshots.
    const fs::path printed = fs::path(VELMORA_SCREENSHOTS) / "site_report.pdf";
    fs::remove(printed);
    Chromium(folder_.path(), {"--print-to-pdf=" + printed.string(), "--no-pdf-header-footer"},
             "file://" + report().string());
    ASSERT_TRUE(fs::exists(printed));
    EXPECT_TRUE(test::ReadBytes(printed).starts_with("%PDF-"));
}

}  // namespace
}  // namespace velmora::cli
