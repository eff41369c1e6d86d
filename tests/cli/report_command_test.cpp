// velmora-cli report, run in process on real files: what it writes, what it says, and that a
// failure leaves no half report behind.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/support/cli_runner.h"
#include "tests/support/file_bytes.h"

namespace velmora::cli {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

using test::RunCli;

std::string Page(const std::string& title) {
    return "<html lang=\"en\"><head><title>" + title +
           "</title><meta name=\"description\" content=\"Bread and cakes\"></head>"
           "<body><h1>Bakery</h1><p>bread cakes bread</p></body></html>\n";
}

// The pages' data the report's script reads.
Json ReportData(const fs::path& report) {
    const std::string html = test::ReadBytes(report);
    const std::string open = "<script type=\"application/json\" id=\"report-data\">";
    const std::size_t start = html.find(open);
    if (start == std::string::npos) {
        ADD_FAILURE() << "no data in " << report;
        return Json::object();
    }
    const std::size_t begin = start + open.size();
    return Json::parse(html.substr(begin, html.find("</script>", begin) - begin));
}

std::vector<std::string> Files(const Json& data) {
    std::vector<std::string> files;
    for (const Json& page : data["pages"]) {
        files.push_back(page["file"]);
    }
    return files;
}

// The check ids of the report's page `index`.
std::vector<std::string> CheckIds(const Json& data, std::size_t index) {
    std::vector<std::string> ids;
    for (const Json& check : data["pages"][index]["checks"]) {
        ids.push_back(data["texts"][check[0].get<std::size_t>()]);
    }
    return ids;
}

// Names in folder other than the ones expected: a temporary file left behind shows here.
std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class ReportCommand : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(site());
        test::WriteBytes(site() / "a.html", Page("Fresh bread"));
        test::WriteBytes(site() / "b.html", Page("FRESH BREAD"));
        test::WriteBytes(site() / "c.html", Page("Cakes"));
        fs::create_directories(out());
    }

    fs::path site() const { return folder_.path() / "site"; }
    fs::path out() const { return folder_.path() / "out"; }
    std::string report() const { return (out() / "report.html").string(); }

    test::TemporaryFolder folder_;
};

TEST_F(ReportCommand, WritesEveryPageInOrderWithTheChecksThatComparePages) {
    const test::CliRun run =
        RunCli({"report", "--defaults", "-j", "2", site().string(), "-o", report()});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Wrote " + report() + " (3 pages)\n");
    EXPECT_EQ(Entries(out()), std::vector<std::string>{"report.html"});

    const Json data = ReportData(report());
    EXPECT_EQ(Files(data),
              (std::vector<std::string>{(site() / "a.html").string(), (site() / "b.html").string(),
                                        (site() / "c.html").string()}));
    // Titles equal but for letter case are duplicates, as analyze finds them.
    const std::vector<std::string> a = CheckIds(data, 0);
    EXPECT_NE(std::find(a.begin(), a.end(), "duplicate-title"), a.end());
    const std::vector<std::string> c = CheckIds(data, 2);
    EXPECT_EQ(std::find(c.begin(), c.end(), "duplicate-title"), c.end());
    EXPECT_EQ(data["pages"][2]["title"], "Cakes");
    EXPECT_EQ(data["pages"][2]["titleChars"], 5);
}

TEST_F(ReportCommand, TakesAnalyzesPageCheckFlags) {
    const test::CliRun run =
        RunCli({"report", "--defaults", "--skip-check", "title", "--skip-check", "duplicate-title",
                (site() / "a.html").string(), "-o", report()});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<std::string> ids = CheckIds(ReportData(report()), 0);
    EXPECT_EQ(std::find(ids.begin(), ids.end(), "title"), ids.end());
    EXPECT_NE(std::find(ids.begin(), ids.end(), "description"), ids.end());
}

