// Runs the built velmora-cli on real files in a temporary folder, with its own settings store
// (XDG_CONFIG_HOME) and temporary folder (TMPDIR).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/keyword_choice.h"
#include "core/html_functions_read.h"
#include "document/velmora_data.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

struct RunResult {
    int code = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<Json> JsonLines(const std::string& text) {
    std::vector<Json> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(Json::parse(line));
    }
    return lines;
}

// A page whose analysis touches every field: CR LF line breaks as a loaded page has them.
std::string HostingPage(const std::string& keywords = "domain, web hosting, Domain, web shop") {
    return "<html>\r\n<head>\r\n<title>Cheap web hosting</title>\r\n"
           "<meta name=\"description\" content=\"Web hosting\r\nwith a domain\">\r\n"
           "<meta name=\"keywords\" content=\"" +
           keywords +
           "\">\r\n</head>\r\n<body>\r\n<p>Web hosting   and domain, web hosting plans.</p>\r\n"
           "<p>domain names, web hosting for you; cheap web hosting, a domain.</p>\r\n"
           "</body>\r\n</html>\r\n";
}

std::string CompletePage(const std::string& title, const std::string& keywords) {
    return "<html><head><title>" + title +
           "</title><meta name=\"description\" content=\"d\"><meta name=\"keywords\" content=\"" +
           keywords + "\"></head><body>alpha alpha beta beta gamma gamma</body></html>\r\n";
}

class VelmoraCli : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "velmora-cli-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        fs::create_directories(root_ / "tmp");
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path Page(const std::string& name, const std::string& bytes) {
        WriteFile(root_ / name, bytes);
        return root_ / name;
    }

    // In a forked child: runs velmora-cli with the test's settings and backup folders and the
    // given standard output and error.
    [[noreturn]] void ExecCli(int out, int err, const std::vector<std::string>& arguments) const {
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
        setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(VELMORA_CLI)};
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        execv(VELMORA_CLI, argv.data());
        _exit(127);
    }

    // With terminalError, standard error is a pseudo-terminal, as in an interactive shell.
    RunResult Run(const std::vector<std::string>& arguments, bool terminalError = false) {
        const fs::path out = root_ / "stdout";
        const fs::path err = root_ / "stderr";
        const int terminal = terminalError ? posix_openpt(O_RDWR | O_NOCTTY) : -1;
        if (terminal >= 0) {
            grantpt(terminal);
            unlockpt(terminal);
        }
        const pid_t child = fork();
        if (child == 0) {
            const int outFile = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int errFile = terminal >= 0
                                    ? open(ptsname(terminal), O_WRONLY | O_NOCTTY)
                                    : open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ExecCli(outFile, errFile, arguments);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (terminal < 0) {
            return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
        }
        std::string shown;
        char buffer[4096];
        for (ssize_t n; (n = read(terminal, buffer, sizeof buffer)) > 0;) {
            shown.append(buffer, static_cast<std::size_t>(n));
        }
        close(terminal);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), shown};
    }

    // Runs with standard output on /dev/full, or on a pipe whose reader is gone; the child may
    // inherit an ignored broken-pipe signal, as under some CI runners. Returns the wait status.
    enum class Output { Full, ClosedPipe };
    int RunToFailingOutput(const std::vector<std::string>& arguments, Output output,
                           bool ignorePipeSignal, std::string& err) {
        const fs::path errPath = root_ / "stderr";
        int pipeEnds[2] = {-1, -1};
        if (output == Output::ClosedPipe) {
            EXPECT_EQ(pipe(pipeEnds), 0);
            close(pipeEnds[0]);
        }
        const pid_t child = fork();
        if (child == 0) {
            const int outFile = output == Output::Full ? open("/dev/full", O_WRONLY) : pipeEnds[1];
            signal(SIGPIPE, ignorePipeSignal ? SIG_IGN : SIG_DFL);
            ExecCli(outFile, open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), arguments);
        }
        if (pipeEnds[1] >= 0) {
            close(pipeEnds[1]);
        }
        int status = 0;
        waitpid(child, &status, 0);
        err = ReadFile(errPath);
        return status;
    }

    fs::path BackupFolder() const {
        return root_ / "tmp" / ("velmora-backups-" + std::to_string(::geteuid()));
    }

    std::size_t BackupCount() const {
        if (!fs::exists(BackupFolder())) {
            return 0;
        }
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(BackupFolder()), fs::directory_iterator()));
    }

    fs::path root_;
};

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
}

