// velmora-cli: the page review and the head edits of the desktop program, for scripts.

#include <malloc.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/checked_output.h"
#include "cli/command_line.h"
#include "cli/error_output.h"

namespace {

// A run reviews page after page, each needing tables of up to a few megabytes that it then frees.
// By default the allocator gives freed memory at the top of the heap back to the system and the
// next page faults it in again, fresh pages that the kernel clears; a batch keeps it instead.
// Blocks large enough to be mapped on their own are still returned, so the peak stays as it was.
void KeepFreedMemoryForTheNextPage() {
    constexpr int kKeptBytes = 256 << 20;
    mallopt(M_TRIM_THRESHOLD, kKeptBytes);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace velmora::cli;
    KeepFreedMemoryForTheNextPage();
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
