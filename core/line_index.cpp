#include "core/line_index.h"

#include <algorithm>

namespace velmora {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

LineIndex::LineIndex(std::string_view text, Unit unit) : text_(text), unit_(unit) {
    lineStarts_.push_back(0);
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t lf = std::min(text.find('\n', at), text.size());
        // Carriage returns are looked for only up to the line feed, so a page without any is
        // still read once.
        const std::string_view line = text.substr(at, lf - at);
        for (std::size_t cr = line.find('\r'); cr != std::string_view::npos;
             cr = line.find('\r', cr + 1)) {
            if (at + cr + 1 != lf) {
                lineStarts_.push_back(at + cr + 1);
            }
        }
        if (lf == text.size()) {
            break;
        }
        lineStarts_.push_back(lf + 1);
        at = lf + 1;
    }
}

std::size_t LineIndex::LineOf(std::size_t offset) const {
    const auto after =
        std::upper_bound(lineStarts_.begin(), lineStarts_.end(), std::min(offset, text_.size()));
    return static_cast<std::size_t>(after - lineStarts_.begin());
}

TextPosition LineIndex::At(std::size_t offset) const {
    offset = std::min(offset, text_.size());
    const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
    const auto line = static_cast<std::size_t>(after - lineStarts_.begin());
    std::size_t start = *(after - 1);
    if (unit_ == Unit::Bytes) {
        return {line, offset - start + 1};
    }
    if (start == 0 && text_.starts_with(kByteOrderMark)) {
        start = std::min(offset, kByteOrderMark.size());
    }
    const std::string_view before = text_.substr(start, offset - start);
    const auto continuation = std::count_if(before.begin(), before.end(), IsContinuationByte);
    return {line, before.size() - static_cast<std::size_t>(continuation) + 1};
}

}  // namespace velmora
