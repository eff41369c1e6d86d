// velmora-cli's command line run in process: the version and help, exit codes and usage errors,
// settings flags, and the pages a run names, in order whatever the threads.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "cli/messages.h"
#include "tests/cli/cli_test_fixture.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::CompletePage;
using test::HostingPage;
using test::Json;
using test::JsonLines;
using test::ReadBytes;
using test::RunResult;
using test::VelmoraCli;

TEST_F(VelmoraCli, VersionAndHelpForEveryCommand) {
    const RunResult version = Run({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, std::string("velmora-cli ") + VELMORA_VERSION_TEXT + " (build " +
                               VELMORA_BUILD_NUMBER + ")\n");

    for (const std::string command :
         {"analyze", "set-title", "set-description", "set-keywords", "auto-keywords", "compress"}) {
        const RunResult help = Run({command, "--help"});
        EXPECT_EQ(help.code, 0) << command;
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
        EXPECT_NE(help.out.find("--max-keywords"), std::string::npos) << command;
        EXPECT_NE(help.out.find("--defaults"), std::string::npos) << command;
        EXPECT_EQ(help.out.find("--stdout") == std::string::npos, command == "analyze") << command;
        EXPECT_EQ(help.out.find("--keep-order") != std::string::npos, command == "set-keywords");
    }
    // Each command's exit codes name only the flags it has.
    for (const std::string command : {"report", "duplicates", "set-title", "compress"}) {
        const RunResult help = Run({command, "--help"});
        EXPECT_EQ(help.out.find("--fail-under"), std::string::npos) << command;
        EXPECT_NE(help.out.find("Exit codes: 0 done, 2 usage error, 3 "), std::string::npos);
    }
    EXPECT_NE(Run({"analyze", "--help"}).out.find("below --fail-under"), std::string::npos);
    EXPECT_NE(Run({"site", "--help"}).out.find("1 a page with a site check in the --fail-on"),
              std::string::npos);
}

// Everything a run says goes to the outputs it was given: none of it reaches the process's own
// standard output or error, which belong to whoever runs the command line in process.
TEST_F(VelmoraCli, NothingReachesTheProcessStreams) {
    const fs::path good = Page("good.htm", CompletePage("alpha", "alpha, beta"));
    const fs::path mixed = Page("mixed.htm", "<html>\r\n<head>\n<title>Old</title>\r\n</head>\n");
    const std::vector<std::vector<std::string>> runs{
        {"--help"},
        {"--version"},
        {"analyze", "--help"},
        {"analyze", "--fail-under", "100", good.string(), (root_ / "missing.htm").string()},
        {"analyze", "--json", "-j", "2", good.string(), good.string()},
        {"analyze", "--bogus"},
        {"publish"},
        {"set-title", mixed.string(), "New", "--stdout"},
        {"set-title", mixed.string(), "New"},
    };
    std::fflush(stdout);
    std::fflush(stderr);
    const int savedOut = dup(STDOUT_FILENO);
    const int savedErr = dup(STDERR_FILENO);
    const int sink = open((root_ / "streams").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(sink, 0);
    dup2(sink, STDOUT_FILENO);
    dup2(sink, STDERR_FILENO);
    std::vector<RunResult> results;
    for (const std::vector<std::string>& arguments : runs) {
        results.push_back(Run(arguments));
    }
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(savedOut, STDOUT_FILENO);
    dup2(savedErr, STDERR_FILENO);
    close(sink);
    close(savedOut);
    close(savedErr);

    EXPECT_EQ(ReadBytes(root_ / "streams"), "");
    for (std::size_t i = 0; i < runs.size(); ++i) {
        EXPECT_FALSE(results[i].out.empty() && results[i].err.empty()) << runs[i][0];
    }
}

TEST_F(VelmoraCli, ExitCodesAndOneLineErrors) {
    const fs::path good = Page("good.htm", CompletePage("alpha", "alpha, beta"));
    const fs::path bare = Page("bare.htm", "<html><body>nothing</body></html>");
    const std::string missing = (root_ / "missing.htm").string();

    RunResult run = Run({"analyze", "--fail-under", "50", good.string(), bare.string()});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "velmora-cli: " + bare.string() + ": rating 0 is below 50\n");
    EXPECT_EQ(Run({"analyze", "--fail-under", "0", good.string(), bare.string()}).code, 0);

    run = Run({"analyze", "--json", "--fail-under", "50", missing, good.string(), bare.string()});
    EXPECT_EQ(run.code, 3);
    EXPECT_EQ(JsonLines(run.out).size(), 2u);
    EXPECT_NE(run.err.find("velmora-cli: " + missing + ": No such file or directory\n"),
              std::string::npos);

    // Pages that cannot be read, and pages that are odd but readable.
    std::string binary;
    for (int i = 0; i < 70000; ++i) {
        binary.push_back(static_cast<char>((i * 7919) % 256));
    }
    const fs::path odd = Page("binary.htm", binary);
    const fs::path empty = Page("empty.htm", "");
    const fs::path utf16 = Page("utf16.htm", std::string("\xFF\xFEh\0i\0", 6));
    const std::string throughFile = good.string() + "/inside.htm";
    run = Run({"analyze", "--json", odd.string(), empty.string(), utf16.string(), throughFile,
               root_.string() + "/site-that-is-not-there"});
    EXPECT_EQ(run.code, 3);
    const std::vector<Json> lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1]["rating_text"], "  0%");
    EXPECT_NE(run.err.find("velmora-cli: " + utf16.string() + ": "), std::string::npos);
    EXPECT_NE(run.err.find("velmora-cli: " + throughFile + ": Not a directory\n"),
              std::string::npos);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 3);

    // Usage errors name the flag or the command.
    const std::vector<std::pair<std::vector<std::string>, std::string>> usage{
        {{"analyze", "--min-occurrences", "0", good.string()}, "--min-occurrences"},
        {{"analyze", "--max-occurrences", "abc", good.string()}, "--max-occurrences"},
        {{"analyze", "--min-keywords", "99999999999", good.string()}, "--min-keywords"},
        {{"analyze", "--max-keywords", "0x10", good.string()}, "--max-keywords"},
        {{"analyze", "--spam-limit", "-1", good.string()}, "--spam-limit"},
        {{"analyze", "--one-in-every", "101", good.string()}, "--one-in-every"},
        {{"analyze", "--case", "upper", good.string()}, "--case"},
        {{"analyze", "-j", "0", good.string()}, "--jobs"},
        {{"analyze", "-j", "1025", good.string()}, "--jobs"},
        {{"analyze", "--fail-under", "x", good.string()}, "--fail-under"},
        {{"analyze", "--bogus", good.string()}, "--bogus"},
        {{"set-title", good.string(), "t", "--keep-order"}, "--keep-order"},
        {{"publish", good.string()}, "publish: unknown command"},
        {{"analyze"}, "no pages named"},
    };
    for (const auto& [arguments, named] : usage) {
        run = Run(arguments);
        EXPECT_EQ(run.code, 2) << named;
        EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.out, "");
    }

    // Running out of memory on a page names the page, never as a file error.
    EXPECT_EQ(cli::PageProblemLine(good.string(), std::bad_alloc()),
              "velmora-cli: out of memory while reading " + good.string() + "\n");
}

