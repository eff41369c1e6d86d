#pragma once

// Lines and columns of many places of one page, asked mostly in page order. The line comes from
// the line index; a column on the line of the place before is counted on from there, so that a
// minified page of one line with thousands of elements is still read about once. Another line,
// or a place before the last one asked, is counted from its line's start.

#include <cstddef>
#include <string_view>

#include "core/line_index.h"

namespace velmora::page_checks {

class PagePositions {
public:
    // The UTF-8 page must outlive this.
    explicit PagePositions(std::string_view utf8Page);

    TextPosition At(std::size_t offset);

private:
    std::string_view page_;
    LineIndex index_;
    std::size_t at_ = 0;
    TextPosition position_;
    bool started_ = false;
};

}  // namespace velmora::page_checks
