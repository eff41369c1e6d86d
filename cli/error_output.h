#pragma once

// Where a command's problems, warnings and progress bar go: standard error, or a string when
// the command line runs inside another program. Writes are not checked: a failure here has
// nowhere left to be told.

#include <cstdio>
#include <string>
#include <string_view>

namespace velmora::cli {

class ErrorOutput {
public:
    // Writes to a C stream; a terminal there is seen, for the progress bar.
    explicit ErrorOutput(std::FILE* stream);
    // Appends to text; terminal says whether to draw as on a terminal.
    explicit ErrorOutput(std::string& text, bool terminal = false)
        : text_(&text), terminal_(terminal) {}
    ErrorOutput(const ErrorOutput&) = delete;
    ErrorOutput& operator=(const ErrorOutput&) = delete;

    void Write(std::string_view text);
    // Hands buffered text to the system, so a line redrawn in place shows at once.
    void Flush();

    bool IsTerminal() const { return terminal_; }

private:
    std::FILE* stream_ = nullptr;
    std::string* text_ = nullptr;
    bool terminal_ = false;
};

}  // namespace velmora::cli
