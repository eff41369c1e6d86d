#include "ui/file_commands.h"

#include <QAction>
#include <QKeySequence>
#include <QStyle>
#include <QWidget>

#include "ui/file_keywords.h"

namespace velmora {
namespace {

QAction* NewAction(const QString& text, const QString& hint, QObject* parent, const char* name) {
    auto* action = new QAction(text, parent);
    action->setObjectName(QLatin1String(name));
    if (!hint.isEmpty()) {
        action->setToolTip(hint);
        action->setStatusTip(hint);
    }
    return action;
}

// The platform's keys for a standard command; where the platform has none (Quit on some
// desktops), the usual Linux key.
void SetStandardShortcut(QAction& action, QKeySequence::StandardKey key,
                         const QKeySequence& usual) {
    const QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    action.setShortcuts(keys.isEmpty() ? QList<QKeySequence>{usual} : keys);
}

}  // namespace

TFileCommands::TFileCommands(QWidget& window) : QObject(&window) {
    BuildMenuItems(window);
    BuildToolButtons(window);
}

void TFileCommands::BuildMenuItems(QWidget& window) {
    menuOpen = NewAction(QStringLiteral("&Open"), QString(), this, "menuOpen");
    SetStandardShortcut(*menuOpen, QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O));
    MenuAbandon = NewAction(QStringLiteral("&Abandon Changes"), QString(), this, "MenuAbandon");
    MenuSave = NewAction(QStringLiteral("&Save"), QString(), this, "MenuSave");
    SetStandardShortcut(*MenuSave, QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S));
    MenuSaveAs = NewAction(QStringLiteral("Save &As..."), QString(), this, "MenuSaveAs");
    SetStandardShortcut(*MenuSaveAs, QKeySequence::SaveAs,
                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    menuExit = NewAction(QStringLiteral("E&xit"), QString(), this, "menuExit");
    SetStandardShortcut(*menuExit, QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q));
    menuOptions = NewAction(QStringLiteral("&Options"), QString(), this, "menuOptions");
    Keywords1 = NewAction(QStringLiteral("&Keywords"), QString(), this, "Keywords1");
    mnuShrink = NewAction(QStringLiteral("&Compress"),
                          QStringLiteral("Remove unnecessary white space."), this, "mnuShrink");
    menuPageChecks = NewAction(QStringLiteral("&Page Checks…"),
                               QStringLiteral("Check the page as search engines read it."), this,
                               "menuPageChecks");
    menuPageChecks->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    menuShowAdvice = NewAction(QStringLiteral("Show &All Advice…"),
                               QStringLiteral("Every advice line whole, to read and scroll."), this,
                               "menuShowAdvice");
    menuViewInBrowser = NewAction(QStringLiteral("View in &Browser"),
                                  QStringLiteral("View the file in the browser window."), this,
                                  "menuViewInBrowser");
    menuViewInBrowser->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    menuOpenBackupFolder = NewAction(QStringLiteral("Open &Backup Folder"),
                                     QStringLiteral("Show the folder of the last backup."), this,
                                     "menuOpenBackupFolder");
    About1 = NewAction(QStringLiteral("&About"), QString(), this, "About1");
    SetStandardShortcut(*About1, QKeySequence::HelpContents, QKeySequence(Qt::Key_F1));
    window.addActions(
        {menuOpen, MenuSave, MenuSaveAs, menuExit, About1, menuPageChecks, menuViewInBrowser});
}

