#pragma once

// The file window's commands as menu items and tool buttons, with their texts, hints, shortcuts
// and icons. The host places them in its menu bar and tool bar; each one's trigger is a signal.

#include <QList>
#include <QObject>

class QAction;
class QWidget;

namespace velmora {

class TFileCommands : public QObject {
    Q_OBJECT

public:
    // The shortcuts work inside `window` also when it is shown without a host.
    explicit TFileCommands(QWidget& window);

    // Save and Abandon follow the page's modified state; their tool buttons copy them.
    void UpdateStates(bool modified);
    void SetCompressEnabled(bool enabled);
    void SetViewEnabled(bool enabled);

    // The items of each menu, in order (Open Recent goes after the file items).
    QList<QAction*> FileItems() const;
    QAction* ExitItem() const;
    QList<QAction*> EditItems() const;
    QList<QAction*> ViewItems() const;
    QList<QAction*> HelpItems() const;
    // The tool bar's two groups, separated by a gap.
    QList<QAction*> FileButtons() const;
    QList<QAction*> PageButtons() const;

signals:
    void Open();
    void Save();
    void SaveAs();
    void Abandon();
    void Exit();
    void Options();
    void ChangeKeywords();
    void Compress();
    void View();
    void About();
    void PageChecks();
    void ShowAllAdvice();

private:
    void BuildMenuItems(QWidget& window);
    void BuildToolButtons(QWidget& window);
    void ConnectTriggers();

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
    QAction* About1;
    QAction* ToolButtonOpen;
    QAction* ToolButtonSave;
    QAction* ToolButtonDiscard;
    QAction* ToolButtonView;
    QAction* ToolButtonCompress;
};

}  // namespace velmora
