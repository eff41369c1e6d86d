#include "ui/mdi.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <algorithm>

#include "core/page_files.h"
#include "document/velmora_data.h"
#include "options/kel_registry.h"
#include "ui/application_title.h"
#include "ui/file_commands.h"
#include "ui/screen_fit.h"
#include "ui/startup.h"
#include "ui/theme.h"

namespace velmora {
namespace {

constexpr int kMinimumWindowWidth = 528;
constexpr int kStatusMargin = 16;
// The frame's size and position, kept with the settings as Qt encodes them.
const QString kWindowGroup = QStringLiteral("Window");
const QString kGeometry = QStringLiteral("Geometry");

// The local page file a drag carries, empty when it carries none.
QString DraggedPage(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty()) {
        return QString();
    }
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile() || !IsPageFileName(QFile::encodeName(url.toLocalFile()).toStdString()) ||
        !PageFileExists(url.toLocalFile())) {
        return QString();
    }
    return url.toLocalFile();
}

}  // namespace

void TMDIControl::RequestExit() {
    Frame.ExitClick();
}

void TMDIControl::ShowStatus(const QString& message) {
    // A backup path is long and its end says most: cut the middle rather than the end, and keep
    // the whole text in the tool tip.
    QStatusBar* bar = Frame.statusBar();
    bar->showMessage(
        bar->fontMetrics().elidedText(message, Qt::ElideMiddle, bar->width() - kStatusMargin));
    bar->setToolTip(message);
}

void TMDIControl::ShowBackup(const QString& path) {
    QLineEdit* field = Frame.BackupPath;
    field->setText(QStringLiteral("Backup: ") + path);
    field->setToolTip(path);
    // The end of a long path names the file; the field scrolls to it.
    field->setCursorPosition(static_cast<int>(field->text().size()));
    field->show();
}

TMDIForm::TMDIForm(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(ApplicationTitle());
    setWindowIcon(ApplicationIcon());
    setAcceptDrops(true);
    setMinimumWidth(kMinimumWindowWidth);
    statusBar()->setSizeGripEnabled(false);
    // A permanent field: passing messages and menu hints do not cover it.
    BackupPath = new QLineEdit(this);
    BackupPath->setObjectName("BackupPath");
    BackupPath->setAccessibleName(QStringLiteral("Last backup"));
    BackupPath->setReadOnly(true);
    BackupPath->setFrame(false);
    BackupPath->setFocusPolicy(Qt::ClickFocus);
    BackupPath->setMinimumWidth(kMinimumWindowWidth / 2);
    QPalette flat = BackupPath->palette();
    flat.setColor(QPalette::Base, Qt::transparent);
    BackupPath->setPalette(flat);
    statusBar()->addPermanentWidget(BackupPath, 1);
    BackupPath->hide();
}

void TMDIForm::Embed(TKeywordsForm* form) {
    form_ = form;
    setCentralWidget(form);

    MenuBar = menuBar()->addMenu(QStringLiteral("&File"));
    const TFileCommands& commands = form->Commands();
    MenuBar->addActions(commands.FileItems());
    MenuBar->addMenu(form->RecentMenu());
    MenuBar->addSeparator();
    MenuBar->addAction(commands.ExitItem());
    Options1 = menuBar()->addMenu(QStringLiteral("&Edit"));
    Options1->addActions(commands.EditItems());
    View1 = menuBar()->addMenu(QStringLiteral("&View"));
    View1->addActions(commands.ViewItems());
    View1->addSeparator();
    auto* themes = new TThemeMenu(View1);
    connect(themes, &TThemeMenu::StoreRefused, this,
            [this](const QString& reason) { Control.ShowStatus(reason); });
    View1->addMenu(themes);
    Help1 = menuBar()->addMenu(QStringLiteral("&Help"));
    Help1->addActions(commands.HelpItems());

    ToolBar = addToolBar(QStringLiteral("Commands"));
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ToolBar->addActions(commands.FileButtons());
    ToolBar->addSeparator();
    ToolBar->addActions(commands.PageButtons());
    setContextMenuPolicy(Qt::NoContextMenu);

    FitToScreen(*this,
                QSize(std::max(kMinimumWindowWidth, sizeHint().width()), sizeHint().height()));
    RestoreGeometry();
}

void TMDIForm::RestoreGeometry() {
    const QString stored = TKelRegistry(kVelmoraSettingsPath).ReadString(kWindowGroup, kGeometry);
    if (!stored.isEmpty()) {
        restoreGeometry(QByteArray::fromBase64(stored.toLatin1()));
    }
}

void TMDIForm::SaveGeometry() {
    // Not flushed: a position the store cannot keep is not worth a message while closing.
    TKelRegistry(kVelmoraSettingsPath)
        .WriteString(kWindowGroup, kGeometry, QString::fromLatin1(saveGeometry().toBase64()));
}

void TMDIForm::FixHeight() {
    setFixedHeight(sizeHint().height());
    setMinimumWidth(std::max(kMinimumWindowWidth, minimumSizeHint().width()));
}

void TMDIForm::showEvent(QShowEvent* event) {
    if (!HeightFixed && form_ != nullptr) {
        HeightFixed = true;
        FixHeight();
        form_->FocusFirstControl();
    }
    QMainWindow::showEvent(event);
}

void TMDIForm::ExitClick() {
    close();
}

void TMDIForm::closeEvent(QCloseEvent* event) {
    if (form_ != nullptr && !form_->CanClose()) {
        event->ignore();
        return;
    }
    SaveGeometry();
    event->accept();
}

void TMDIForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!DraggedPage(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void TMDIForm::dropEvent(QDropEvent* event) {
    const QString page = DraggedPage(event->mimeData());
    if (page.isEmpty() || form_ == nullptr) {
        return;
    }
    event->acceptProposedAction();
    // Opened once the drop has finished, so the save prompt does not hold up the drag source.
    QMetaObject::invokeMethod(
        form_, [form = form_, page] { form->OpenDroppedFile(page); }, Qt::QueuedConnection);
}

}  // namespace velmora
