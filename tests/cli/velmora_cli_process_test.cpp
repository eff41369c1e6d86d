// What only the real velmora-cli process shows: its exit status, its standard output on a full
// disk or a closed pipe, and its progress bar on a real terminal. Runs the built program with its
// own settings store (XDG_CONFIG_HOME) and temporary folder (TMPDIR).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/cli_pages.h"
#include "tests/support/file_bytes.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::CompletePage;
using test::HostingPage;
using test::ReadBytes;
using test::WriteBytes;

struct RunResult {
    int code = -1;
    std::string out;
    std::string err;
};

class VelmoraCliProcess : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(root_ / "tmp"); }

    fs::path Page(const std::string& name, const std::string& bytes) {
        WriteBytes(root_ / name, bytes);
        return root_ / name;
    }

    // In a forked child: runs velmora-cli with the test's settings and backup folders and the
    // given standard output and error.
    [[noreturn]] void ExecCli(int out, int err, const std::vector<std::string>& arguments) const {
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
        setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
        setenv("XDG_STATE_HOME", (root_ / "tmp").c_str(), 1);
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
            return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(out), ReadBytes(err)};
        }
        std::string shown;
        char buffer[4096];
        for (ssize_t n; (n = read(terminal, buffer, sizeof buffer)) > 0;) {
            shown.append(buffer, static_cast<std::size_t>(n));
        }
        close(terminal);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(out), shown};
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
        err = ReadBytes(errPath);
        return status;
    }

    test::TemporaryFolder folder_;
    const fs::path root_ = folder_.path();
};

// Each exit code as the process's status, with the results on its real standard output.
TEST_F(VelmoraCliProcess, ExitStatusAndStandardOutputOfTheProgram) {
    const fs::path good = Page("good.htm", CompletePage("alpha", "alpha, beta"));
    const fs::path bare = Page("bare.htm", "<html><body>nothing</body></html>");

    RunResult run = Run({"--version"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, std::string("velmora-cli ") + VELMORA_VERSION_TEXT + " (build " +
                           VELMORA_BUILD_NUMBER + ")\n");
    run = Run({"analyze", "--fail-under", "50", good.string(), bare.string()});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.out.find("Summary: 2 pages analysed"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "velmora-cli: " + bare.string() + ": rating 0 is below 50\n");
    run = Run({"publish", good.string()});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "velmora-cli: publish: unknown command (see velmora-cli --help)\n");
    run = Run({"analyze", (root_ / "missing.htm").string()});
    EXPECT_EQ(run.code, 3);
    EXPECT_NE(run.err.find("missing.htm: No such file or directory\n"), std::string::npos);

    const fs::path hosting = Page("hosting.htm", HostingPage());
    run = Run({"set-title", hosting.string(), "New", "--stdout"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, 24), "<html>\r\n<head>\r\n<title>N");
    EXPECT_EQ(ReadBytes(hosting), HostingPage());
}

// A full disk and a reader that went away, as a CI job meets them.
TEST_F(VelmoraCliProcess, WriteErrorsFailWithExitThreeAndClosedPipesEndQuietly) {
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

// The progress bar is drawn when standard error is a terminal, and only for more than one page.
TEST_F(VelmoraCliProcess, ProgressBarOnlyOnATerminal) {
    const fs::path good = Page("good.htm", CompletePage("alpha", "alpha, beta"));
    const fs::path bare = Page("bare.htm", "<html><body>nothing</body></html>");
    EXPECT_EQ(Run({"analyze", "--json", good.string(), bare.string()}).err, "");

    const RunResult shown = Run({"analyze", "--json", good.string(), bare.string()}, true);
    EXPECT_EQ(shown.code, 0);
    EXPECT_NE(shown.err.find("] 2/2 pages"), std::string::npos) << shown.err;
    EXPECT_EQ(test::JsonLines(shown.out).size(), 2u);
    EXPECT_EQ(Run({"analyze", "--json", good.string()}, true).err, "");
}

}  // namespace
}  // namespace velmora
