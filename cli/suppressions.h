#pragma once

// A page's own exceptions to the checks: `<!-- velmora-disable ID[, ID…] -->` turns checks or
// review findings off for the whole page, `<!-- velmora-disable-next-line ID[, ID…] -->` for
// the elements on the line after the comment.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::cli {

struct LineSuppression {
    std::size_t line = 0;  // the line whose elements are left out
    std::size_t rule = 0;  // index into ReportRules()
};

struct Suppressions {
    std::vector<std::size_t> pageRules;
    std::vector<LineSuppression> lineRules;
    // "FILE:LINE: unknown check 'x' in velmora-disable", one per unknown id.
    std::vector<std::string> warnings;

    bool Page(std::size_t rule) const;
    bool Line(std::size_t rule, std::size_t line) const;
};

// The comments of `pageText`; ids are written as in the reports ("images", "check/images",
// "review/no-keywords"), separated by commas or blanks.
Suppressions ReadSuppressions(std::string_view pageText, std::string_view file);

}  // namespace velmora::cli
