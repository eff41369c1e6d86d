#pragma once

// Output that a script can trust: every write, and the final flush and close, is checked, so a
// full disk or a closed file never passes for success.

#include <cstdio>
#include <string_view>

namespace velmora::cli {

class CheckedOutput {
public:
    explicit CheckedOutput(std::FILE* stream) : stream_(stream) {}
    CheckedOutput(const CheckedOutput&) = delete;
    CheckedOutput& operator=(const CheckedOutput&) = delete;

    // Writes all of bytes (buffered). Once anything has failed, nothing more is written and
    // every call returns false.
    bool Write(std::string_view bytes);
    // Hands the buffered bytes to the system, so a reader sees each finished piece at once.
    bool Flush();
    // Flushes and closes the stream; false when this or any earlier write failed. Later calls
    // only repeat the answer.
    bool Close();

    bool Failed() const { return error_ != 0; }
    // The system's error number of the first failure; 0 when nothing failed.
    int Error() const { return error_; }

private:
    bool Fail();

    std::FILE* stream_;
    int error_ = 0;
    bool closed_ = false;
};

// The process's standard output. Every command writes its results through it, and main closes
// it before choosing the exit code.
CheckedOutput& StandardOutput();

// The end of a command whose output failed. A reader that went away (a closed pipe) ends the
// process as the broken-pipe signal does by default: quietly, as shells expect of `| head`.
// Any other failure is named on standard error, and the result is the file-error exit code.
int ExitForFailedOutput(const CheckedOutput& output);

}  // namespace velmora::cli
