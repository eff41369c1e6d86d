#pragma once

// A page's review findings and page checks as the results that code-scanning reports (SARIF, CI
// annotations) show: what to fix, where, and how serious. Good checks are no result.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/page_report.h"
#include "core/line_index.h"

namespace velmora::cli {

enum class ResultLevel { Error, Warning, Note };

struct ReportResult {
    std::size_t rule = 0;  // index into ReportRules()
    ResultLevel level = ResultLevel::Warning;
    std::string message;
    std::optional<TextPosition> position;
    // Tells the result apart from the page's other results of its rule, whatever line it moves
    // to: empty for a rule's one result on a page, else the listed element's text and its
    // ordinal among equal texts.
    std::string identity;
};

// Whether a result of `level` is shown when `minimum` is the least severe one shown.
inline bool AtLeast(ResultLevel level, ResultLevel minimum) {
    return level <= minimum;
}

// "problem", "improve" or "info": the state a result of that level stands for.
std::string_view LevelStateName(ResultLevel level);

// Review findings first (all warnings), then the checks: problem an error, improve a warning,
// info a note. A check that lists elements gives one result per element.
std::vector<ReportResult> PageResults(const PageReport& report);

}  // namespace velmora::cli
