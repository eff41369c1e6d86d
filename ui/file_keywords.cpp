#include "ui/file_keywords.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>
#include <optional>
#include <stdexcept>

#include "core/html_functions_read.h"
#include "core/html_functions_write.h"
#include "core/page_encoding.h"
#include "document/file_error.h"
#include "document/velmora_data.h"
#include "options/page_check_settings.h"
#include "ui/advice_dialog.h"
#include "ui/application_title.h"
#include "ui/change_keywords_form.h"
#include "ui/edit_text_form.h"
#include "ui/keyword_options.h"
#include "ui/length_counter.h"
#include "ui/page_checks_window.h"
#include "ui/recent_files.h"
#include "ui/startup.h"
#include "ui/width_meter.h"

namespace velmora {
namespace {

constexpr int kMargin = 3;

// The analysis and a load can take a moment on a large page.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

std::string PathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QLineEdit* NewDisplay(QWidget* parent) {
    auto* display = new QLineEdit(parent);
    display->setReadOnly(true);
    return display;
}

// Read-only displays: out of the tab order (a click still selects for copying) and no drop
// target, so a page dropped on them reaches the frame.
void MakeDisplay(QWidget* display) {
    display->setFocusPolicy(Qt::ClickFocus);
    display->setAcceptDrops(false);
}

QPushButton* NewButton(const QString& text, const QString& hint, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    return button;
}

QAction* NewAction(const QString& text, const QString& hint, QObject* parent) {
    auto* action = new QAction(text, parent);
    if (!hint.isEmpty()) {
        action->setToolTip(hint);
        action->setStatusTip(hint);
    }
    return action;
}

int TextWidth(const QWidget* widget, const QString& text) {
    return widget->fontMetrics().horizontalAdvance(text);
}

// The platform's keys for a standard command; where the platform has none (Quit on some
// desktops), the usual Linux key.
void SetStandardShortcut(QAction& action, QKeySequence::StandardKey key,
                         const QKeySequence& usual) {
    const QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    action.setShortcuts(keys.isEmpty() ? QList<QKeySequence>{usual} : keys);
}

}  // namespace

QString RunOpenFileDialog(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent, QStringLiteral("Open File to Tune"), folder);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Qt's own dialog matches the filters ignoring letter case, so INDEX.HTM is offered too.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // Pages of every kind by default; "All files" for pages with other endings.
    QStringList filters = PageFileFilters();
    const QString pages = filters.constLast();
    filters.append(QStringLiteral("All files (*)"));
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(pages);
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

QString RunSaveAsDialog(QWidget* parent, const QString& path) {
    QFileDialog dialog(parent, QStringLiteral("Save Page As"), path);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QStringList filters = PageFileFilters();
    filters.append(QStringLiteral("All files (*)"));
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.at(filters.size() - 2));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

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
      ownDocument_(std::make_unique<KelVelmoraData>()) {
    Document = ownDocument_.get();
    BuildControls();
    NameControlsForScreenReaders();
    BuildLayout();
    BuildCommands();
    BuildPageCheckCommands();
    BuildRecentMenu();
    ApplyDisplayColours();
    UpdateCommandStates();
    mnuShrink->setEnabled(false);
    ToolButtonCompress->setEnabled(false);
    ToolButtonView->setEnabled(false);
}

TKeywordsForm::~TKeywordsForm() = default;

void TKeywordsForm::BuildControls() {
    SourceBox = new QGroupBox(QStringLiteral("Web Page Source"), this);
    Label1 = new QLabel(QStringLiteral("Source File:"), SourceBox);
    FileName = NewDisplay(SourceBox);
    btn_browse =
        NewButton(QStringLiteral("Browse"), QStringLiteral("Browse to open a new file"), SourceBox);

    FileInformationBox = new QGroupBox(QStringLiteral("Web Page Analysis"), this);
    Label5 = new QLabel(QStringLiteral("Page Rating:"), FileInformationBox);
    Rating = NewDisplay(FileInformationBox);
    QFont ratingFont = Rating->font();
    ratingFont.setPointSizeF(ratingFont.pointSizeF() * 1.5);
    Rating->setFont(ratingFont);
    Rating->setAlignment(Qt::AlignCenter);
    Label7 = new QLabel(QStringLiteral("Advice:"), FileInformationBox);
    AdviceBox = new QListWidget(FileInformationBox);
    AdviceBox->setSelectionMode(QAbstractItemView::SingleSelection);
    // A long line is cut with an ellipsis; the hint holds every line whole.
    AdviceBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    AdviceBox->setTextElideMode(Qt::ElideRight);
    Label6 = new QLabel(QStringLiteral("Title:"), FileInformationBox);
    FileTitle = NewDisplay(FileInformationBox);
    EditTitleButton =
        NewButton(QStringLiteral("Edit"), QStringLiteral("Edit title"), FileInformationBox);
    DescriptionLab = new QLabel(QStringLiteral("Description:"), FileInformationBox);
    Description = new QPlainTextEdit(FileInformationBox);
    Description->setReadOnly(true);
    Description->setTabChangesFocus(true);
    EditDescriptionButton =
        NewButton(QStringLiteral("Edit"), QStringLiteral("Edit description"), FileInformationBox);
    Label2 = new QLabel(QStringLiteral("Keywords:"), FileInformationBox);
    Keywords = NewDisplay(FileInformationBox);
    KeywordsButton = NewButton(QStringLiteral("Change"),
                               QStringLiteral("Change and reorder keywords"), FileInformationBox);
    Label3 = new QLabel(QStringLiteral("Good Keywords:"), FileInformationBox);
    KeywordGoodCount = NewDisplay(FileInformationBox);
    Label4 = new QLabel(QStringLiteral("Bad Keywords:"), FileInformationBox);
    KeywordBadCount = NewDisplay(FileInformationBox);

    for (QWidget* display :
         std::initializer_list<QWidget*>{FileName, Rating, FileTitle, Description, Keywords,
                                         KeywordGoodCount, KeywordBadCount, AdviceBox}) {
        MakeDisplay(display);
    }
    for (QLineEdit* count : {KeywordGoodCount, KeywordBadCount}) {
        count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    for (QLabel* label : {Label1, Label5, Label6, DescriptionLab, Label2, Label3, Label4}) {
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    Label7->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    connect(btn_browse, &QPushButton::clicked, this, &TKeywordsForm::OpenButtonClick);
    connect(EditTitleButton, &QPushButton::clicked, this, &TKeywordsForm::EditTitleButtonClick);
    connect(EditDescriptionButton, &QPushButton::clicked, this,
            &TKeywordsForm::EditDescriptionButtonClick);
    connect(KeywordsButton, &QPushButton::clicked, this, &TKeywordsForm::KeywordsButtonClick);
}

void TKeywordsForm::NameControlsForScreenReaders() {
    const std::initializer_list<std::pair<QLabel*, QWidget*>> labelled = {
        {Label1, FileName},
        {Label5, Rating},
        {Label7, AdviceBox},
        {Label6, FileTitle},
        {DescriptionLab, Description},
        {Label2, Keywords},
        {Label3, KeywordGoodCount},
        {Label4, KeywordBadCount}};
    for (const auto& [label, display] : labelled) {
        label->setBuddy(display);
        QString name = label->text();
        name.remove(QLatin1Char('&'));
        if (name.endsWith(QLatin1Char(':'))) {
            name.chop(1);
        }
        display->setAccessibleName(name);
    }
    EditTitleButton->setAccessibleName(QStringLiteral("Edit title"));
    EditDescriptionButton->setAccessibleName(QStringLiteral("Edit description"));
}

void TKeywordsForm::BuildLayout() {
    // The label column and the button column line up across both boxes.
    int labelWidth = 0;
    for (const QLabel* label : {Label1, Label5, Label6, DescriptionLab, Label2}) {
        labelWidth = std::max(labelWidth, label->sizeHint().width());
    }
    int buttonWidth = 49;
    for (const QPushButton* button :
         {btn_browse, EditTitleButton, EditDescriptionButton, KeywordsButton}) {
        buttonWidth = std::max(buttonWidth, button->sizeHint().width());
    }
    for (QPushButton* button :
         {btn_browse, EditTitleButton, EditDescriptionButton, KeywordsButton}) {
        button->setFixedWidth(buttonWidth);
    }
    for (QLineEdit* box : {FileName, FileTitle, Keywords}) {
        box->setMinimumWidth(249);
    }

    const int lineHeight = FileTitle->sizeHint().height();
    Rating->setFixedWidth(std::max(49, TextWidth(Rating, QStringLiteral("100%")) + 16));
    Rating->setFixedHeight(std::max(24, Rating->sizeHint().height()));
    for (QLineEdit* count : {KeywordGoodCount, KeywordBadCount}) {
        count->setFixedWidth(std::max(49, TextWidth(count, QStringLiteral("0000")) + 16));
    }
    const int frame = 2 * Description->frameWidth();
    const int textMargin = static_cast<int>(2 * Description->document()->documentMargin());
    Description->setFixedHeight(
        std::max(33, 2 * Description->fontMetrics().lineSpacing() + frame + textMargin));
    AdviceBox->setFixedHeight(
        std::max(44, 3 * AdviceBox->fontMetrics().lineSpacing() + 2 * AdviceBox->frameWidth() + 4));
    // Labels beside taller boxes sit level with the first line.
    Label5->setFixedHeight(Rating->height());
    Label7->setFixedHeight(Rating->height());
    DescriptionLab->setFixedHeight(lineHeight);

    auto* source = new QGridLayout(SourceBox);
    source->setColumnMinimumWidth(0, labelWidth);
    source->addWidget(Label1, 0, 0);
    source->addWidget(FileName, 0, 1);
    source->addWidget(btn_browse, 0, 2);
    source->setColumnStretch(1, 1);

    auto* ratingRow = new QHBoxLayout;
    ratingRow->addWidget(Rating, 0, Qt::AlignTop);
    ratingRow->addSpacing(24);
    ratingRow->addWidget(Label7, 0, Qt::AlignTop);
    ratingRow->addWidget(AdviceBox, 1);

    auto* countRow = new QHBoxLayout;
    countRow->addStretch(1);
    countRow->addWidget(Label3);
    countRow->addWidget(KeywordGoodCount);
    countRow->addSpacing(16);
    countRow->addWidget(Label4);
    countRow->addWidget(KeywordBadCount);

    auto* analysis = new QGridLayout(FileInformationBox);
    analysis->setColumnMinimumWidth(0, labelWidth);
    analysis->addWidget(Label5, 0, 0, Qt::AlignTop);
    analysis->addLayout(ratingRow, 0, 1, 1, 2);
    analysis->addWidget(Label6, 1, 0);
    analysis->addWidget(FileTitle, 1, 1);
    analysis->addWidget(EditTitleButton, 1, 2);
    analysis->addWidget(DescriptionLab, 2, 0, Qt::AlignTop);
    analysis->addWidget(Description, 2, 1);
    analysis->addWidget(EditDescriptionButton, 2, 2, Qt::AlignTop);
    analysis->addWidget(Label2, 3, 0);
    analysis->addWidget(Keywords, 3, 1);
    analysis->addWidget(KeywordsButton, 3, 2);
    analysis->addLayout(countRow, 4, 0, 1, 3);
    analysis->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addWidget(SourceBox);
    layout->addWidget(FileInformationBox);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void TKeywordsForm::BuildPageCheckCommands() {
    menuPageChecks = NewAction(QStringLiteral("&Page Checks…"),
                               QStringLiteral("Check the page as search engines read it."), this);
    menuPageChecks->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    addAction(menuPageChecks);
    connect(menuPageChecks, &QAction::triggered, this, &TKeywordsForm::menuPageChecksClick);
    menuShowAdvice =
        NewAction(QStringLiteral("Show &All Advice…"),
                  QStringLiteral("Every advice line whole, to read and scroll."), this);
    connect(menuShowAdvice, &QAction::triggered, this, &TKeywordsForm::menuShowAdviceClick);
}

void TKeywordsForm::BuildRecentMenu() {
    RecentMenu = new QMenu(QStringLiteral("Open &Recent"), this);
    RecentMenu->setObjectName("RecentMenu");
    connect(RecentMenu, &QMenu::aboutToShow, this, &TKeywordsForm::FillRecentMenu);
    FillRecentMenu();
}

void TKeywordsForm::FillRecentMenu() {
    RecentMenu->clear();
    const QStringList files = TRecentFiles::Load();
    for (int i = 0; i < files.size(); ++i) {
        const QString& file = files.at(i);
        // "&1 page.htm", with an ampersand of the name shown as written.
        QString text = QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(file).fileName());
        text.replace(QLatin1Char('&'), QStringLiteral("&&")).remove(0, 1);
        QAction* action = RecentMenu->addAction(text);
        action->setToolTip(file);
        action->setStatusTip(file);
        connect(action, &QAction::triggered, this, [this, file] { OpenRecentFile(file); });
    }
    RecentMenu->setEnabled(!files.isEmpty());
}

void TKeywordsForm::RememberRecentFile(const QString& fileName) {
    try {
        TRecentFiles::Save(WithRecentFile(TRecentFiles::Load(), fileName));
    } catch (const std::exception& error) {
        // The page is open; a list that cannot be kept is only worth a passing word.
        if (Control != nullptr) {
            Control->ShowStatus(QString::fromUtf8(error.what()));
        }
    }
    FillRecentMenu();
}

void TKeywordsForm::OpenRecentFile(const QString& fileName) {
    Guarded([this, &fileName] {
        if (PageFileExists(fileName)) {
            OpenWithPrompt(fileName);
            return;
        }
        QStringList files = TRecentFiles::Load();
        files.removeAll(fileName);
        TRecentFiles::Save(files);
        FillRecentMenu();
        const FileError gone = FileError::FromErrno("Cannot open", PathBytes(fileName), ENOENT);
        prompt_.Ask(this, ApplicationTitle(),
                    QString::fromUtf8(gone.what()) +
                        QStringLiteral("\nIt has been taken off the recent files."),
                    Prompt::Buttons::Ok, Prompt::Icon::Information);
    });
}

void TKeywordsForm::BuildCommands() {
    menuOpen = NewAction(QStringLiteral("&Open"), QString(), this);
    SetStandardShortcut(*menuOpen, QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O));
    MenuAbandon = NewAction(QStringLiteral("&Abandon Changes"), QString(), this);
    MenuSave = NewAction(QStringLiteral("&Save"), QString(), this);
    SetStandardShortcut(*MenuSave, QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S));
    MenuSaveAs = NewAction(QStringLiteral("Save &As..."), QString(), this);
    SetStandardShortcut(*MenuSaveAs, QKeySequence::SaveAs,
                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    menuExit = NewAction(QStringLiteral("E&xit"), QString(), this);
    SetStandardShortcut(*menuExit, QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q));
    menuOptions = NewAction(QStringLiteral("&Options"), QString(), this);
    Keywords1 = NewAction(QStringLiteral("&Keywords"), QString(), this);
    mnuShrink = NewAction(QStringLiteral("&Compress"),
                          QStringLiteral("Remove unnecessary white space."), this);
    About1 = NewAction(QStringLiteral("&About"), QString(), this);
    SetStandardShortcut(*About1, QKeySequence::HelpContents, QKeySequence(Qt::Key_F1));

    const QStyle* style = this->style();
    ToolButtonOpen = NewAction(QStringLiteral("Open"), QStringLiteral("Open a new file"), this);
    ToolButtonOpen->setIcon(style->standardIcon(QStyle::SP_DialogOpenButton));
    ToolButtonSave =
        NewAction(QStringLiteral("Save"), QStringLiteral("Save changes made to the file."), this);
    ToolButtonSave->setIcon(style->standardIcon(QStyle::SP_DialogSaveButton));
    ToolButtonDiscard =
        NewAction(QStringLiteral("Discard"), QStringLiteral("Abandon any changes made."), this);
    ToolButtonDiscard->setIcon(style->standardIcon(QStyle::SP_DialogDiscardButton));
    ToolButtonView = NewAction(QStringLiteral("View"),
                               QStringLiteral("View the file in the browser window."), this);
    ToolButtonView->setIcon(style->standardIcon(QStyle::SP_FileDialogContentsView));
    ToolButtonCompress = NewAction(QStringLiteral("Compress"),
                                   QStringLiteral("Compress file - removes whitespace"), this);
    ToolButtonCompress->setIcon(style->standardIcon(QStyle::SP_ArrowDown));

    // View has no menu item; its shortcut keeps it within reach of the keyboard.
    ToolButtonView->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    // Shortcuts also work when the window is shown without a host.
    addActions({menuOpen, MenuSave, MenuSaveAs, menuExit, About1, ToolButtonView});

    connect(menuOpen, &QAction::triggered, this, &TKeywordsForm::OpenButtonClick);
    connect(ToolButtonOpen, &QAction::triggered, this, &TKeywordsForm::OpenButtonClick);
    connect(MenuSave, &QAction::triggered, this, &TKeywordsForm::SaveButtonClick);
    connect(MenuSaveAs, &QAction::triggered, this, &TKeywordsForm::SaveAsClick);
    connect(ToolButtonSave, &QAction::triggered, this, &TKeywordsForm::SaveButtonClick);
    connect(MenuAbandon, &QAction::triggered, this, &TKeywordsForm::MenuAbandon_Click);
    connect(ToolButtonDiscard, &QAction::triggered, this, &TKeywordsForm::MenuAbandon_Click);
    connect(menuExit, &QAction::triggered, this, &TKeywordsForm::menuExitClick);
    connect(menuOptions, &QAction::triggered, this, &TKeywordsForm::menuOptionsClick);
    connect(Keywords1, &QAction::triggered, this, &TKeywordsForm::KeywordsButtonClick);
    connect(mnuShrink, &QAction::triggered, this, &TKeywordsForm::CompressButtonClick);
    connect(ToolButtonCompress, &QAction::triggered, this, &TKeywordsForm::CompressButtonClick);
    connect(ToolButtonView, &QAction::triggered, this, &TKeywordsForm::ToolButtonViewClick);
    connect(About1, &QAction::triggered, this, &TKeywordsForm::About1Click);
}

void TKeywordsForm::ApplyDisplayColours() {
    // Displays take the window's colours, so they read as displays in light and dark themes.
    const QPalette& base = palette();
    for (QWidget* display :
         std::initializer_list<QWidget*>{FileName, Rating, FileTitle, Description, Keywords,
                                         KeywordGoodCount, KeywordBadCount, AdviceBox}) {
        QPalette colours = display->palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            colours.setColor(group, QPalette::Base, base.color(group, QPalette::Window));
            colours.setColor(group, QPalette::Text, base.color(group, QPalette::WindowText));
        }
        display->setPalette(colours);
    }
}

void TKeywordsForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        ApplyDisplayColours();
    }
    QWidget::changeEvent(event);
}

bool TKeywordsForm::Prime(KelVelmoraData* document, TKeywordsControl* control,
                          const QStringList& arguments) {
    if (document != nullptr) {
        Document = document;
        ownDocument_.reset();
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

QString TKeywordsForm::FromPageBytes(const std::string& bytes) const {
    return QString::fromStdString(PageBytesToUtf8(bytes, Document->Rules().encoding()));
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
    RememberRecentFile(QFileInfo(fileName).absoluteFilePath());
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
    const std::string& html = Document->Html;
    FileName->setText(DocumentFileName());
    FileName->setToolTip(FileName->text());
    FileTitle->setText(FromPageBytes(GetTitle(html)));
    FileTitle->setCursorPosition(0);
    Description->setPlainText(FromPageBytes(GetDescription(html)));
    Keywords->setText(FromPageBytes(GetMetaKeywords(html)));
    Keywords->setCursorPosition(0);
    KeywordGoodCount->setText(QString::number(Document->GetGoodKeywordCount()));
    KeywordBadCount->setText(QString::number(Document->GetBadKeywordCount()));

    AdviceBox->clear();
    QStringList advice;
    for (const Finding& finding : Document->GetFindings()) {
        advice.append(FromPageBytes(finding.advice));
    }
    AdviceBox->addItems(advice);
    AdviceBox->setToolTip(advice.join(QLatin1Char('\n')));
    Rating->setText(QString::fromStdString(Document->GetRatingText()));

    mnuShrink->setEnabled(Document->HasSpaceToRemove() && Options.CompressionEnabled);
    ToolButtonCompress->setEnabled(mnuShrink->isEnabled());
    ToolButtonView->setEnabled(!Document->GetFileName().empty());
    RefreshPageChecks();
}

void TKeywordsForm::RefreshPageChecks() {
    if (PageChecksWindow == nullptr || !PageChecksWindow->isVisible()) {
        return;
    }
    if (Document->GetFileName().empty()) {
        PageChecksWindow->ShowNoPage();
        return;
    }
    const WaitCursor wait;
    PageChecksWindow->Refresh(Document->Html, DocumentFileName());
}

void TKeywordsForm::menuShowAdviceClick() {
    Guarded([this] {
        if (AdviceDialog == nullptr) {
            AdviceDialog = new TAdviceDialog(this);
        }
        QStringList lines;
        for (int row = 0; row < AdviceBox->count(); ++row) {
            lines.append(AdviceBox->item(row)->text());
        }
        AdviceDialog->SetAdvice(lines);
        AdviceDialog->exec();
    });
}

void TKeywordsForm::menuPageChecksClick() {
    Guarded([this] {
        if (PageChecksWindow == nullptr) {
            PageChecksWindow = new TPageChecksWindow(SharedWidthMeter(), this);
        }
        PageChecksWindow->show();
        RefreshPageChecks();
        PageChecksWindow->raise();
        PageChecksWindow->activateWindow();
    });
}

void TKeywordsForm::UpdateCommandStates() {
    const bool modified = Document->IsModified();
    MenuAbandon->setEnabled(modified);
    MenuSave->setEnabled(modified);
    ToolButtonSave->setEnabled(MenuSave->isEnabled());
    ToolButtonDiscard->setEnabled(MenuAbandon->isEnabled());
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
    const QString name = DocumentFileName();
    if (!Document->SaveKeepsOtherBytes() &&
        prompt_.Ask(this, ApplicationTitle(),
                    QStringLiteral("Saving will change line breaks outside the head of %1; the "
                                   "original is kept in the backup. Save?")
                        .arg(name),
                    Prompt::Buttons::YesNo, Prompt::Icon::Question) != Prompt::Answer::Yes) {
        return false;
    }
    try {
        Document->Save();
    } catch (const PageChangedError&) {
        if (prompt_.Ask(this, ApplicationTitle(),
                        QStringLiteral("%1 has been changed by another program since it was "
                                       "opened. Overwrite it?")
                            .arg(name),
                        Prompt::Buttons::YesNoCancel,
                        Prompt::Icon::Warning) != Prompt::Answer::Yes) {
            return false;
        }
        Document->Save(ChangedOnDisk::Overwrite);
    }
    UpdateCommandStates();
    if (Control != nullptr) {
        Control->ShowStatus(
            QStringLiteral("Saved. Backup: %1")
                .arg(QFile::decodeName(QByteArray::fromStdString(Document->LastBackupPath()))));
    }
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
        RememberRecentFile(path);
        DisplayAnalysis();
        UpdateCommandStates();
        if (Control != nullptr) {
            const std::string& backup = Document->LastBackupPath();
            Control->ShowStatus(
                backup.empty()
                    ? QStringLiteral("Saved as %1").arg(path)
                    : QStringLiteral("Saved as %1. Backup: %2")
                          .arg(path, QFile::decodeName(QByteArray::fromStdString(backup))));
        }
    });
}

