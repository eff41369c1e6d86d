#pragma once

// Output that a script can trust: every write, and the final flush and close, is checked, so a
// full disk or a closed file never passes for success.

#include <cstdio>
#include <string>
#include <string_view>

namespace velmora::cli {

class ErrorOutput;

class CheckedOutput {
public:
    // Writes to a C stream, which Close closes.
    explicit CheckedOutput(std::FILE* stream) : stream_(stream) {}
    // Appends to text, when the command line runs inside another program; this never fails.
    explicit CheckedOutput(std::string& text) : text_(&text) {}
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
    // Whether the stream is a terminal; text never is.
    bool IsTerminal() const;
    // The system's error number of the first failure; 0 when nothing failed.
    int Error() const { return error_; }

private:
    bool Fail();

    std::FILE* stream_ = nullptr;
    std::string* text_ = nullptr;
    int error_ = 0;
    bool closed_ = false;
};

// The end of a command whose output failed: the file-error exit code, with the reason named on
// err. A reader that went away (a closed pipe) is not named: shells expect `| head` to be quiet.
int ExitForFailedOutput(const CheckedOutput& output, ErrorOutput& err);

// Ends the process as the broken-pipe signal does by default, even when the signal is ignored
// or blocked (an inherited setting): what a program whose reader went away is expected to do.
void EndAsBrokenPipe();

}  // namespace velmora::cli
