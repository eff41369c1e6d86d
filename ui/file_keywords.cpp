#include "ui/file_keywords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QVBoxLayout>
#include <cerrno>
#include <optional>
#include <stdexcept>

#include "document/file_error.h"
#include "document/velmora_data.h"
#include "options/page_check_settings.h"
#include "ui/application_title.h"
#include "ui/change_keywords_form.h"
#include "ui/check_presentation.h"
#include "ui/edit_text_form.h"
#include "ui/file_commands.h"
#include "ui/file_display.h"
#include "ui/head_text_dialog.h"
#include "ui/keyword_options.h"
#include "ui/page_checks_link.h"
#include "ui/page_saving.h"
#include "ui/recent_menu.h"
#include "ui/startup.h"
#include "ui/wait_cursor.h"

namespace velmora {
namespace {

std::string PathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

TKeywordsForm::TKeywordsForm(Prompt& prompt, TChangeKeywords& changeKeywords, TEditText& editText,
                             TAboutBox& aboutBox, OpenFileFunction openFile, UrlOpener openUrl,
                             QWidget* parent)
    : QWidget(parent),
      prompt_(prompt),
      changeKeywords_(changeKeywords),
      editText_(editText),
      aboutBox_(aboutBox),
      openFile_(std::move(openFile)),
      openUrl_(std::move(openUrl)),
      ownDocument_(std::make_unique<KelVelmoraData>()),
      display_(new TFileDisplay(this)),
      commands_(new TFileCommands(*this)),
      recentMenu_(new TRecentMenu(this)),
      pageChecks_(new TPageChecksLink(*this)) {
    Document = ownDocument_.get();
    Options.LoadFromRegistry();
    KeepDocumentChecks(PageCheckSettings().Load());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(display_);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    ConnectCommands();
    UpdateCommandStates();
}

TKeywordsForm::~TKeywordsForm() = default;

void TKeywordsForm::ConnectCommands() {
    connect(display_, &TFileDisplay::BrowseClicked, this, &TKeywordsForm::OpenButtonClick);
    connect(display_, &TFileDisplay::EditTitleClicked, this, &TKeywordsForm::EditTitleButtonClick);
    connect(display_, &TFileDisplay::EditDescriptionClicked, this,
            &TKeywordsForm::EditDescriptionButtonClick);
    connect(display_, &TFileDisplay::ChangeKeywordsClicked, this,
            &TKeywordsForm::KeywordsButtonClick);
    connect(display_, &TFileDisplay::VerdictClicked, this, &TKeywordsForm::menuPageChecksClick);

    connect(pageChecks_, &TPageChecksLink::KeyphraseKept, this, [this] {
        Guarded([this] {
            Document->CheckPageAgain();
            DisplayAnalysis();
        });
    });

    connect(pageChecks_, &TPageChecksLink::FixRequested, this, &TKeywordsForm::FixPageChecks);

    commands_->ConnectTo(*this);
    connect(recentMenu_, &TRecentMenu::OpenRequested, this, &TKeywordsForm::OpenRecentFile);
    connect(recentMenu_, &TRecentMenu::StoreRefused, this, &TKeywordsForm::ShowStatus);
}

QMenu* TKeywordsForm::RecentMenu() const {
    return recentMenu_;
}

void TKeywordsForm::FocusFirstControl() {
    display_->FocusFirstControl();
}

void TKeywordsForm::ShowStatus(const QString& message) {
    if (Control != nullptr) {
        Control->ShowStatus(message);
    }
}

void TKeywordsForm::OpenRecentFile(const QString& fileName) {
    Guarded([this, &fileName] {
        if (PageFileExists(fileName)) {
            OpenWithPrompt(fileName);
            return;
        }
        recentMenu_->Forget(fileName);
        prompt_.Ask(this, ApplicationTitle(), GoneRecentFileMessage(fileName), Prompt::Buttons::Ok,
                    Prompt::Icon::Information);
    });
}

bool TKeywordsForm::Prime(KelVelmoraData* document, TKeywordsControl* control,
                          const QStringList& arguments) {
    if (document != nullptr) {
        const PageCheckOptions checks = Document->CheckOptions();
        Document = document;
        ownDocument_.reset();
        KeepDocumentChecks(checks);
    }
    Control = control;
    OptionsForm = new TKeywordsOptionsForm(prompt_, this);

    const QString named = PagePathFromArgument(PageArgument(arguments), QDir::currentPath());
    if (!named.isEmpty() && !PageFileExists(named)) {
        // A mistyped name is told before the dialog asks, so the person knows why it asks.
        ShowError(FileError::FromErrno("Cannot open", PathBytes(named),
                                       QFileInfo(named).isDir() ? EISDIR : ENOENT));
    }
    if (PageFileExists(named)) {
        try {
            if (OpenHtmlFile(named)) {
                return true;
            }
        } catch (const std::exception& error) {
            ShowError(error);
        }
    }
    // A page that exists but cannot be read is reported, and the dialog asked again.
    for (;;) {
        try {
            return DoOpenHtmlFile();
        } catch (const std::exception& error) {
            ShowError(error);
        }
    }
}

int TKeywordsForm::PreferredHeight() const {
    return isMinimized() ? 0 : sizeHint().height();
}

QString TKeywordsForm::DocumentFileName() const {
    return QFile::decodeName(QByteArray::fromStdString(Document->GetFileName()));
}

bool TKeywordsForm::DoOpenHtmlFile() {
    const QString folder = Document->GetFileName().empty()
                               ? QDir::currentPath()
                               : QFileInfo(DocumentFileName()).absolutePath();
    const QString chosen = openFile_(this, folder);
    if (chosen.isEmpty()) {
        return false;
    }
    return OpenHtmlFile(chosen);
}

bool TKeywordsForm::OpenHtmlFile(const QString& fileName) {
    if (!PageFileExists(fileName)) {
        return false;
    }
    {
        const WaitCursor wait;
        Document->Load(PathBytes(QFileInfo(fileName).absoluteFilePath()), Options);
    }
    recentMenu_->Remember(QFileInfo(fileName).absoluteFilePath());
    DisplayAnalysis();
    UpdateCommandStates();
    return true;
}

void TKeywordsForm::OpenWithPrompt(const QString& fileName) {
    if (QuerySaveChanges() != Prompt::Answer::Yes) {
        return;
    }
    if (!fileName.isEmpty()) {
        OpenHtmlFile(fileName);
    } else {
        DoOpenHtmlFile();
    }
}

void TKeywordsForm::DisplayAnalysis() {
    display_->Show(*Document);
    const page_checks::PageCheckReport& report = Document->PageChecks();
    display_->ShowVerdict(VerdictText(report), VerdictState(report));
    commands_->SetCompressEnabled(Document->HasSpaceToRemove() && Options.CompressionEnabled);
    commands_->SetViewEnabled(!Document->GetFileName().empty());
    pageChecks_->Refresh(*Document);
}

void TKeywordsForm::menuShowAdviceClick() {
    Guarded([this] { display_->ShowAllAdvice(); });
}

void TKeywordsForm::menuPageChecksClick() {
    Guarded([this] { pageChecks_->Show(*Document); });
}

void TKeywordsForm::UpdateCommandStates() {
    commands_->UpdateStates(Document->IsModified());
}

Prompt::Answer TKeywordsForm::QuerySaveChanges() {
    if (!Document->IsModified()) {
        return Prompt::Answer::Yes;
    }
    const Prompt::Answer answer =
        prompt_.Ask(this, QStringLiteral("Save changes?"),
                    QStringLiteral("The file has been modified. Save changes?"),
                    Prompt::Buttons::YesNoCancel, Prompt::Icon::None);
    if (answer == Prompt::Answer::No) {
        return Prompt::Answer::Yes;
    }
    if (answer != Prompt::Answer::Yes) {
        return Prompt::Answer::Cancel;
    }
    try {
        return SaveFile() ? Prompt::Answer::Yes : Prompt::Answer::Cancel;
    } catch (const std::exception& error) {
        ShowError(error);
        return Prompt::Answer::Cancel;
    }
}

bool TKeywordsForm::SaveFile() {
    if (!SaveWithConsent(*Document, prompt_, this)) {
        return false;
    }
    UpdateCommandStates();
    ShowStatus(SavedMessage(*Document));
    ShowBackup();
    return true;
}

void TKeywordsForm::CompressFile() {
    Document->Compress(Options);
    DisplayAnalysis();
    UpdateCommandStates();
}

bool TKeywordsForm::CanClose() {
    return QuerySaveChanges() == Prompt::Answer::Yes;
}

void TKeywordsForm::Guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

void TKeywordsForm::ShowError(const std::exception& error) {
    prompt_.Ask(this, ApplicationTitle(), QString::fromUtf8(error.what()), Prompt::Buttons::Ok,
                Prompt::Icon::Critical);
}

void TKeywordsForm::OpenButtonClick() {
    Guarded([this] { OpenWithPrompt(QString()); });
}

void TKeywordsForm::OpenDroppedFile(const QString& fileName) {
    Guarded([this, &fileName] { OpenWithPrompt(fileName); });
}

void TKeywordsForm::SaveButtonClick() {
    Guarded([this] { SaveFile(); });
}

void TKeywordsForm::SaveAsClick() {
    Guarded([this] {
        const QString chosen = AskSaveAsName(this, DocumentFileName());
        if (chosen.isEmpty()) {
            return;
        }
        const QString path = QFileInfo(chosen).absoluteFilePath();
        Document->SaveAs(PathBytes(path));
        recentMenu_->Remember(path);
        DisplayAnalysis();
        UpdateCommandStates();
        ShowStatus(SavedAsMessage(*Document, path));
        ShowBackup();
    });
}

void TKeywordsForm::MenuAbandon_Click() {
    Guarded([this] { ApplyEdit([this] { Document->Revert(Options); }); });
}

void TKeywordsForm::menuExitClick() {
    if (Control != nullptr) {
        Control->RequestExit();
    }
}

void TKeywordsForm::menuOptionsClick() {
    Guarded([this] {
        OptionsForm->Prime(Options, Document->CheckOptions());
        OptionsForm->exec();
        Options.Assign(OptionsForm->Edited());
        KeepDocumentChecks(OptionsForm->PageChecks());
        std::optional<std::string> reloadError;
        ApplyEdit([&] { reloadError = Document->ApplyOptions(Options); });
        if (reloadError) {
            ShowError(std::runtime_error(*reloadError));
        }
    });
}

void TKeywordsForm::KeepDocumentChecks(const PageCheckOptions& options) {
    const WaitCursor wait;
    Document->KeepPageChecks(DesktopPageChecks(options));
}

void TKeywordsForm::ApplyEdit(const std::function<void()>& edit) {
    {
        const WaitCursor wait;
        edit();
    }
    DisplayAnalysis();
    UpdateCommandStates();
}

void TKeywordsForm::KeywordsButtonClick() {
    Guarded([this] {
        changeKeywords_.Prime(*Document, Options);
        changeKeywords_.exec();
        if (!changeKeywords_.HaveChanged()) {
            return;
        }
        ApplyEdit([this] { Document->SetKeywordList(changeKeywords_.GetKeywords(), Options); });
    });
}

void TKeywordsForm::EditTitleButtonClick() {
    Guarded([this] {
        if (const auto typed =
                AskHeadText(editText_, *pageChecks_, *Document, LivePreview::Field::Title)) {
            ApplyEdit([&] { Document->EditTitle(*typed, Options); });
        }
    });
}

void TKeywordsForm::EditDescriptionButtonClick() {
    Guarded([this] {
        if (const auto typed =
                AskHeadText(editText_, *pageChecks_, *Document, LivePreview::Field::Description)) {
            ApplyEdit([&] { Document->EditDescription(*typed, Options); });
        }
    });
}

void TKeywordsForm::CompressButtonClick() {
    Guarded([this] {
        if (Options.WarnBeforeCompressing &&
            prompt_.Ask(this, QStringLiteral("Confirm compress?"),
                        QStringLiteral("If the file contains hand crafted HTML then removing any "
                                       "unnecessary space may make it more difficult to edit. If "
                                       "you use a WYSIWYG editor then this will not matter. "
                                       "Continue?"),
                        Prompt::Buttons::YesNo, Prompt::Icon::Question) != Prompt::Answer::Yes) {
            return;
        }
        CompressFile();
    });
}

void TKeywordsForm::About1Click() {
    Guarded([this] { aboutBox_.ShowAbout(); });
}

}  // namespace velmora