TEST_F(VelmoraCli, JsonReportHasEveryFieldAndAgreesWithTheDocument) {
    const fs::path page = Page("hosting.htm", HostingPage());
    const RunResult run = Run({"analyze", "--json", "--defaults", page.string()});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<Json> lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), 1u);
    const Json& report = lines[0];

    std::vector<std::string> keys;
    for (const auto& item : report.items()) {
        keys.push_back(item.key());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"format",          "file",
                                              "encoding",        "title",
                                              "description",     "keywords_text",
                                              "keywords",        "keyword_count",
                                              "good_keywords",   "bad_keywords",
                                              "optimal_order",   "duplicate_keywords",
                                              "spammed_word",    "line_break_in_description",
                                              "space_to_remove", "word_count",
                                              "rating",          "rating_text",
                                              "advice",          "findings",
                                              "keyword_details", "good_candidates",
                                              "auto_keywords",   "checks",
                                              "checks_summary"}));

    KelVelmoraOptions options;
    KelVelmoraData document;
    document.Load(page.string(), options);
    EXPECT_EQ(report["format"], 1);
    EXPECT_EQ(report["file"], page.string());
    EXPECT_EQ(report["encoding"], "windows-1252");
    EXPECT_EQ(report["title"], "Cheap web hosting");
    EXPECT_EQ(report["description"], "Web hosting\r\nwith a domain");
    EXPECT_EQ(report["keywords_text"], "domain, web hosting, Domain, web shop");
    EXPECT_EQ(report["keywords"], Json(document.Keywords));
    EXPECT_EQ(report["keyword_count"], 4);
    EXPECT_EQ(report["good_keywords"], document.GetGoodKeywordCount());
    EXPECT_EQ(report["bad_keywords"], 1);
    EXPECT_EQ(report["optimal_order"], false);
    EXPECT_EQ(report["duplicate_keywords"], true);
    EXPECT_EQ(report["spammed_word"], "");
    EXPECT_EQ(report["line_break_in_description"], true);
    EXPECT_EQ(report["space_to_remove"], document.SpaceToRemove);
    EXPECT_GT(report["space_to_remove"], 0);
    EXPECT_EQ(report["word_count"], document.GetWordCount());
    EXPECT_EQ(report["rating"].get<float>(), document.CheckList.Rating);
    EXPECT_EQ(report["rating_text"], document.GetRatingText());
    EXPECT_EQ(report["advice"], Json(document.GetAdvice()));
    ASSERT_EQ(report["findings"].size(), document.GetAdvice().size());
    EXPECT_EQ(report["findings"][0]["title"], document.CheckList.Titles[0]);
    EXPECT_EQ(report["findings"][0]["advice"], document.GetAdvice()[0]);

    const Json& details = report["keyword_details"];
    ASSERT_EQ(details.size(), 4u);
    EXPECT_EQ(details[0], Json({{"keyword", "domain"},
                                {"occurrences", 3},
                                {"good", true},
                                {"duplicate", false},
                                {"score", 3 * 10 + 6}}));
    EXPECT_EQ(details[2]["duplicate"], true);
    EXPECT_EQ(details[3]["good"], false);
    EXPECT_EQ(details[1]["score"], 5 * 10 + 9 + 100);

    const PrimedKeywordChoice primed =
        PrimeKeywordChoice(document.Keywords, document.GetWordCount(), document.GetCandidateList(),
                           GetTitle(document.Html), options);
    const Json& candidates = report["good_candidates"];
    ASSERT_EQ(candidates.size(), primed.GoodCandidates.size());
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        EXPECT_EQ(candidates[i]["text"], primed.GoodCandidates[i]);
        EXPECT_EQ(candidates[i]["is_keyword"], primed.GoodCandidates[i] == "domain" ||
                                                   primed.GoodCandidates[i] == "web hosting");
    }
    EXPECT_EQ(report["auto_keywords"],
              Json(AutoKeywords(document.Keywords, document.GetWordCount(),
                                document.GetCandidateList(), GetTitle(document.Html), options)));
}

