#pragma once

// The main window: menu bar, tool bar and the file window as its content.

#include <QMainWindow>

#include "ui/file_keywords.h"

class QLineEdit;
class QMenu;
class QToolBar;

namespace velmora {

class TMDIForm;

// The frame's side of the file window's host link.
class TMDIControl : public TKeywordsControl {
public:
    explicit TMDIControl(TMDIForm& frame) : Frame(frame) {}
    void RequestExit() override;
    void ShowStatus(const QString& message) override;
    void ShowBackup(const QString& path) override;

    TMDIForm& Frame;
};

class TMDIForm : public QMainWindow {
    Q_OBJECT

public:
    explicit TMDIForm(QWidget* parent = nullptr);

    // Takes the file window (and its ownership) as content and puts its commands in the menu
    // bar and the tool bar.
    void Embed(TKeywordsForm* form);
    TKeywordsForm* Form() const { return form_; }

    QMenu* MenuBar = nullptr;
    QMenu* Options1 = nullptr;
    QMenu* View1 = nullptr;
    QMenu* Help1 = nullptr;
    QToolBar* ToolBar = nullptr;
    // The last save's backup, selectable, until the next save.
    QLineEdit* BackupPath = nullptr;
    TMDIControl Control{*this};

public slots:
    void ExitClick();

protected:
    void showEvent(QShowEvent* event) override;
    // Asks the file window first; a refusal keeps the program running.
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The height is what the content needs; only the width is the user's.
    void FixHeight();
    // The size and position the frame had when it was last closed, kept with the settings.
    void RestoreGeometry();
    void SaveGeometry();

    TKeywordsForm* form_ = nullptr;
    bool HeightFixed = false;
};

}  // namespace velmora