TEST_F(VelmoraCli, FlagsOverrideTheStoredSettings) {
    StoreSettings(
        "[General]\nMaximumRecommendedTags=1\nMinimumRecommendedTags=1\nKeywordCase=abc\n");
    const std::string store = ReadBytes(SettingsFile());
    const fs::path page = Page("hosting.htm", HostingPage());
    const auto report = [&](std::vector<std::string> flags) {
        flags.insert(flags.begin(), {"analyze", "--json"});
        flags.push_back(page.string());
        const RunResult run = Run(flags);
        EXPECT_EQ(run.code, 0) << run.err;
        return JsonLines(run.out).at(0);
    };
    const auto hasAdvice = [](const Json& line, const std::string& advice) {
        return std::find(line["advice"].begin(), line["advice"].end(), advice) !=
               line["advice"].end();
    };

    const Json stored = report({});
    EXPECT_EQ(stored["auto_keywords"].size(), 1u);
    EXPECT_TRUE(hasAdvice(stored, "Too many keywords"));
    EXPECT_TRUE(stored["duplicate_keywords"]);  // the unreadable case mode fell back to mixed
    EXPECT_GT(report({"--defaults"})["auto_keywords"].size(), 2u);
    EXPECT_EQ(report({"--max-keywords", "2"})["auto_keywords"].size(), 2u);
    EXPECT_FALSE(report({"--case", "sensitive"})["duplicate_keywords"]);
    EXPECT_EQ(report({"--case", "lower"})["good_candidates"][0]["text"], "cheap");

    const Json uncompressed = report({"--no-compression"});
    EXPECT_GT(uncompressed["space_to_remove"], 0);
    EXPECT_FALSE(
        hasAdvice(uncompressed, "File contains " +
                                    std::to_string(uncompressed["space_to_remove"].get<int>()) +
                                    " bytes of unnecessary space."));
    EXPECT_EQ(report({"--min-occurrences", "5"})["good_keywords"], 1);
    EXPECT_EQ(report({"--max-occurrences", "2", "--one-in-every", "100"})["good_keywords"], 0);
    EXPECT_EQ(report({"--spam-limit", "1", "--defaults"})["spammed_word"], "domain");
    EXPECT_TRUE(
        hasAdvice(report({"--min-keywords", "5", "--defaults"}), "Not enough good keywords"));
    EXPECT_EQ(ReadBytes(SettingsFile()), store);
}