TEST_F(VelmoraCli, RatingReadsBackToTheSameFloatAndTextIsUtf8) {
    const fs::path oneBad = Page("one.htm", CompletePage("alpha", "alpha, beta, zz"));
    const fs::path twoBad = Page("two.htm", CompletePage("alpha", "alpha, beta, zz, yy"));
    const fs::path latin = Page("latin.htm", CompletePage("caf\xE9 \x80", "alpha"));
    const fs::path utf8 = Page("utf8.htm", CompletePage("caf\xC3\xA9", "alpha"));
    const RunResult run = Run({"analyze", "--json", "--defaults", oneBad.string(), twoBad.string(),
                               latin.string(), utf8.string()});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("\"rating\":90.25,"), std::string::npos);

    std::smatch rating;
    ASSERT_TRUE(
        std::regex_search(run.out, rating, std::regex("two\\.htm\"[^\\n]*?\"rating\":([^,]+),")));
    ASSERT_EQ(rating.size(), 2u);
    KelVelmoraData document;
    document.Load(twoBad.string(), KelVelmoraOptions());
    EXPECT_EQ(std::strtof(rating[1].str().c_str(), nullptr), document.CheckList.Rating);
    EXPECT_EQ(rating[1].str(), "85.7375");

    const std::vector<Json> lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2]["encoding"], "windows-1252");
    EXPECT_EQ(lines[2]["title"], "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(lines[3]["encoding"], "utf-8");
    EXPECT_EQ(lines[3]["title"], "caf\xC3\xA9");
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

TEST_F(VelmoraCli, ReadableReportWithSummary) {
    const fs::path good = Page("good.htm", CompletePage("alpha", "alpha, beta"));
    const fs::path bare = Page("bare.htm", "<html><body>nothing</body></html>");
    const RunResult run = Run({"analyze", "--defaults", good.string(), bare.string()});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find(good.string() + "\n  Rating:          100%"), std::string::npos);
    EXPECT_NE(run.out.find("Add a description"), std::string::npos);
    EXPECT_NE(run.out.find("Summary: 2 pages analysed, average rating 50.0%"), std::string::npos);
    EXPECT_NE(run.out.find("Lowest rated:\n      0%  " + bare.string()), std::string::npos);
    EXPECT_EQ(run.err, "");  // no progress bar when standard error is not a terminal

    const RunResult shown = Run({"analyze", "--json", good.string(), bare.string()}, true);
    EXPECT_EQ(shown.code, 0);
    EXPECT_NE(shown.err.find("] 2/2 pages"), std::string::npos) << shown.err;
    EXPECT_EQ(JsonLines(shown.out).size(), 2u);
    EXPECT_EQ(Run({"analyze", "--json", good.string()}, true).err, "");
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
        {{"analyze"}, "required"},
    };
    for (const auto& [arguments, named] : usage) {
        run = Run(arguments);
        EXPECT_EQ(run.code, 2) << named;
        EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

// Every text taken from a Windows-1252 page reaches both reports as UTF-8, the advice line that
// quotes the spammed word included.
TEST_F(VelmoraCli, EveryTextOfAWindows1252PageIsDecoded) {
    const std::string brulee =
        "br\xFBl\xE9"
        "e";
    const std::string bruleeUtf8 =
        "br\xC3\xBBl\xC3\xA9"
        "e";
    const fs::path page =
        Page("latin.htm", "<html><head><title>Cr\xE8me " + brulee +
                              "</title><meta name=\"description\" content=\"Caf\xE9 " + brulee +
                              "\"><meta name=\"keywords\" content=\"cr\xE8me " + brulee + ", " +
                              brulee + " tart, " + brulee + " cake, " + brulee +
                              " pie\"></head><body>" + brulee + " tart, cr\xE8me " + brulee + ". " +
                              brulee + " tart and cr\xE8me " + brulee + ".</body></html>\r\n");
    const std::string advice =
        "Keyword \"" + bruleeUtf8 + "\" used too often, reduce usage (keyword spamming)";

    const RunResult json = Run({"analyze", "--json", "--defaults", page.string()});
    ASSERT_EQ(json.code, 0) << json.err;
    const Json report = JsonLines(json.out).at(0);
    EXPECT_EQ(report["encoding"], "windows-1252");
    EXPECT_EQ(report["spammed_word"], bruleeUtf8);
    EXPECT_EQ(report["advice"][1], advice);
    EXPECT_EQ(report["findings"][1]["advice"], advice);
    EXPECT_EQ(report["keyword_details"][1]["keyword"], bruleeUtf8 + " tart");
    EXPECT_FALSE(report["good_candidates"].empty());
    EXPECT_NE(json.out.find("\"text\":\"" + bruleeUtf8 + " tart\""), std::string::npos);
    // No text lost a byte to the replacement character on the way.
    EXPECT_EQ(json.out.find("\xEF\xBF\xBD"), std::string::npos) << json.out;

    const RunResult text = Run({"analyze", "--defaults", page.string()});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_NE(text.out.find("                   " + advice + "\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("Cr\xC3\xA8me " + bruleeUtf8), std::string::npos);
    EXPECT_EQ(text.out.find(brulee), std::string::npos);
}

// A full disk and a reader that went away, as a CI job meets them.
TEST_F(VelmoraCli, WriteErrorsFailWithExitThreeAndClosedPipesEndQuietly) {
    const fs::path page = Page("good.htm", CompletePage("alpha", "alpha, beta"));
    const std::string noSpace = "velmora-cli: standard output: No space left on device\n";
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"analyze", "--json", page.string()},
          {"analyze", page.string(), page.string()},
          {"--version"},
          {"analyze", "--help"}}) {
        std::string err;
        const int status = RunToFailingOutput(arguments, Output::Full, false, err);
        ASSERT_TRUE(WIFEXITED(status)) << arguments[0];
        EXPECT_EQ(WEXITSTATUS(status), 3) << arguments.back();
        EXPECT_EQ(err, noSpace);
    }

    // Ended by the broken-pipe signal with nothing said, even when the signal was ignored.
    std::vector<std::string> many{"analyze", "--json", "-j", "2"};
    for (int i = 0; i < 40; ++i) {
        many.push_back(page.string());
    }
    for (const bool ignored : {false, true}) {
        std::string err;
        const int status = RunToFailingOutput(many, Output::ClosedPipe, ignored, err);
        ASSERT_TRUE(WIFSIGNALED(status)) << ignored;
        EXPECT_EQ(WTERMSIG(status), SIGPIPE);
        EXPECT_EQ(err, "");
    }
}

