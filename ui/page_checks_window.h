#pragma once

// The Page Checks window: a search-result preview, the focus keyphrase, the summary of the
// checks, one row per check grouped as Head, Body and Social with problems first, and a detail
// pane for the selected check. One per program; it follows the open page.

#include <QString>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "options/page_check_options.h"
#include "page_checks/page_checks.h"
#include "page_checks/page_fixes.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace velmora {

class TCheckDetail;
class TCheckFixes;
class TSearchPreview;
class TSourceView;

class TPageChecksWindow : public QWidget {
    Q_OBJECT

public:
    TPageChecksWindow(const page_checks::TextWidthMeter& meter, QWidget* parent = nullptr);
    ~TPageChecksWindow() override;

    // Checks the page's bytes again, plans their fixes and shows the result; `fileName` is the
    // page's path. The focus keyphrase stored for that path is used.
    void Refresh(std::string_view pageBytes, const QString& fileName);
    // Shows `report`, the checks already run on the page's bytes with these options and the
    // keyphrase stored for `fileName`, and `fixes`, the fixes planned for the page from them.
    void ShowChecked(const page_checks::PageCheckReport& report, const page_checks::FixPlan& fixes,
                     std::string_view pageBytes, const QString& fileName);
    // A title or description being typed, shown in the preview before the checks run again.
    void ShowTyped(bool title, const QString& typed);
    // Nothing open: the window says so and shows no rows.
    void ShowNoPage();
    const page_checks::PageCheckReport& Report() const { return report_; }

    // The selected rows as text, one line per check or finding.
    QString SelectedRowsText() const;
    // Opens the source view at the finding or the element of `item`; false when it has none.
    bool ShowSource(const QTreeWidgetItem& item);
    // What the fix just made of the page and what it left, until the page is shown again.
    void ShowFixResult(const page_checks::FixPlan& plan);

    // Thresholds and switches: the document's, handed over when they change.
    PageCheckOptions Options;

    TSearchPreview* Preview;
    QLabel* Summary;
    QTreeWidget* Checks;

signals:
    // The user typed a focus keyphrase for the page, and it is kept.
    void KeyphraseKept();
    // A Fix button was pressed: the checks to fix, every fixable one when empty.
    void FixRequested(const std::vector<CheckId>& only);

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildCheckList();
    void BuildKeys();
    QWidget* BuildKeyphraseRow();
    void TakePage(std::string_view pageBytes, const QString& fileName);
    void RunChecks();
    void ShowReport(page_checks::FixPlan fixes);
    void ShowKeyphrase();
    void KeyphraseEdited();
    void AddRow(QTreeWidgetItem* group, const page_checks::CheckResult& check);
    void AddFindings(QTreeWidgetItem& row);
    void ShowDetail(const QTreeWidgetItem* item);
    void CopyReport();
    void EditFixSettings();
    void MarkRows();

    const page_checks::TextWidthMeter& meter_;
    QLineEdit* keyphrase_;
    QLabel* keyphraseNote_;
    QPushButton* copyReport_;
    QPushButton* fixSettings_;
    TCheckDetail* detail_;
    TCheckFixes* fixes_;
    TSourceView* sourceView_ = nullptr;
    page_checks::PageCheckReport report_;
    QString fileName_;
    std::string pageBytes_;
};

}  // namespace velmora
