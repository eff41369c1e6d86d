// velmora-cli: the page review and the head edits of the desktop program, for scripts.

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/checked_output.h"
#include "cli/command_line.h"
#include "cli/error_output.h"

int main(int argc, char** argv) {
    using namespace velmora::cli;
    CheckedOutput out(stdout);
    ErrorOutput err(stderr);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const int code = RunCommandLine(arguments, out, err);
    if (out.Error() == EPIPE) {
        // Quiet, as the broken-pipe signal's default ends a program: shells expect it of `| head`.
        EndAsBrokenPipe();
    }
    return code;
}
