#pragma once

// The page checks as text to paste elsewhere: one row as a tab-separated line, the whole report
// as Markdown.

#include <QString>
#include <vector>

#include "page_checks/page_checks.h"
#include "ui/check_presentation.h"

namespace velmora {

// The checks of one group in the order the window shows them: problems first, then improve,
// good and info, each kind in the report's order.
std::vector<const page_checks::CheckResult*> ChecksOfGroup(
    const page_checks::PageCheckReport& report, CheckGroup group);

// "problem\tTitle\tThe page has no title.\t0 characters, width unknown"
QString CheckRowText(const page_checks::CheckResult& check);

// A heading naming the page, the summary, then per group a table of state, check, result and
// measured values, with every finding's line and column.
QString ReportMarkdown(const page_checks::PageCheckReport& report, const QString& pageName);

}  // namespace velmora
