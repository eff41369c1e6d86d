#include "ui/file_commands.h"

#include <QAction>
#include <QKeySequence>
#include <QStyle>
#include <QWidget>

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
    ConnectTriggers();
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
    About1 = NewAction(QStringLiteral("&About"), QString(), this, "About1");
    SetStandardShortcut(*About1, QKeySequence::HelpContents, QKeySequence(Qt::Key_F1));
    window.addActions({menuOpen, MenuSave, MenuSaveAs, menuExit, About1, menuPageChecks});
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
    // View has no menu item; its shortcut keeps it within reach of the keyboard.
    ToolButtonView->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    window.addAction(ToolButtonView);
    SetCompressEnabled(false);
    SetViewEnabled(false);
}

void TFileCommands::ConnectTriggers() {
    const std::initializer_list<std::pair<QAction*, void (TFileCommands::*)()>> triggers = {
        {menuOpen, &TFileCommands::Open},
        {ToolButtonOpen, &TFileCommands::Open},
        {MenuSave, &TFileCommands::Save},
        {ToolButtonSave, &TFileCommands::Save},
        {MenuSaveAs, &TFileCommands::SaveAs},
        {MenuAbandon, &TFileCommands::Abandon},
        {ToolButtonDiscard, &TFileCommands::Abandon},
        {menuExit, &TFileCommands::Exit},
        {menuOptions, &TFileCommands::Options},
        {Keywords1, &TFileCommands::ChangeKeywords},
        {mnuShrink, &TFileCommands::Compress},
        {ToolButtonCompress, &TFileCommands::Compress},
        {ToolButtonView, &TFileCommands::View},
        {About1, &TFileCommands::About},
        {menuPageChecks, &TFileCommands::PageChecks},
        {menuShowAdvice, &TFileCommands::ShowAllAdvice}};
    for (const auto& [action, signal] : triggers) {
        connect(action, &QAction::triggered, this, signal);
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
}

QList<QAction*> TFileCommands::FileItems() const {
    return {menuOpen, MenuAbandon, MenuSave, MenuSaveAs};
}

QAction* TFileCommands::ExitItem() const {
    return menuExit;
}

QList<QAction*> TFileCommands::EditItems() const {
    return {menuOptions, Keywords1, mnuShrink};
}

QList<QAction*> TFileCommands::ViewItems() const {
    return {menuPageChecks, menuShowAdvice};
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
