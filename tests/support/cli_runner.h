#pragma once

// Runs velmora-cli's command line in the test's own process, its output and error output kept
// in strings.

#include <string>
#include <vector>

#include "cli/checked_output.h"
#include "cli/command_line.h"
#include "cli/error_output.h"

namespace velmora::test {

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

// The arguments come without the program's name. With terminalError the error output draws as
// on a terminal (the progress bar).
inline CliRun RunCli(const std::vector<std::string>& arguments, bool terminalError = false) {
    CliRun run;
    cli::CheckedOutput out(run.out);
    cli::ErrorOutput err(run.err, terminalError);
    run.code = cli::RunCommandLine(arguments, out, err);
    return run;
}

}  // namespace velmora::test