void TKeywordsForm::MenuAbandon_Click() {
    Guarded([this] {
        {
            const WaitCursor wait;
            Document->Revert(Options);
        }
        DisplayAnalysis();
        UpdateCommandStates();
    });
}

void TKeywordsForm::menuExitClick() {
    if (Control != nullptr) {
        Control->RequestExit();
    }
}

void TKeywordsForm::menuOptionsClick() {
    Guarded([this] {
        OptionsForm->Prime(Options);
        OptionsForm->exec();
        if (PageChecksWindow != nullptr) {
            PageChecksWindow->Options = PageCheckSettings().Load();
        }
        std::optional<std::string> reloadError;
        {
            const WaitCursor wait;
            reloadError = Document->ApplyOptions(Options);
        }
        DisplayAnalysis();
        UpdateCommandStates();
        if (reloadError) {
            ShowError(std::runtime_error(*reloadError));
        }
    });
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
        changeKeywords_.Prime(Document->Keywords, Document->GetWordCount(),
                              Document->GetCandidateList(), GetTitle(Document->Html), Options);
        changeKeywords_.exec();
        if (!changeKeywords_.HaveChanged()) {
            return;
        }
        ApplyEdit([this] { Document->SetKeywordList(changeKeywords_.GetKeywords(), Options); });
    });
}

