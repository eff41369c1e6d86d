#pragma once

// The fixes of the Page Checks window: a Fix button on each row whose check a fix can make good,
// or could with a value the user gives; Fix All for every such row; and a note of what the last
// fix made and what it left, with the reason.

#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <vector>

#include "page_checks/page_checks.h"
#include "page_checks/page_fixes.h"

class QLabel;
class QTreeWidgetItem;

namespace velmora {

class TCheckFixes : public QObject {
    Q_OBJECT

public:
    // The buttons go in `column` of the rows; Fix All and the note are the window's to place.
    TCheckFixes(int column, QWidget& window);

    // Takes the fixes planned for the page shown, before its rows are added; the note of an
    // earlier fix goes.
    void Take(page_checks::FixPlan plan);
    const page_checks::FixPlan& Planned() const { return plan_; }
    // Gives `row` a Fix button when its check asks for a fix the plan has or needs a value for,
    // else says in its hint why the fix is left to the user.
    void Offer(QTreeWidgetItem& row, const page_checks::CheckResult& check);
    // What a fix made and what it left, until the page is shown again.
    void ShowResult(const page_checks::FixPlan& plan);

    QPushButton* FixAll;
    QLabel* Note;

signals:
    // The checks to fix; every fixable one when empty.
    void FixRequested(const std::vector<CheckId>& only);

private:
    void AddButton(QTreeWidgetItem& row, CheckId id, bool needsValue);

    int column_;
    page_checks::FixPlan plan_;
    // Tab goes from the rows through the Fix buttons in the rows' order.
    QPointer<QPushButton> lastButton_;
};

// "Fixed: Viewport. Not fixed: Language (needs the page's language)."
QString FixResultText(const page_checks::FixPlan& plan);

}  // namespace velmora