TEST_F(VelmoraCli, DirectoriesGiveSortedPagesAndParallelOutputKeepsInputOrder) {
    Page("site/b.htm", CompletePage("b", "alpha"));
    Page("site/a.HTML", CompletePage("a", "alpha"));
    Page("site/sub/c.php", CompletePage("c", "alpha"));
    Page("site/notes.txt", "not a page");
    Page("empty-site/readme.txt", "nothing");
    const RunResult run =
        Run({"analyze", "--json", (root_ / "site").string(), (root_ / "empty-site").string()});
    EXPECT_EQ(run.code, 0);
    std::vector<std::string> files;
    for (const Json& line : JsonLines(run.out)) {
        files.push_back(line["file"]);
    }
    const std::string site = (root_ / "site").string();
    EXPECT_EQ(files,
              (std::vector<std::string>{site + "/a.HTML", site + "/b.htm", site + "/sub/c.php"}));
    EXPECT_NE(run.err.find("empty-site: no .htm, .html or .php files"), std::string::npos);

    // Big and small pages mixed, so that the workers finish out of order.
    std::vector<std::string> arguments{"analyze", "--json", "-j", "2"};
    for (int i = 0; i < 12; ++i) {
        std::string body(i % 3 == 0 ? 200000 : 10, ' ');
        for (std::size_t at = 0; at < body.size(); at += 7) {
            body.replace(at, 5, "word" + std::to_string(i % 10));
        }
        arguments.push_back(
            Page("order/p" + std::to_string(i) + ".htm", CompletePage("t", "word1") + body)
                .string());
    }
    const RunResult parallel = Run(arguments);
    arguments[3] = "1";
    const RunResult serial = Run(arguments);
    ASSERT_EQ(parallel.code, 0) << parallel.err;
    EXPECT_EQ(parallel.out, serial.out);
    const std::vector<Json> lines = JsonLines(parallel.out);
    ASSERT_EQ(lines.size(), 12u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i]["file"], arguments[4 + i]);
    }
}

TEST_F(VelmoraCli, LargePageIsAnalysed) {
    const fs::path big = Page("big.htm", "<html><head><title>Big</title></head><body><div x=\"" +
                                             std::string(50 * 1024 * 1024, 'x') +
                                             "\">hello world</div></body></html>");
    const RunResult run = Run({"analyze", "--json", big.string()});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(JsonLines(run.out).at(0)["title"], "Big");
}

}  // namespace
}  // namespace velmora
