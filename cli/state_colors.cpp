#include "cli/state_colors.h"

namespace velmora::cli {

std::string Colored(std::string_view state, std::string_view text, bool color) {
    std::string_view start;
    if (state == "problem") {
        start = "\x1b[31m";
    } else if (state == "improve") {
        start = "\x1b[33m";
    } else if (state == "good") {
        start = "\x1b[32m";
    } else if (state == "info") {
        start = "\x1b[36m";
    }
    if (!color || start.empty()) {
        return std::string(text);
    }
    return std::string(start).append(text).append("\x1b[0m");
}

}  // namespace velmora::cli
