#pragma once

// The file window: shows the page's analysis and carries every command of the program. The
// display, the commands, the recent files and the link to Page Checks are its parts.

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "options/page_check_options.h"
#include "options/saveable_velmora_options.h"
#include "ui/about_box.h"
#include "ui/page_file_dialogs.h"
#include "ui/prompt.h"

class QMenu;
class QUrl;

namespace velmora {

class KelVelmoraData;
class TChangeKeywords;
class TEditText;
class TFileCommands;
class TFileDisplay;
class TKeywordsOptionsForm;
class TPageChecksLink;
class TRecentMenu;

// The file window's link to the window that hosts it.
class TKeywordsControl {
public:
    virtual ~TKeywordsControl() = default;
    // Asks the host to close the main window (which runs the close query first).
    virtual void RequestExit() = 0;
    // Shows a passing message, such as where a save put its backup.
    virtual void ShowStatus(const QString& message) = 0;
    // Shows where the last save put its backup until the next save.
    virtual void ShowBackup(const QString& path) = 0;
};

class TKeywordsForm : public QWidget {
    Q_OBJECT

public:
    TKeywordsForm(Prompt& prompt, TChangeKeywords& changeKeywords, TEditText& editText,
                  TAboutBox& aboutBox, OpenFileFunction openFile = RunOpenFileDialog,
                  UrlOpener openUrl = OpenUrlWithDesktop, QWidget* parent = nullptr);
    ~TKeywordsForm() override;

    // Takes the program's document (or keeps its own when none), the host link, and opens the
    // page that the command line names, else asks for one. False when no page was opened: the
    // program then ends.
    bool Prime(KelVelmoraData* document, TKeywordsControl* control, const QStringList& arguments);
    int PreferredHeight() const;

    // The open dialog, then OpenHtmlFile; false when cancelled or the file does not exist.
    bool DoOpenHtmlFile();
    // False, with nothing changed, when no such file exists; throws when it cannot be read.
    bool OpenHtmlFile(const QString& fileName);
    // The open command: the save prompt, then the named file or the open dialog.
    void OpenWithPrompt(const QString& fileName);
    void DisplayAnalysis();
    void UpdateCommandStates();
    // Yes means go on (saved or not wanted); Cancel means stop.
    Prompt::Answer QuerySaveChanges();
    // Saves, asking first when the save would change bytes outside the head or overwrite a file
    // changed by another program; false when the user said no. Throws when the save fails.
    bool SaveFile();
    void CompressFile();
    // The close query: true when the window may close.
    bool CanClose();

    // The commands, for the host's menu bar and tool bar.
    const TFileCommands& Commands() const { return *commands_; }
    QMenu* RecentMenu() const;
    // The focus starts on Browse.
    void FocusFirstControl();

    KelVelmoraData* Document;
    KelSaveableVelmoraOptions Options;
    TKeywordsControl* Control = nullptr;
    // The Save As file dialog; tests put an answer in its place.
    OpenFileFunction AskSaveAsName = RunSaveAsDialog;

public slots:
    void OpenButtonClick();
    void SaveButtonClick();
    void SaveAsClick();
    void MenuAbandon_Click();
    void menuExitClick();
    void menuOptionsClick();
    void KeywordsButtonClick();
    void EditTitleButtonClick();
    void EditDescriptionButtonClick();
    void CompressButtonClick();
    void ToolButtonViewClick();
    void menuOpenBackupFolderClick();
    void About1Click();
    void menuPageChecksClick();
    void menuShowAdviceClick();
    // The Fix buttons of Page Checks: fixes the checks in `only` (every fixable one when empty)
    // as one edit of the page, after asking for what the fixes need and the page cannot tell.
    void FixPageChecks(const std::vector<CheckId>& only);
    // Opens a page of the recent list; one that is gone is taken off with a note.
    void OpenRecentFile(const QString& fileName);
    // A page file dropped on the program: the open command with its save prompt.
    void OpenDroppedFile(const QString& fileName);

private:
    void ConnectCommands();
    // A passing message in the host's status bar.
    void ShowStatus(const QString& message);
    // The backup of the save just made, in the status bar and for Open Backup Folder.
    void ShowBackup();
    // Hands `url` to the desktop; a refusal is shown with `failure`.
    void OpenOnDesktop(const QUrl& url, const QString& failure);
    // Runs a command to its end; an error stops it and is shown with the file and the reason.
    void Guarded(const std::function<void()>& command);
    void ShowError(const std::exception& error);
    // Runs a change of the document under the wait cursor, then shows its result.
    // The page-check settings are read once per document; Options hands back their changes.
    void KeepDocumentChecks(const PageCheckOptions& options);
    void ApplyEdit(const std::function<void()>& edit);
    QString DocumentFileName() const;

    Prompt& prompt_;
    TChangeKeywords& changeKeywords_;
    TEditText& editText_;
    TAboutBox& aboutBox_;
    OpenFileFunction openFile_;
    UrlOpener openUrl_;
    std::unique_ptr<KelVelmoraData> ownDocument_;
    TFileDisplay* display_;
    TFileCommands* commands_;
    TRecentMenu* recentMenu_;
    TPageChecksLink* pageChecks_;
    TKeywordsOptionsForm* OptionsForm = nullptr;
};

}  // namespace velmora
