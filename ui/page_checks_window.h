#pragma once

// The Page Checks window: a search-result preview, the summary of the checks and one row per
// check, grouped as Head, Body and Social. One per program; it follows the open page.

#include <QString>
#include <QWidget>
#include <string_view>

#include "options/page_check_options.h"
#include "page_checks/page_checks.h"

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace velmora {

class TSearchPreview;

class TPageChecksWindow : public QWidget {
    Q_OBJECT

public:
    TPageChecksWindow(const page_checks::TextWidthMeter& meter, QWidget* parent = nullptr);

    // Checks the page's bytes again and shows the result; `fileName` is the page's path.
    void Refresh(std::string_view pageBytes, const QString& fileName);
    // Nothing open: the window says so and shows no rows.
    void ShowNoPage();
    const page_checks::PageCheckReport& Report() const { return report_; }

    // Thresholds and switches; read from the stored settings when the window is made.
    PageCheckOptions Options;

    TSearchPreview* Preview;
    QLabel* Summary;
    QTreeWidget* Checks;

protected:
    void changeEvent(QEvent* event) override;

private:
    void ShowReport();
    QTreeWidgetItem* AddRow(QTreeWidgetItem* group, const page_checks::CheckResult& check);
    void MarkRows();

    const page_checks::TextWidthMeter& meter_;
    page_checks::PageCheckReport report_;
    QString fileName_;
};

}  // namespace velmora
