#pragma once

// How the checks read in the Page Checks window: their names, their groups and their values.

#include <QString>
#include <QStringList>

#include "page_checks/check_result.h"
#include "page_checks/page_checks.h"

namespace velmora {

enum class CheckGroup { Head, Body, Social };

QString CheckGroupName(CheckGroup group);
CheckGroup GroupOfCheck(CheckId id);
// A name a person reads, such as "Heading levels".
QString CheckDisplayName(CheckId id);

struct PresentedValues {
    QString summary;    // the single values: "characters: 52 · pixels: 480"
    QStringList items;  // the entries of its lists (images without alt, generic links, …)
};
PresentedValues PresentValues(const page_checks::CheckValue::Object& values);

// "2 problems · 5 to improve · 9 good", with "· 1 info" when some check only informs.
QString SummaryText(const page_checks::CheckSummary& summary);

}  // namespace velmora
