#include "ui/page_checks_window.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <array>

#include "options/page_check_settings.h"
#include "ui/check_presentation.h"
#include "ui/search_preview.h"
#include "ui/state_mark.h"
#include "ui/wrapping_delegate.h"

namespace velmora {
namespace {

enum Column { kStateColumn, kNameColumn, kMessageColumn, kValuesColumn, kColumnCount };

constexpr int kStateRole = Qt::UserRole;
constexpr std::array<CheckGroup, 3> kGroups = {CheckGroup::Head, CheckGroup::Body,
                                               CheckGroup::Social};

PageCheckOptions StoredOptions() {
    PageCheckSettings settings;
    return settings.Load();
}

}  // namespace

TPageChecksWindow::TPageChecksWindow(const page_checks::TextWidthMeter& meter, QWidget* parent)
    : QWidget(parent, Qt::Window),
      Options(StoredOptions()),
      Preview(new TSearchPreview(meter, this)),
      Summary(new QLabel(this)),
      Checks(new QTreeWidget(this)),
      meter_(meter) {
    setObjectName("PageChecksWindow");
    setWindowTitle(QStringLiteral("Page Checks"));
    Summary->setObjectName("Summary");
    Summary->setAccessibleName(QStringLiteral("Summary of the page checks"));
    QFont bold = Summary->font();
    bold.setBold(true);
    Summary->setFont(bold);

    Checks->setObjectName("Checks");
    Checks->setAccessibleName(QStringLiteral("Page checks"));
    Checks->setColumnCount(kColumnCount);
    Checks->setHeaderLabels({QStringLiteral("State"), QStringLiteral("Check"),
                             QStringLiteral("What to do"), QStringLiteral("Measured")});
    Checks->setWordWrap(true);
    Checks->setTextElideMode(Qt::ElideNone);
    Checks->setItemDelegate(new TWrappingDelegate(*Checks));
    Checks->setUniformRowHeights(false);
    Checks->setAlternatingRowColors(true);
    // Fixed widths for the texts, so long sentences wrap onto more lines instead of being cut.
    QHeaderView* header = Checks->header();
    header->setStretchLastSection(true);
    header->setSectionResizeMode(kStateColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(kNameColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(kMessageColumn, QHeaderView::Interactive);
    Checks->setColumnWidth(kMessageColumn, Checks->fontMetrics().averageCharWidth() * 60);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Preview);
    layout->addWidget(Summary);
    layout->addWidget(Checks, 1);
    resize(980, 720);
}

void TPageChecksWindow::Refresh(std::string_view pageBytes, const QString& fileName) {
    fileName_ = fileName;
    report_ = page_checks::RunPageChecks(pageBytes, QFile::encodeName(fileName).toStdString(),
                                         Options, meter_);
    setWindowTitle(QStringLiteral("Page Checks - %1").arg(QFileInfo(fileName).fileName()));
    ShowReport();
}

void TPageChecksWindow::ShowNoPage() {
    fileName_.clear();
    report_ = page_checks::PageCheckReport();
    setWindowTitle(QStringLiteral("Page Checks"));
    ShowReport();
    Summary->setText(QStringLiteral("No page is open."));
}

void TPageChecksWindow::ShowReport() {
    Preview->Show(report_, Options, fileName_);
    Summary->setText(SummaryText(report_.summary));
    Checks->clear();
    for (const CheckGroup group : kGroups) {
        auto* groupItem = new QTreeWidgetItem(Checks, {CheckGroupName(group)});
        groupItem->setFirstColumnSpanned(true);
        QFont bold = groupItem->font(kStateColumn);
        bold.setBold(true);
        groupItem->setFont(kStateColumn, bold);
        for (const page_checks::CheckResult& check : report_.checks) {
            if (GroupOfCheck(check.id) == group) {
                AddRow(groupItem, check);
            }
        }
        groupItem->setHidden(groupItem->childCount() == 0);
        groupItem->setExpanded(true);
    }
    MarkRows();
}

QTreeWidgetItem* TPageChecksWindow::AddRow(QTreeWidgetItem* group,
                                           const page_checks::CheckResult& check) {
    const PresentedValues values = PresentValues(check.values);
    auto* row = new QTreeWidgetItem(group);
    const QString state = StateName(check.state);
    row->setText(kStateColumn, state);
    row->setData(kStateColumn, kStateRole, static_cast<int>(check.state));
    row->setData(kStateColumn, Qt::AccessibleTextRole, state);
    row->setToolTip(kStateColumn, state);
    row->setText(kNameColumn, CheckDisplayName(check.id));
    row->setText(kMessageColumn, QString::fromStdString(check.message));
    row->setToolTip(kMessageColumn, row->text(kMessageColumn));
    row->setText(kValuesColumn, values.summary);
    row->setToolTip(kValuesColumn, values.summary);
    for (const QString& item : values.items) {
        auto* child = new QTreeWidgetItem(row);
        child->setText(kMessageColumn, item);
        child->setToolTip(kMessageColumn, item);
    }
    return row;
}

// The marks are drawn for the palette, so a change of palette draws them again.
void TPageChecksWindow::MarkRows() {
    const int size = Checks->fontMetrics().height();
    for (int g = 0; g < Checks->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = Checks->topLevelItem(g);
        for (int r = 0; r < group->childCount(); ++r) {
            QTreeWidgetItem* row = group->child(r);
            const auto state =
                static_cast<page_checks::CheckState>(row->data(kStateColumn, kStateRole).toInt());
            row->setIcon(kStateColumn, StateMark(state, palette(), size));
        }
    }
}

void TPageChecksWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        MarkRows();
    }
    QWidget::changeEvent(event);
}

}  // namespace velmora
