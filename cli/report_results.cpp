#include "cli/report_results.h"

#include <map>

#include "cli/report_rules.h"

namespace velmora::cli {
namespace {

using page_checks::CheckedElement;
using page_checks::CheckResult;
using page_checks::CheckState;

ResultLevel LevelOf(CheckState state) {
    switch (state) {
        case CheckState::Problem:
            return ResultLevel::Error;
        case CheckState::Improve:
            return ResultLevel::Warning;
        case CheckState::Good:
        case CheckState::Info:
            break;
    }
    return ResultLevel::Note;
}

void AddCheck(const CheckResult& check, std::vector<ReportResult>& results) {
    const std::size_t rule = RuleIndex(check.id);
    const ResultLevel level = LevelOf(check.state);
    if (check.listed.empty()) {
        results.push_back({rule,
                           level,
                           check.message,
                           check.element ? std::optional(check.element->position) : std::nullopt,
                           {}});
        return;
    }
    // Two images with one src are two results; the count keeps them apart.
    std::map<std::string, std::size_t> seen;
    for (const CheckedElement& element : check.listed) {
        const std::size_t ordinal = ++seen[element.text];
        results.push_back({rule, level, check.message + " (" + element.text + ")", element.position,
                           element.text + "\n" + std::to_string(ordinal)});
    }
}

}  // namespace

std::string_view LevelStateName(ResultLevel level) {
    switch (level) {
        case ResultLevel::Error:
            return "problem";
        case ResultLevel::Warning:
            return "improve";
        case ResultLevel::Note:
            break;
    }
    return "info";
}

std::vector<ReportResult> PageResults(const PageReport& report) {
    std::vector<ReportResult> results;
    for (const Finding& finding : report.findings) {
        results.push_back(
            {RuleIndex(finding.kind), ResultLevel::Warning, finding.advice, finding.position, {}});
    }
    for (const CheckResult& check : report.checks.checks) {
        if (check.state != CheckState::Good) {
            AddCheck(check, results);
        }
    }
    return results;
}

}  // namespace velmora::cli