TEST_F(ReportCommand, UnreadablePagesAreNamedAndTheRestReported) {
    const std::string missing = (site() / "missing.html").string();
    const test::CliRun run =
        RunCli({"report", "--defaults", missing, (site() / "c.html").string(), "-o", report()});
    EXPECT_EQ(run.code, 3);
    EXPECT_NE(run.err.find(missing), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Wrote " + report() + " (1 page)\n"), std::string::npos) << run.err;
    EXPECT_EQ(Files(ReportData(report())), std::vector<std::string>{(site() / "c.html").string()});
}

// A folder without pages beside one page leaves one page found, which is compared with no
// other, in the report as in analyze.
TEST_F(ReportCommand, ComparesPagesAsAnalyzeDoesOnlyWhenMoreThanOneIsFound) {
    fs::create_directories(site() / "empty");
    const std::vector<std::string> inputs{(site() / "empty").string(),
                                          (site() / "c.html").string()};
    const test::CliRun run = RunCli({"report", "--defaults", inputs[0], inputs[1], "-o", report()});
    ASSERT_EQ(run.code, 0) << run.err;
    const test::CliRun analyzed = RunCli({"analyze", "--defaults", "--json", inputs[0], inputs[1]});
    const Json line = Json::parse(analyzed.out);
    std::vector<std::string> analyzedIds;
    for (const Json& check : line["checks"]) {
        analyzedIds.push_back(check["id"]);
    }
    EXPECT_EQ(CheckIds(ReportData(report()), 0), analyzedIds);
    EXPECT_EQ(std::count(analyzedIds.begin(), analyzedIds.end(), "orphan"), 0);
}

TEST_F(ReportCommand, ReplacesAnOldReportWholeWithTheUsualModes) {
    test::WriteBytes(report(), "old report");
    const mode_t mask = ::umask(022);
    const test::CliRun run = RunCli({"report", "--defaults", site().string(), "-o", report()});
    ::umask(mask);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(test::ReadBytes(report()).rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_EQ(fs::status(report()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
    EXPECT_EQ(Entries(out()), std::vector<std::string>{"report.html"});
}

TEST_F(ReportCommand, AReportThatCannotBeWrittenLeavesNothing) {
    // A folder that does not exist, and a name taken by a folder.
    const std::string nowhere = (out() / "no-folder" / "report.html").string();
    test::CliRun run = RunCli({"report", "--defaults", site().string(), "-o", nowhere});
    EXPECT_EQ(run.code, 3);
    EXPECT_NE(run.err.find("Cannot write '" + nowhere + "'"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("Wrote"), std::string::npos);

    fs::create_directory(out() / "taken");
    const std::string taken = (out() / "taken").string();
    run = RunCli({"report", "--defaults", site().string(), "-o", taken});
    EXPECT_EQ(run.code, 3);
    EXPECT_NE(run.err.find("Cannot write '" + taken + "'"), std::string::npos) << run.err;
    EXPECT_EQ(Entries(out()), std::vector<std::string>{"taken"});
    EXPECT_TRUE(fs::is_empty(out() / "taken"));
}

TEST_F(ReportCommand, DashWritesTheReportToStandardOutput) {
    const fs::path here = fs::current_path();
    fs::current_path(out());
    const test::CliRun run = RunCli({"report", "--defaults", site().string(), "-o", "-"});
    fs::current_path(here);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(run.out.starts_with("<!DOCTYPE html>")) << run.out.substr(0, 40);
    EXPECT_TRUE(fs::is_empty(out()));
    EXPECT_EQ(run.err.find("Wrote"), std::string::npos);
}

TEST_F(ReportCommand, UsageErrors) {
    // No output file, no pages, a bad job count.
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"report", site().string()},
             {"report", "-o", report()},
             {"report", "-j", "0", site().string(), "-o", report()},
         }) {
        const test::CliRun run = RunCli(arguments);
        EXPECT_EQ(run.code, 2) << arguments.back();
        EXPECT_NE(run.err, "");
    }
    EXPECT_FALSE(fs::exists(report()));
}

}  // namespace
}  // namespace velmora::cli
