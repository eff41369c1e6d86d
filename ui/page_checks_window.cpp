#include "ui/page_checks_window.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QStringDecoder>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <utility>

#include "options/kel_registry.h"
#include "ui/check_detail.h"
#include "ui/check_fixes.h"
#include "ui/check_presentation.h"
#include "ui/check_report_text.h"
#include "ui/fix_settings_dialog.h"
#include "ui/focus_keyphrases.h"
#include "ui/result_address.h"
#include "ui/screen_fit.h"
#include "ui/search_preview.h"
#include "ui/source_view.h"
#include "ui/state_mark.h"
#include "ui/wrapping_delegate.h"

namespace velmora {
namespace {

enum Column { kStateColumn, kNameColumn, kMessageColumn, kValuesColumn, kFixColumn, kColumnCount };

constexpr int kStateRole = Qt::UserRole;
constexpr int kCheckRole = Qt::UserRole + 1;  // index of the row's check in the report
constexpr int kLineRole = Qt::UserRole + 2;
constexpr int kColumnRole = Qt::UserRole + 3;

void SetPlace(QTreeWidgetItem& item, const page_checks::CheckedElement& element) {
    item.setData(kStateColumn, kLineRole, static_cast<qulonglong>(element.position.line));
    item.setData(kStateColumn, kColumnRole, static_cast<qulonglong>(element.position.column));
}

// The page as text for the source view: UTF-8 when the bytes are, else single-byte.
QString SourceText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return utf8.hasError() ? QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()))
                           : text;
}

}  // namespace

TPageChecksWindow::TPageChecksWindow(const page_checks::TextWidthMeter& meter, QWidget* parent)
    : QWidget(parent, Qt::Window),
      Preview(new TSearchPreview(meter, this)),
      Summary(new QLabel(this)),
      Checks(new QTreeWidget(this)),
      meter_(meter),
      keyphrase_(new QLineEdit(this)),
      keyphraseNote_(new QLabel(this)),
      copyReport_(new QPushButton(QStringLiteral("Copy &Report"), this)),
      fixSettings_(new QPushButton(QStringLiteral("Fix &Settings…"), this)),
      detail_(new TCheckDetail(this)),
      fixes_(new TCheckFixes(kFixColumn, *this)) {
    setObjectName("PageChecksWindow");
    setWindowTitle(QStringLiteral("Page Checks"));
    Summary->setObjectName("Summary");
    Summary->setAccessibleName(QStringLiteral("Summary of the page checks"));
    QFont bold = Summary->font();
    bold.setBold(true);
    Summary->setFont(bold);
    // Wrapped rather than widening the window past a small screen beside the row's buttons.
    Summary->setWordWrap(true);
    copyReport_->setObjectName("CopyReportButton");
    copyReport_->setToolTip(QStringLiteral("Copy every check as a Markdown table."));
    connect(copyReport_, &QPushButton::clicked, this, &TPageChecksWindow::CopyReport);
    connect(fixes_, &TCheckFixes::FixRequested, this, &TPageChecksWindow::FixRequested);
    fixSettings_->setObjectName("FixSettingsButton");
    fixSettings_->setToolTip(
        QStringLiteral("Change or forget the web address, language and sharing image the Fix "
                       "buttons remembered for this page's site."));
    fixSettings_->setEnabled(false);
    connect(fixSettings_, &QPushButton::clicked, this, &TPageChecksWindow::EditFixSettings);
    BuildCheckList();
    BuildKeys();

    auto* summaryRow = new QHBoxLayout;
    summaryRow->addWidget(Summary, 1);
    summaryRow->addWidget(fixes_->FixAll);
    summaryRow->addWidget(fixSettings_);
    summaryRow->addWidget(copyReport_);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(Checks);
    split->addWidget(detail_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);
    // The rows take most of the height; the detail pane a few lines, more when dragged.
    detail_->setMinimumHeight(3 * detail_->fontMetrics().lineSpacing());
    split->setSizes({4 * Checks->fontMetrics().lineSpacing() * 6, detail_->minimumHeight() * 2});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Preview);
    layout->addWidget(BuildKeyphraseRow());
    layout->addLayout(summaryRow);
    layout->addWidget(fixes_->Note);
    layout->addWidget(split, 1);
    FitToScreen(*this, QSize(980, 760));
}

// Closing the window as it is destroyed takes the focus from the keyphrase field, whose
// editingFinished would then check a page whose members are already gone.
TPageChecksWindow::~TPageChecksWindow() {
    keyphrase_->disconnect(this);
}