void TFileCommands::BuildToolButtons(QWidget& window) {
    const QStyle* style = window.style();
    ToolButtonOpen = NewAction(QStringLiteral("Open"), QStringLiteral("Open a new file"), this,
                               "ToolButtonOpen");
    ToolButtonOpen->setIcon(style->standardIcon(QStyle::SP_DialogOpenButton));
    ToolButtonSave =
        NewAction(QStringLiteral("Save"), QStringLiteral("Save changes made to the file."), this,
                  "ToolButtonSave");
    ToolButtonSave->setIcon(style->standardIcon(QStyle::SP_DialogSaveButton));
    ToolButtonDiscard =
        NewAction(QStringLiteral("Discard"), QStringLiteral("Abandon any changes made."), this,
                  "ToolButtonDiscard");
    ToolButtonDiscard->setIcon(style->standardIcon(QStyle::SP_DialogDiscardButton));
    ToolButtonView =
        NewAction(QStringLiteral("View"), QStringLiteral("View the file in the browser window."),
                  this, "ToolButtonView");
    ToolButtonView->setIcon(style->standardIcon(QStyle::SP_FileDialogContentsView));
    ToolButtonCompress =
        NewAction(QStringLiteral("Compress"), QStringLiteral("Compress file - removes whitespace"),
                  this, "ToolButtonCompress");
    ToolButtonCompress->setIcon(style->standardIcon(QStyle::SP_ArrowDown));
    SetCompressEnabled(false);
    SetViewEnabled(false);
    SetBackupEnabled(false);
}

void TFileCommands::ConnectTo(TKeywordsForm& form) {
    const std::initializer_list<std::pair<QAction*, void (TKeywordsForm::*)()>> handlers = {
        {menuOpen, &TKeywordsForm::OpenButtonClick},
        {ToolButtonOpen, &TKeywordsForm::OpenButtonClick},
        {MenuSave, &TKeywordsForm::SaveButtonClick},
        {ToolButtonSave, &TKeywordsForm::SaveButtonClick},
        {MenuSaveAs, &TKeywordsForm::SaveAsClick},
        {MenuAbandon, &TKeywordsForm::MenuAbandon_Click},
        {ToolButtonDiscard, &TKeywordsForm::MenuAbandon_Click},
        {menuOpenBackupFolder, &TKeywordsForm::menuOpenBackupFolderClick},
        {menuExit, &TKeywordsForm::menuExitClick},
        {menuOptions, &TKeywordsForm::menuOptionsClick},
        {Keywords1, &TKeywordsForm::KeywordsButtonClick},
        {mnuShrink, &TKeywordsForm::CompressButtonClick},
        {ToolButtonCompress, &TKeywordsForm::CompressButtonClick},
        {ToolButtonView, &TKeywordsForm::ToolButtonViewClick},
        {menuViewInBrowser, &TKeywordsForm::ToolButtonViewClick},
        {About1, &TKeywordsForm::About1Click},
        {menuPageChecks, &TKeywordsForm::menuPageChecksClick},
        {menuShowAdvice, &TKeywordsForm::menuShowAdviceClick}};
    for (const auto& [action, handler] : handlers) {
        connect(action, &QAction::triggered, &form, handler);
    }
}

void TFileCommands::UpdateStates(bool modified) {
    MenuAbandon->setEnabled(modified);
    MenuSave->setEnabled(modified);
    ToolButtonSave->setEnabled(MenuSave->isEnabled());
    ToolButtonDiscard->setEnabled(MenuAbandon->isEnabled());
}

void TFileCommands::SetCompressEnabled(bool enabled) {
    mnuShrink->setEnabled(enabled);
    ToolButtonCompress->setEnabled(mnuShrink->isEnabled());
}

void TFileCommands::SetViewEnabled(bool enabled) {
    ToolButtonView->setEnabled(enabled);
    menuViewInBrowser->setEnabled(enabled);
}

void TFileCommands::SetBackupEnabled(bool enabled) {
    menuOpenBackupFolder->setEnabled(enabled);
}

QList<QAction*> TFileCommands::FileItems() const {
    return {menuOpen, MenuAbandon, MenuSave, MenuSaveAs, menuOpenBackupFolder};
}

QAction* TFileCommands::ExitItem() const {
    return menuExit;
}

QList<QAction*> TFileCommands::EditItems() const {
    return {menuOptions, Keywords1, mnuShrink};
}

QList<QAction*> TFileCommands::ViewItems() const {
    return {menuPageChecks, menuShowAdvice, menuViewInBrowser};
}

QList<QAction*> TFileCommands::HelpItems() const {
    return {About1};
}

QList<QAction*> TFileCommands::FileButtons() const {
    return {ToolButtonOpen, ToolButtonSave, ToolButtonDiscard};
}

QList<QAction*> TFileCommands::PageButtons() const {
    return {ToolButtonView, ToolButtonCompress};
}

}  // namespace velmora