void TKeywordsForm::EditHeadText(const QString& caption, bool singleLine,
                                 const LengthLimits& limits, std::string (*get)(std::string_view),
                                 const std::function<void(std::string_view)>& edit) {
    editText_.Prime(caption, FromPageBytes(get(Document->Html)), singleLine, limits);
    editText_.exec();
    if (!editText_.HaveChanged()) {
        return;
    }
    const std::string typed = editText_.GetText().toStdString();
    ApplyEdit([&] { edit(typed); });
}

void TKeywordsForm::EditTitleButtonClick() {
    Guarded([this] {
        EditHeadText(QStringLiteral("Title"), true, TitleLimits(PageCheckSettings().Load()),
                     GetTitle,
                     [this](std::string_view typed) { Document->EditTitle(typed, Options); });
    });
}

void TKeywordsForm::EditDescriptionButtonClick() {
    Guarded([this] {
        EditHeadText(QStringLiteral("Description"), false,
                     DescriptionLimits(PageCheckSettings().Load()), GetDescription,
                     [this](std::string_view typed) { Document->EditDescription(typed, Options); });
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

void TKeywordsForm::ToolButtonViewClick() {
    Guarded([this] {
        const QUrl url = QUrl::fromLocalFile(DocumentFileName());
        if (!openUrl_(url)) {
            prompt_.Ask(
                this, ApplicationTitle(),
                QStringLiteral("Could not open '%1' in the web browser.").arg(DocumentFileName()),
                Prompt::Buttons::Ok, Prompt::Icon::Warning);
        }
    });
}

void TKeywordsForm::About1Click() {
    Guarded([this] { aboutBox_.ShowAbout(); });
}

}  // namespace velmora
