#include "page_checks/attribute_words.h"

#include <algorithm>

#include "page_checks/html_chars.h"

namespace velmora::page_checks {

std::string AsciiLowerTrimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\n\f\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\n\f\r");
    std::string out(text.substr(first, last + 1 - first));
    std::transform(out.begin(), out.end(), out.begin(), LowerAscii);
    return out;
}

std::vector<std::string> SplitTokens(std::string_view text) {
    std::vector<std::string> tokens;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto start = text.find_first_not_of(" \t\n\f\r", at);
        if (start == std::string_view::npos) {
            break;
        }
        const auto end = std::min(text.find_first_of(" \t\n\f\r", start), text.size());
        tokens.push_back(AsciiLowerTrimmed(text.substr(start, end - start)));
        at = end;
    }
    return tokens;
}

}  // namespace velmora::page_checks
