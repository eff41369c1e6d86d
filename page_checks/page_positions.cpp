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

constexpr std::size_t kByteOrderMarkSize = 3;

}  // namespace

PagePositions::PagePositions(std::string_view utf8Page)
    : page_(utf8Page), index_(utf8Page, LineIndex::Unit::Utf8CodePoints) {}

TextPosition PagePositions::At(std::size_t offset) {
    offset = std::min(offset, page_.size());
    const std::size_t line = index_.LineOf(offset);
    // On the line of the place before, the column is counted on from there; a byte-order mark
    // at the start takes no column, which the line index knows.
    if (started_ && offset >= at_ && line == position_.line && at_ >= kByteOrderMarkSize) {
        position_.column += CodePoints(page_.substr(at_, offset - at_));
    } else {
        position_ = index_.At(offset);
    }
    started_ = true;
    at_ = offset;
    return position_;
}

}  // namespace velmora::page_checks