void TPageChecksWindow::BuildCheckList() {
    Checks->setObjectName("Checks");
    Checks->setAccessibleName(QStringLiteral("Page checks"));
    Checks->setColumnCount(kColumnCount);
    Checks->setHeaderLabels({QStringLiteral("State"), QStringLiteral("Check"),
                             QStringLiteral("Result"), QStringLiteral("Measured"),
                             QStringLiteral("Fix")});
    Checks->setWordWrap(true);
    Checks->setTextElideMode(Qt::ElideNone);
    Checks->setItemDelegate(new TWrappingDelegate(*Checks));
    Checks->setUniformRowHeights(false);
    Checks->setAlternatingRowColors(true);
    Checks->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The result takes the room there is and wraps; the values keep a readable width.
    QHeaderView* header = Checks->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(kStateColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(kNameColumn, QHeaderView::Interactive);
    header->setSectionResizeMode(kMessageColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(kValuesColumn, QHeaderView::Interactive);
    header->setSectionResizeMode(kFixColumn, QHeaderView::ResizeToContents);
    Checks->viewport()->installEventFilter(this);
    connect(Checks, &QTreeWidget::currentItemChanged, this,
            [this](const QTreeWidgetItem* item) { ShowDetail(item); });
    connect(Checks, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { AddFindings(*item); });
    // Double-click or Enter; not the style's activation, which may be a single click.
    connect(Checks, &QTreeWidget::itemDoubleClicked, this,
            [this](const QTreeWidgetItem* item) { ShowSource(*item); });
}

void TPageChecksWindow::BuildKeys() {
    const auto onKey = [this](const QKeySequence& key, QWidget* scope, auto action) {
        auto* shortcut = new QShortcut(key, scope);
        shortcut->setContext(scope == this ? Qt::WindowShortcut : Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    onKey(QKeySequence(Qt::Key_Escape), this, [this] { close(); });
    onKey(QKeySequence(Qt::CTRL | Qt::Key_W), this, [this] { close(); });
    for (const Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter}) {
        onKey(QKeySequence(enter), Checks, [this] {
            if (Checks->currentItem() != nullptr) {
                ShowSource(*Checks->currentItem());
            }
        });
    }
    onKey(QKeySequence::Copy, Checks,
          [this] { QApplication::clipboard()->setText(SelectedRowsText()); });
}

QWidget* TPageChecksWindow::BuildKeyphraseRow() {
    auto* row = new QWidget(this);
    auto* label = new QLabel(QStringLiteral("&Focus keyphrase:"), row);
    label->setBuddy(keyphrase_);
    keyphrase_->setObjectName("Keyphrase");
    keyphrase_->setAccessibleName(QStringLiteral("Focus keyphrase"));
    keyphrase_->setClearButtonEnabled(true);
    keyphrase_->setToolTip(QStringLiteral(
        "What people type to find this page. Kept for this page file; Enter checks again."));
    keyphraseNote_->setObjectName("KeyphraseNote");
    keyphraseNote_->setWordWrap(true);
    connect(keyphrase_, &QLineEdit::editingFinished, this, &TPageChecksWindow::KeyphraseEdited);

    auto* siteLabel = new QLabel(QStringLiteral("Site &address:"), row);
    auto* site = new QLineEdit(TSiteAddress::Load(), row);
    siteLabel->setBuddy(site);
    site->setObjectName("SiteAddress");
    site->setAccessibleName(QStringLiteral("Site address"));
    site->setPlaceholderText(QStringLiteral("https://www.example.com/"));
    site->setToolTip(QStringLiteral(
        "The web address of the site, for the preview of pages that name no canonical URL."));
    connect(site, &QLineEdit::editingFinished, this, [this, site] {
        Preview->SetSiteAddress(site->text().trimmed());
        try {
            TSiteAddress::Save(site->text());
        } catch (const SettingsError& error) {
            keyphraseNote_->setText(QString::fromUtf8(error.what()));
            keyphraseNote_->show();
        }
    });

    auto* layout = new QGridLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label, 0, 0);
    layout->addWidget(keyphrase_, 0, 1);
    layout->addWidget(keyphraseNote_, 1, 1);
    layout->addWidget(siteLabel, 2, 0);
    layout->addWidget(site, 2, 1);
    layout->setColumnStretch(1, 1);
    return row;
}

void TPageChecksWindow::Refresh(std::string_view pageBytes, const QString& fileName) {
    TakePage(pageBytes, fileName);
    RunChecks();
    ShowReport(page_checks::PlanReportedFixes(report_, pageBytes_,
                                              QFile::encodeName(fileName_).toStdString(), Options));
}

void TPageChecksWindow::ShowChecked(const page_checks::PageCheckReport& report,
                                    const page_checks::FixPlan& fixes, std::string_view pageBytes,
                                    const QString& fileName) {
    TakePage(pageBytes, fileName);
    report_ = report;
    ShowReport(fixes);
}

void TPageChecksWindow::TakePage(std::string_view pageBytes, const QString& fileName) {
    if (fileName != fileName_) {
        keyphrase_->setText(TFocusKeyphrases::Load(fileName));
    }
    fileName_ = fileName;
    pageBytes_.assign(pageBytes);
    setWindowTitle(QStringLiteral("Page Checks - %1").arg(QFileInfo(fileName).fileName()));
}

void TPageChecksWindow::RunChecks() {
    Options.FocusKeyphrase = keyphrase_->text().simplified().toStdString();
    report_ = page_checks::RunPageChecks(pageBytes_, QFile::encodeName(fileName_).toStdString(),
                                         Options, meter_);
}

void TPageChecksWindow::KeyphraseEdited() {
    const QString typed = keyphrase_->text().simplified();
    if (fileName_.isEmpty() || typed == TFocusKeyphrases::Load(fileName_)) {
        return;
    }
    QString refused;
    try {
        TFocusKeyphrases::Save(fileName_, typed);
    } catch (const SettingsError& error) {
        // The keyphrase still counts while the window is open; only keeping it failed.
        refused = QString::fromUtf8(error.what());
    }
    RunChecks();
    // The keyphrase changes no fix: the page's plan stands.
    ShowReport(fixes_->Planned());
    if (refused.isEmpty()) {
        emit KeyphraseKept();
    }
    if (!refused.isEmpty()) {
        keyphraseNote_->setText(refused);
        keyphraseNote_->show();
    }
}

void TPageChecksWindow::ShowTyped(bool title, const QString& typed) {
    if (title) {
        Preview->SetTitle(typed);
    } else {
        Preview->SetDescription(typed);
    }
}

void TPageChecksWindow::ShowNoPage() {
    fileName_.clear();
    pageBytes_.clear();
    keyphrase_->clear();
    report_ = page_checks::PageCheckReport();
    setWindowTitle(QStringLiteral("Page Checks"));
    ShowReport({});
    Summary->setText(QStringLiteral("No page is open."));
}

void TPageChecksWindow::ShowKeyphrase() {
    keyphraseNote_->clear();
    keyphrase_->setPlaceholderText(QString());
    for (const page_checks::CheckResult& check : report_.checks) {
        const page_checks::CheckValue* source = check.Value("source");
        const page_checks::CheckValue* phrase = check.Value("keyphrase");
        if (check.id != CheckId::Keyphrase || source == nullptr || phrase == nullptr ||
            std::get<std::string>(source->value) != "keywords") {
            continue;
        }
        // The placeholder labels the stand-in, so it takes no line of its own.
        keyphrase_->setPlaceholderText(
            QStringLiteral("%1 (the first meta keyword, until you type one)")
                .arg(QString::fromStdString(std::get<std::string>(phrase->value))));
    }
    keyphraseNote_->setVisible(!keyphraseNote_->text().isEmpty());
}

void TPageChecksWindow::ShowReport(page_checks::FixPlan fixes) {
    Preview->Show(PreviewPageOf(report_, pageBytes_, fileName_), Options);
    Summary->setText(SummaryText(report_.summary));
    ShowKeyphrase();
    Checks->clear();
    fixes_->Take(std::move(fixes));
    fixSettings_->setEnabled(!fileName_.isEmpty());
    for (const CheckGroup group : kCheckGroups) {
        auto* groupItem = new QTreeWidgetItem(Checks, {CheckGroupName(group)});
        groupItem->setFirstColumnSpanned(true);
        QFont bold = groupItem->font(kStateColumn);
        bold.setBold(true);
        groupItem->setFont(kStateColumn, bold);
        for (const page_checks::CheckResult* check : ChecksOfGroup(report_, group)) {
            AddRow(groupItem, *check);
        }
        groupItem->setHidden(groupItem->childCount() == 0);
        groupItem->setExpanded(true);
    }
    MarkRows();
    detail_->ShowNothing();
}

void TPageChecksWindow::AddRow(QTreeWidgetItem* group, const page_checks::CheckResult& check) {
    auto* row = new QTreeWidgetItem(group);
    const QString state = StateName(check.state);
    row->setText(kStateColumn, state);
    row->setData(kStateColumn, kStateRole, static_cast<int>(check.state));
    row->setData(kStateColumn, kCheckRole, static_cast<int>(&check - report_.checks.data()));
    row->setData(kStateColumn, Qt::AccessibleTextRole, state);
    row->setToolTip(kStateColumn, state);
    row->setText(kNameColumn, CheckDisplayName(check.id));
    row->setText(kMessageColumn, QString::fromStdString(check.message));
    row->setText(kValuesColumn, ReadableValues(check.values));
    if (check.element) {
        SetPlace(*row, *check.element);
    }
    // A page may have thousands of findings: their rows are made when the check is opened.
    if (!check.listed.empty()) {
        row->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    fixes_->Offer(*row, check);
}

void TPageChecksWindow::AddFindings(QTreeWidgetItem& row) {
    const QVariant index = row.data(kStateColumn, kCheckRole);
    if (!index.isValid() || row.childCount() > 0) {
        return;
    }
    // Added at once: each insertion lays out the Fix buttons again.
    QList<QTreeWidgetItem*> children;
    for (const page_checks::CheckedElement& element : report_.checks.at(index.toUInt()).listed) {
        auto* child = new QTreeWidgetItem;
        child->setText(kMessageColumn, FindingText(element));
        child->setToolTip(kMessageColumn, QStringLiteral("Double-click to see it in the source."));
        SetPlace(*child, element);
        children.append(child);
    }
    row.addChildren(children);
}

void TPageChecksWindow::ShowDetail(const QTreeWidgetItem* item) {
    // A finding's row shows the check it belongs to.
    if (item != nullptr && !item->data(kStateColumn, kCheckRole).isValid()) {
        item = item->parent();
    }
    if (item == nullptr || !item->data(kStateColumn, kCheckRole).isValid()) {
        detail_->ShowNothing();
        return;
    }
    detail_->Show(report_.checks.at(item->data(kStateColumn, kCheckRole).toUInt()));
}

bool TPageChecksWindow::ShowSource(const QTreeWidgetItem& item) {
    const QVariant line = item.data(kStateColumn, kLineRole);
    if (!line.isValid() || pageBytes_.empty()) {
        return false;
    }
    if (sourceView_ == nullptr) {
        sourceView_ = new TSourceView(this);
    }
    sourceView_->ShowAt(SourceText(pageBytes_), QFileInfo(fileName_).fileName(), line.toInt(),
                        item.data(kStateColumn, kColumnRole).toInt());
    sourceView_->show();
    sourceView_->raise();
    return true;
}

QString TPageChecksWindow::SelectedRowsText() const {
    QStringList lines;
    for (const QTreeWidgetItem* item : Checks->selectedItems()) {
        const QVariant check = item->data(kStateColumn, kCheckRole);
        if (check.isValid()) {
            lines.append(CheckRowText(report_.checks.at(check.toUInt())));
        } else if (item->parent() != nullptr) {
            lines.append(item->text(kMessageColumn));
        }
    }
    return lines.join(QLatin1Char('\n'));
}

void TPageChecksWindow::ShowFixResult(const page_checks::FixPlan& plan) {
    fixes_->ShowResult(plan);
    // The pressed button went with the rows it stood in.
    Checks->setFocus();
}

void TPageChecksWindow::EditFixSettings() {
    if (const std::optional<QString> refusal =
            velmora::EditFixSettings(QFile::encodeName(fileName_).toStdString(), this)) {
        fixes_->Note->setText(*refusal);
        fixes_->Note->show();
    }
}

void TPageChecksWindow::CopyReport() {
    QApplication::clipboard()->setText(ReportMarkdown(report_, QFileInfo(fileName_).fileName()));
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

// The check's name and the values keep a share of the width and wrap in it, so the result keeps
// a readable column however narrow the window is.
bool TPageChecksWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Checks->viewport() && event->type() == QEvent::Resize) {
        const int characterWidth = Checks->fontMetrics().averageCharWidth();
        const int room = Checks->viewport()->width() - Checks->columnWidth(kStateColumn) -
                         Checks->columnWidth(kFixColumn);
        Checks->setColumnWidth(kNameColumn, std::min(characterWidth * 22, room / 4));
        Checks->setColumnWidth(kValuesColumn, std::min(characterWidth * 30, room * 3 / 10));
    }
    return QWidget::eventFilter(watched, event);
}

void TPageChecksWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        MarkRows();
    }
    QWidget::changeEvent(event);
}

}  // namespace velmora
