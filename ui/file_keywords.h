#pragma once

// The file window: shows the page's analysis and carries every command of the program.

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

#include "options/saveable_velmora_options.h"
#include "ui/about_box.h"
#include "ui/prompt.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace velmora {

class KelVelmoraData;
class TChangeKeywords;
class TEditText;
class TKeywordsOptionsForm;
class TPageChecksWindow;
class TAdviceDialog;
struct LengthLimits;

// The file window's link to the window that hosts it.
class TKeywordsControl {
public:
    virtual ~TKeywordsControl() = default;
    // Asks the host to close the main window (which runs the close query first).
    virtual void RequestExit() = 0;
    // Shows a passing message, such as where a save put its backup.
    virtual void ShowStatus(const QString& message) = 0;
};

// Asks the user for a page file, starting in folder; empty when cancelled.
using OpenFileFunction = std::function<QString(QWidget* parent, const QString& folder)>;
QString RunOpenFileDialog(QWidget* parent, const QString& folder);
// Asks for the file to save a page as, starting at path; empty when cancelled. The dialog asks
// before replacing a file that exists.
QString RunSaveAsDialog(QWidget* parent, const QString& path);

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

    KelVelmoraData* Document;
    KelSaveableVelmoraOptions Options;
    TKeywordsOptionsForm* OptionsForm = nullptr;
    TKeywordsControl* Control = nullptr;

    QGroupBox* SourceBox;
    QLabel* Label1;
    QLineEdit* FileName;
    QPushButton* btn_browse;
    QGroupBox* FileInformationBox;
    QLabel* Label5;
    QLineEdit* Rating;
    QLabel* Label7;
    QListWidget* AdviceBox;
    QLabel* Label6;
    QLineEdit* FileTitle;
    QPushButton* EditTitleButton;
    QLabel* DescriptionLab;
    QPlainTextEdit* Description;
    QPushButton* EditDescriptionButton;
    QLabel* Label2;
    QLineEdit* Keywords;
    QPushButton* KeywordsButton;
    QLabel* Label3;
    QLineEdit* KeywordGoodCount;
    QLabel* Label4;
    QLineEdit* KeywordBadCount;

    // Menu items and tool buttons; the host places them in its menu bar and tool bar.
    QAction* menuOpen;
    QAction* MenuAbandon;
    QAction* MenuSave;
    QAction* MenuSaveAs;
    // The Save As file dialog; tests put an answer in its place.
    OpenFileFunction AskSaveAsName = RunSaveAsDialog;
    QAction* menuExit;
    QAction* menuOptions;
    QAction* Keywords1;
    QAction* mnuShrink;
    QAction* About1;
    QAction* ToolButtonOpen;
    QAction* ToolButtonSave;
    QAction* ToolButtonDiscard;
    QAction* ToolButtonView;
    QAction* ToolButtonCompress;
    // View ▸ Page Checks: the one Page Checks window, made when first asked for.
    QAction* menuPageChecks;
    TPageChecksWindow* PageChecksWindow = nullptr;
    // View ▸ Show All Advice: the advice lines whole in a dialog.
    QAction* menuShowAdvice;
    // File ▸ Open Recent: the last pages opened, filled each time it opens.
    QMenu* RecentMenu;
    TAdviceDialog* AdviceDialog = nullptr;

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
    void About1Click();
    void menuPageChecksClick();
    void menuShowAdviceClick();
    // Opens a page of the recent list; one that is gone is taken off with a note.
    void OpenRecentFile(const QString& fileName);
    // A page file dropped on the program: the open command with its save prompt.
    void OpenDroppedFile(const QString& fileName);

protected:
    void changeEvent(QEvent* event) override;

private:
    void BuildControls();
    void BuildLayout();
    // Displays take their names from their labels; the two Edit buttons say what they edit.
    void NameControlsForScreenReaders();
    void BuildCommands();
    void BuildPageCheckCommands();
    void BuildRecentMenu();
    void FillRecentMenu();
    void RememberRecentFile(const QString& fileName);
    // Checks the open page again when the Page Checks window is shown.
    void RefreshPageChecks();
    void ApplyDisplayColours();
    // Runs a command to its end; an error stops it and is shown with the file and the reason.
    void Guarded(const std::function<void()>& command);
    void ShowError(const std::exception& error);
    // Edits the title or the description through the text edit dialog.
    // The counter below the edit box measures against `limits`.
    void EditHeadText(const QString& caption, bool singleLine, const LengthLimits& limits,
                      std::string (*get)(std::string_view),
                      const std::function<void(std::string_view)>& edit);
    // Runs a document edit under the wait cursor, then shows its result.
    void ApplyEdit(const std::function<void()>& edit);
    // Text out of the page, decoded from the page's own encoding.
    QString FromPageBytes(const std::string& bytes) const;
    QString DocumentFileName() const;

    Prompt& prompt_;
    TChangeKeywords& changeKeywords_;
    TEditText& editText_;
    TAboutBox& aboutBox_;
    OpenFileFunction openFile_;
    UrlOpener openUrl_;
    std::unique_ptr<KelVelmoraData> ownDocument_;
};

}  // namespace velmora