// Control characters from pages and file names are shown as escapes: none reaches the terminal
// and no text starts a line of its own.
TEST_F(VelmoraCli, ReadableReportEscapesControlCharacters) {
    const fs::path latin =
        Page("odd\nname\x1B[2J.htm",
             "<html><head><title>T\x1B]0;owned\x07 \x81 end</title><meta name=\"description\" "
             "content=\"a\x7F b\x1B[8m\"><meta name=\"keywords\" content=\"alpha\x1B[31m, beta\x7F"
             "\"></head><body>alpha alpha</body></html>\r\n");
    const fs::path utf8 = Page("utf8.htm", CompletePage("caf\xC3\xA9 \xC2\x9B"
                                                        "1m",
                                                        "alpha \xC2\x85 x, beta"));
    const RunResult run = Run({"analyze", "--defaults", latin.string(), utf8.string()});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string escapedName = (root_ / "odd\\nname\\x1b[2J.htm").string();
    EXPECT_NE(run.out.find(escapedName + "\n  Rating:"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  " + escapedName + "\n"), std::string::npos);  // in the summary
    EXPECT_NE(run.out.find("Title:           T\\x1b]0;owned\\x07 \\u0081 end\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("Description:     a\\x7f b\\x1b[8m\n"), std::string::npos);
    EXPECT_NE(run.out.find("Keywords:        alpha\\x1b[31m, beta\\x7f ("), std::string::npos);
    EXPECT_NE(run.out.find("    alpha\\x1b[31m: "), std::string::npos);
    EXPECT_NE(run.out.find("Title:           caf\xC3\xA9 \\u009b1m\n"), std::string::npos);
    EXPECT_NE(run.out.find("alpha \\u0085 x, beta"), std::string::npos);
    for (std::size_t i = 0; i < run.out.size(); ++i) {
        const auto c = static_cast<unsigned char>(run.out[i]);
        EXPECT_TRUE((c >= 0x20 && c != 0x7F) || c == '\n') << "byte " << i << ": " << int{c};
        if (c == 0xC2 && i + 1 < run.out.size()) {
            EXPECT_GE(static_cast<unsigned char>(run.out[i + 1]), 0xA0) << "C1 control at " << i;
        }
    }

    // A problem line names the file in one line too.
    const RunResult missing = Run({"analyze", (root_ / "gone\n.htm").string()});
    EXPECT_EQ(missing.code, 3);
    EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1) << missing.err;
    EXPECT_NE(missing.err.find("gone\\n.htm: No such file or directory"), std::string::npos);
}

TEST_F(VelmoraCli, LargePageIsAnalysed) {
    const fs::path big = Page("big.htm", "<html><head><title>Big</title></head><body><div x=\"" +
                                             std::string(50 * 1024 * 1024, 'x') +
                                             "\">hello world</div></body></html>");
    const RunResult run = Run({"analyze", "--json", big.string()});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(JsonLines(run.out).at(0)["title"], "Big");
}

TEST_F(VelmoraCli, FlagsOverrideTheStoredSettings) {
    WriteFile(root_ / "config/Kelgard/HtmlVelmora.conf",
              "[General]\nMaximumRecommendedTags=1\nMinimumRecommendedTags=1\nKeywordCase=abc\n");
    const std::string store = ReadFile(root_ / "config/Kelgard/HtmlVelmora.conf");
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
    EXPECT_EQ(ReadFile(root_ / "config/Kelgard/HtmlVelmora.conf"), store);
}

TEST_F(VelmoraCli, EditsSaveWithBackupAndTypedTextInThePageEncoding) {
    const fs::path ascii = Page("ascii.htm", HostingPage());
    RunResult run = Run({"set-title", ascii.string(), "Caf\xC3\xA9\r\n  and   bar"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("Saved " + ascii.string()), std::string::npos);
    std::string saved = ReadFile(ascii);
    EXPECT_EQ(GetTitle(saved), "Caf&#233; and bar");
    EXPECT_NE(saved.find("<meta name=\"GENERATOR\" content=\"Velmora\">"), std::string::npos);
    ASSERT_EQ(BackupCount(), 1u);
    EXPECT_EQ(ReadFile(fs::directory_iterator(BackupFolder())->path()), HostingPage());

    const fs::path latin = Page("latin.htm", CompletePage("caf\xE9", "alpha"));
    ASSERT_EQ(
        Run({"set-description", latin.string(), "cr\xC3\xA8me\nbr\xC3\xBBl\xC3\xA9\xE2\x82\xAC"})
            .code,
        0);
    EXPECT_EQ(GetDescription(ReadFile(latin)), "cr\xE8me br\xFBl\xE9\x80");

    // The same title again changes nothing, so nothing is written.
    const std::string before = ReadFile(ascii);
    run = Run({"set-title", ascii.string(), "Caf\xC3\xA9 and bar"});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.err.find("nothing written"), std::string::npos);
    EXPECT_EQ(ReadFile(ascii), before);
    EXPECT_EQ(BackupCount(), 2u);
}

// A page keeps its own line breaks; one whose breaks cannot all come back is saved with a warning,
// its original in the backup named on the "Saved" line.
TEST_F(VelmoraCli, EditsKeepLineBreaksAndWarnWhenTheyCannot) {
    const std::string lf = "<html>\n<head>\n<title>Old</title>\n</head>\n<body>x</body>\n</html>";
    const fs::path page = Page("lf.htm", lf);
    RunResult run = Run({"set-title", page.string(), "New"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(ReadFile(page),
              "<html>\n<head>\n<title>New</title>\n<meta name=\"GENERATOR\" "
              "content=\"Velmora\">\n</head>\n<body>x</body>\n</html>");

    const std::string mixed = "<html>\r\n<head>\n<title>Old</title>\r\n</head>\n</html>\n";
    const fs::path mixedPage = Page("mixed.htm", mixed);
    run = Run({"set-title", mixedPage.string(), "New", "--stdout"});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.err.find(mixedPage.string() + ": warning: the page printed changes line breaks"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(ReadFile(mixedPage), mixed);

    run = Run({"set-title", mixedPage.string(), "New"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find(mixedPage.string() + ": warning: saving changes line breaks"),
              std::string::npos)
        << run.err;
    const std::size_t backup = run.out.find("(backup: ");
    ASSERT_NE(backup, std::string::npos) << run.out;
    const std::string backupPath = run.out.substr(backup + 9, run.out.find(')') - backup - 9);
    EXPECT_EQ(ReadFile(backupPath), mixed);
    EXPECT_EQ(ReadFile(mixedPage).find('\n'), ReadFile(mixedPage).find("\r\n") + 1);
}

// Edits run at the same moment on one page: each either saves or is refused with exit 3, and no
// saved edit is lost: it is in the page or in the backup of a later save.
TEST_F(VelmoraCli, ConcurrentEditsNeverLoseAnEdit) {
    const fs::path page = Page("shared.htm", HostingPage());
    for (int round = 0; round < 8; ++round) {
        std::vector<std::pair<pid_t, std::string>> editors;
        for (const std::string& title :
             {"First " + std::to_string(round), "Second " + std::to_string(round)}) {
            const fs::path err = root_ / ("stderr-" + title);
            const pid_t child = fork();
            if (child == 0) {
                ExecCli(open("/dev/null", O_WRONLY),
                        open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600),
                        {"set-title", page.string(), title});
            }
            editors.emplace_back(child, title);
        }
        std::vector<std::string> saved;
        for (const auto& [child, title] : editors) {
            int status = 0;
            waitpid(child, &status, 0);
            ASSERT_TRUE(WIFEXITED(status));
            const std::string err = ReadFile(root_ / ("stderr-" + title));
            if (WEXITSTATUS(status) == 0) {
                saved.push_back(title);
            } else {
                EXPECT_EQ(WEXITSTATUS(status), 3) << err;
                EXPECT_NE(err.find("changed by another program"), std::string::npos) << err;
            }
        }
        ASSERT_FALSE(saved.empty());
        for (const std::string& title : saved) {
            bool kept = GetTitle(ReadFile(page)) == title;
            for (const auto& backup : fs::directory_iterator(BackupFolder())) {
                kept = kept || GetTitle(ReadFile(backup.path())) == title;
            }
            EXPECT_TRUE(kept) << "the edit \"" << title << "\" was lost";
        }
    }
}

TEST_F(VelmoraCli, KeywordCommandsOrderAsTheDialog) {
    const fs::path page = Page("hosting.htm", HostingPage());
    KelVelmoraOptions options;
    KelVelmoraData document;
    document.Load(page.string(), options);
    const auto keywordsOf = [](const fs::path& path) {
        return SplitKeywords(GetMetaKeywords(ReadFile(path)));
    };

    ASSERT_EQ(Run({"set-keywords", "--defaults", page.string(), "domain, web hosting, cheap"}).code,
              0);
    EXPECT_EQ(keywordsOf(page),
              OrderKeywordsAsDialog({"domain", "web hosting", "cheap"}, document.GetWordCount(),
                                    document.GetCandidateList(), GetTitle(document.Html), options));
    EXPECT_EQ(keywordsOf(page), (KeywordList{"web hosting", "cheap", "domain"}));

    ASSERT_EQ(
        Run({"set-keywords", page.string(), "domain, web hosting, cheap", "--keep-order"}).code, 0);
    EXPECT_EQ(keywordsOf(page), (KeywordList{"domain", "web hosting", "cheap"}));

    const RunResult analysis = Run({"analyze", "--json", "--defaults", page.string()});
    const Json expected = JsonLines(analysis.out).at(0)["auto_keywords"];
    ASSERT_EQ(Run({"auto-keywords", "--defaults", page.string()}).code, 0);
    EXPECT_EQ(Json(keywordsOf(page)), expected);
}

TEST_F(VelmoraCli, StdoutTouchesNothingAndFailedEditsWriteNothing) {
    const std::string original = HostingPage();
    const fs::path page = Page("hosting.htm", original);
    const auto stamp = fs::last_write_time(page);

    RunResult run = Run({"compress", page.string(), "--stdout"});
    ASSERT_EQ(run.code, 0) << run.err;
    KelVelmoraData document;
    document.Load(page.string(), KelVelmoraOptions());
    document.Compress(KelVelmoraOptions());
    EXPECT_EQ(run.out, TextToSave(document.Html));
    EXPECT_NE(run.out, TextToSave(original));
    for (const std::vector<std::string>& edit :
         {std::vector<std::string>{"set-title", page.string(), "x", "--stdout"},
          {"set-description", page.string(), "x", "--stdout"},
          {"set-keywords", page.string(), "x", "--stdout"},
          {"auto-keywords", page.string(), "--stdout"}}) {
        EXPECT_EQ(Run(edit).code, 0);
    }
    EXPECT_EQ(ReadFile(page), original);
    EXPECT_EQ(fs::last_write_time(page), stamp);
    EXPECT_EQ(BackupCount(), 0u);

    run = Run({"compress", "--no-compression", page.string()});
    EXPECT_EQ(run.code, 2);
    run = Run({"set-title", root_.string(), "x"});
    EXPECT_EQ(run.code, 3);
    EXPECT_EQ(run.err, "velmora-cli: " + root_.string() + ": Is a directory, not a page\n");
    run = Run({"set-keywords", (root_ / "missing.htm").string(), "a"});
    EXPECT_EQ(run.code, 3);
    EXPECT_NE(run.err.find("missing.htm: No such file or directory"), std::string::npos);
    EXPECT_EQ(ReadFile(page), original);
    EXPECT_EQ(BackupCount(), 0u);

    ASSERT_EQ(Run({"compress", page.string()}).code, 0);
    EXPECT_EQ(ReadFile(page), TextToSave(document.Html));
}

// The page checks, in the order every report lists them.
const std::vector<std::string> kCheckIds{"title",    "description",     "indexable", "canonical",
                                         "language", "charset",         "viewport",  "social",
                                         "hreflang", "structured-data", "h1",        "headings",
                                         "images",   "links",           "content",   "keyphrase"};

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

std::string Example(const std::string& name) {
    return ReadFile(fs::path(VELMORA_EXAMPLES) / name);
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
            ASSERT_EQ(check.size(), 4u) << check;
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
    EXPECT_EQ(bad["checks_summary"]["good"], 0);
    EXPECT_EQ(Check(bad, "title")["state"], "problem");
    EXPECT_EQ(Check(bad, "indexable")["message"],
              "Search engines are asked not to index this page");
    EXPECT_EQ(Check(bad, "images")["values"]["first"],
              Json({"banner.gif", "offer1.jpg", "offer2.jpg"}));
    EXPECT_EQ(Check(bad, "links")["values"]["count"], 3);
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
    EXPECT_NE(run.out.find("  Page checks:     0 problem, 0 improve, 15 good, 1 info\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\n    good    title: The title has 47 characters"), std::string::npos);
    EXPECT_NE(run.out.find("\n    info    keyphrase: "), std::string::npos);
    EXPECT_NE(run.out.find("\n    problem hreflang: "), std::string::npos);
    EXPECT_NE(run.out.find("e\\x1b[2Jn X\\u009b"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
    for (const std::string& id : kCheckIds) {
        EXPECT_NE(run.out.find(" " + id + ": "), std::string::npos) << id;
    }
}

TEST_F(VelmoraCli, PageCheckFlagsOverrideTheStoredSettings) {
    WriteFile(root_ / "config/Kelgard/HtmlVelmora.conf",
              "[PageChecks]\nTitleMaximumCharacters=20\nImagesDisabled=1\n");
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
              "info");

    // Repeated, and never taking the page for a second id.
    std::vector<std::string> expected = kCheckIds;
    std::erase(expected, "title");
    std::erase(expected, "h1");
    EXPECT_EQ(CheckIds(report({"--defaults", "--skip-check", "title", "--skip-check", "h1"})),
              expected);
    EXPECT_EQ(report({"--defaults", "--skip-check", "title", "--skip-check",
                      "h1"})["checks_summary"]["good"],
              13);

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

}  // namespace
}  // namespace velmora
