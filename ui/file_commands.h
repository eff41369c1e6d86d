#pragma once

// The file window's commands as menu items and tool buttons, with their texts, hints, shortcuts
// and icons. The host places them in its menu bar and tool bar.

#include <QList>
#include <QObject>

class QAction;
class QWidget;

namespace velmora {

class TKeywordsForm;

class TFileCommands : public QObject {
    Q_OBJECT

public:
    // The shortcuts work inside `window` also when it is shown without a host.
    explicit TFileCommands(QWidget& window);

    // Each command runs the file window's handler of its name.
    void ConnectTo(TKeywordsForm& form);

    // Save and Abandon follow the page's modified state; their tool buttons copy them.
    void UpdateStates(bool modified);
    void SetCompressEnabled(bool enabled);
    void SetViewEnabled(bool enabled);
    // Open Backup Folder waits for the first backup.
    void SetBackupEnabled(bool enabled);

    // The items of each menu, in order (Open Recent goes after the file items).
    QList<QAction*> FileItems() const;
    QAction* ExitItem() const;
    QList<QAction*> EditItems() const;
    QList<QAction*> ViewItems() const;
    QList<QAction*> HelpItems() const;
    // The tool bar's two groups, separated by a gap.
    QList<QAction*> FileButtons() const;
    QList<QAction*> PageButtons() const;

private:
    void BuildMenuItems(QWidget& window);
    void BuildToolButtons(QWidget& window);

    QAction* menuOpen;
    QAction* MenuAbandon;
    QAction* MenuSave;
    QAction* MenuSaveAs;
    QAction* menuExit;
    QAction* menuOptions;
    QAction* Keywords1;
    QAction* mnuShrink;
    QAction* menuPageChecks;
    QAction* menuShowAdvice;
    QAction* menuViewInBrowser;
    QAction* menuOpenBackupFolder;
    QAction* About1;
    QAction* ToolButtonOpen;
    QAction* ToolButtonSave;
    QAction* ToolButtonDiscard;
    QAction* ToolButtonView;
    QAction* ToolButtonCompress;
};

}  // namespace velmora
