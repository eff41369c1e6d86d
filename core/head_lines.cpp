#include "core/head_lines.h"

namespace velmora {
namespace {

std::string_view IndentAt(std::string_view text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && IsIndentBlank(text[end])) {
        ++end;
    }
    return text.substr(at, end - at);
}

}  // namespace

bool IsIndentBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view LineBreakAt(std::string_view text, std::size_t at) {
    if (text.substr(at).starts_with("\r\n")) {
        return "\r\n";
    }
    if (at < text.size() && (text[at] == '\n' || text[at] == '\r')) {
        return text.substr(at, 1);
    }
    return {};
}

TagPlacement PlaceAfter(std::string_view text, std::size_t at) {
    TagPlacement place{at, {}, {}};
    const std::string_view lineBreak = LineBreakAt(text, at);
    if (!lineBreak.empty()) {
        place.before = std::string(lineBreak) + std::string(IndentAt(text, at + lineBreak.size()));
    }
    return place;
}

TagPlacement PlaceBeforeHeadEnd(std::string_view text, std::size_t headEnd) {
    std::size_t lineStart = headEnd;
    while (lineStart > 0 && IsIndentBlank(text[lineStart - 1])) {
        --lineStart;
    }
    if (lineStart == 0 || (text[lineStart - 1] != '\n' && text[lineStart - 1] != '\r')) {
        return {headEnd, {}, {}};
    }
    const std::size_t breakStart =
        lineStart >= 2 && text.substr(lineStart - 2, 2) == "\r\n" ? lineStart - 2 : lineStart - 1;
    std::size_t previousLine = breakStart;
    while (previousLine > 0 && text[previousLine - 1] != '\n' && text[previousLine - 1] != '\r') {
        --previousLine;
    }
    return {lineStart, std::string(IndentAt(text, previousLine)),
            std::string(text.substr(breakStart, lineStart - breakStart))};
}

}  // namespace velmora
