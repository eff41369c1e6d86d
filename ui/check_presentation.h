#pragma once

// How the checks read in the Page Checks window: their names, their groups and their values.

#include <QString>
#include <QStringList>
#include <array>

#include "page_checks/check_result.h"
#include "page_checks/page_checks.h"

namespace velmora {

enum class CheckGroup { Head, Body, Social };
// The groups in the order the window and the copied report show them.
inline constexpr std::array<CheckGroup, 3> kCheckGroups = {CheckGroup::Head, CheckGroup::Body,
                                                           CheckGroup::Social};

QString CheckGroupName(CheckGroup group);
CheckGroup GroupOfCheck(CheckId id);
// A name a person reads, such as "Heading levels".
QString CheckDisplayName(CheckId id);

// The measured values as words: "63 characters, 583 px"; lists of findings are left out.
QString ReadableValues(const page_checks::CheckValue::Object& values);
// "Line 12, column 5: <img src=…>", where a finding stands in the page.
QString FindingText(const page_checks::CheckedElement& element);
// Problems first, then improve, good and info: the order rows are read in.
int StateRank(page_checks::CheckState state);

// The page checks' one verdict: "Page score 84 · 1 problem · 5 to improve"; "No score ·
// redirect to /new.htm" or "No score · not indexed" for a page meant to stay out of results.
QString VerdictText(const page_checks::PageCheckReport& report);
// The colour of the verdict: the worst state a check gave, info for a page without a score.
page_checks::CheckState VerdictState(const page_checks::PageCheckReport& report);

// "2 problems · 5 to improve · 9 good", with "· 1 info" when some check only informs.
QString SummaryText(const page_checks::CheckSummary& summary);

}  // namespace velmora
