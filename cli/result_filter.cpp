#include "cli/result_filter.h"

#include <algorithm>
#include <map>

#include "cli/report_rules.h"

namespace velmora::cli {
namespace {

using page_checks::CheckedElement;
using page_checks::CheckResult;
using page_checks::CheckState;

class PageFilter {
public:
    PageFilter(PageReport& report, const ResultFilter& filter) : report_(report), filter_(filter) {}

    // False when the finding goes.
    bool Keep(const Finding& finding) {
        const std::size_t rule = RuleIndex(finding.kind);
        if (std::find(filter_.skippedFindings.begin(), filter_.skippedFindings.end(), rule) !=
            filter_.skippedFindings.end()) {
            return false;
        }
        return KeepResult(rule, finding.position, "");
    }

    // False when the whole check goes; otherwise its listed elements are thinned.
    bool Keep(CheckResult& check) {
        const std::size_t rule = RuleIndex(check.id);
        if (check.state == CheckState::Good) {
            // Not a result: only turning the check off for the page removes it.
            return !report_.suppressions.Page(rule);
        }
        if (check.listed.empty()) {
            return KeepResult(
                rule, check.element ? std::optional(check.element->position) : std::nullopt, "");
        }
        std::map<std::string, std::size_t> seen;
        std::vector<CheckedElement> kept;
        for (CheckedElement& element : check.listed) {
            const std::string identity = element.text + "\n" + std::to_string(++seen[element.text]);
            if (KeepResult(rule, element.position, identity)) {
                kept.push_back(std::move(element));
            }
        }
        check.listed = std::move(kept);
        return !check.listed.empty();
    }

private:
    bool KeepResult(std::size_t rule, const std::optional<TextPosition>& position,
                    const std::string& identity) {
        const Suppressions& suppressions = report_.suppressions;
        if (suppressions.Page(rule) || (position && suppressions.Line(rule, position->line))) {
            ++report_.suppressed;
            return false;
        }
        if (filter_.baseline &&
            filter_.baseline->Holds(report_.file, ReportRules()[rule].id, identity)) {
            ++report_.baselined;
            return false;
        }
        return true;
    }

    PageReport& report_;
    const ResultFilter& filter_;
};

}  // namespace

void ApplyResultFilter(PageReport& report, const ResultFilter& filter) {
    PageFilter page(report, filter);
    if (!report.findingsFiltered) {
        std::erase_if(report.findings, [&](const Finding& finding) { return !page.Keep(finding); });
        report.findingsFiltered = true;
    }
    std::vector<CheckResult>& checks = report.checks.checks;
    std::size_t kept = report.filteredChecks;
    for (std::size_t i = report.filteredChecks; i < checks.size(); ++i) {
        if (page.Keep(checks[i])) {
            if (kept != i) {
                checks[kept] = std::move(checks[i]);
            }
            ++kept;
        }
    }
    checks.resize(kept);
    report.filteredChecks = checks.size();
    report.checks.summary = page_checks::Summarize(checks);
}

std::vector<CheckResult> FilterRecord(const std::string& file, std::vector<CheckResult> checks,
                                      Suppressions suppressions, const ResultFilter& filter) {
    PageReport record;
    record.file = file;
    record.checks.checks = std::move(checks);
    record.suppressions = std::move(suppressions);
    ApplyResultFilter(record, filter);
    return std::move(record.checks.checks);
}

}  // namespace velmora::cli
