#include "page_checks/page_positions.h"

#include <algorithm>

namespace velmora::page_checks {
namespace {

std::size_t CodePoints(std::string_view utf8) {
    return utf8.size() -
           static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
               return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
           }));
}

}  // namespace

PagePositions::PagePositions(std::string_view utf8Page)
    : page_(utf8Page), index_(utf8Page, LineIndex::Unit::Utf8CodePoints) {}

TextPosition PagePositions::At(std::size_t offset) {
    offset = std::min(offset, page_.size());
    if (!started_ || offset < at_) {
        started_ = true;
        at_ = offset;
        position_ = index_.At(offset);
        return position_;
    }
    // Lines end at LF, CR LF or a lone CR, as the line index counts them.
    const std::string_view between = page_.substr(at_, offset - at_);
    std::size_t lineStart = std::string_view::npos;
    for (std::size_t i = between.find_first_of("\r\n"); i != std::string_view::npos;
         i = between.find_first_of("\r\n", i + 1)) {
        const bool crBeforeLf =
            between[i] == '\r' && at_ + i + 1 < page_.size() && page_[at_ + i + 1] == '\n';
        if (!crBeforeLf) {
            ++position_.line;
            lineStart = i + 1;
        }
    }
    if (lineStart == std::string_view::npos) {
        position_.column += CodePoints(between);
    } else {
        position_.column = 1 + CodePoints(between.substr(lineStart));
    }
    at_ = offset;
    return position_;
}

}  // namespace velmora::page_checks
