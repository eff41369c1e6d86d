#include "cli/error_output.h"

#include <unistd.h>

namespace velmora::cli {

ErrorOutput::ErrorOutput(std::FILE* stream)
    : stream_(stream), terminal_(isatty(fileno(stream)) == 1) {}

void ErrorOutput::Write(std::string_view text) {
    if (text_ != nullptr) {
        text_->append(text);
    } else if (!text.empty()) {
        std::fwrite(text.data(), 1, text.size(), stream_);
    }
}

void ErrorOutput::Flush() {
    if (stream_ != nullptr) {
        std::fflush(stream_);
    }
}

}  // namespace velmora::cli
