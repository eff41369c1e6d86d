#include "ui/check_report_text.h"

#include <QStringList>
#include <algorithm>

#include "ui/state_mark.h"

namespace velmora {
namespace {

// A table cell: a "|" would end the cell, a line break the row, and a tag of the page would be
// drawn instead of shown.
QString Cell(QString text) {
    text.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('|'), QStringLiteral("\\|"));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

}  // namespace

std::vector<const page_checks::CheckResult*> ChecksOfGroup(
    const page_checks::PageCheckReport& report, CheckGroup group) {
    std::vector<const page_checks::CheckResult*> checks;
    for (const page_checks::CheckResult& check : report.checks) {
        if (GroupOfCheck(check.id) == group) {
            checks.push_back(&check);
        }
    }
    std::stable_sort(checks.begin(), checks.end(), [](const auto* a, const auto* b) {
        return StateRank(a->state) < StateRank(b->state);
    });
    return checks;
}

QString CheckRowText(const page_checks::CheckResult& check) {
    return QStringList{StateName(check.state), CheckDisplayName(check.id),
                       QString::fromStdString(check.message), ReadableValues(check.values)}
        .join(QLatin1Char('\t'));
}

QString ReportMarkdown(const page_checks::PageCheckReport& report, const QString& pageName) {
    QString text =
        QStringLiteral("# Page checks: %1\n\n%2\n").arg(pageName, SummaryText(report.summary));
    for (const CheckGroup group : kCheckGroups) {
        const auto checks = ChecksOfGroup(report, group);
        if (checks.empty()) {
            continue;
        }
        text +=
            QStringLiteral("\n## %1\n\n| State | Check | Result | Measured |\n|---|---|---|---|\n")
                .arg(CheckGroupName(group));
        for (const page_checks::CheckResult* check : checks) {
            QStringList result = {Cell(QString::fromStdString(check->message))};
            for (const page_checks::CheckedElement& element : check->listed) {
                result.append(Cell(FindingText(element)));
            }
            text +=
                QStringLiteral("| %1 | %2 | %3 | %4 |\n")
                    .arg(StateName(check->state), CheckDisplayName(check->id),
                         result.join(QStringLiteral("<br>")), Cell(ReadableValues(check->values)));
        }
    }
    return text;
}

}  // namespace velmora
