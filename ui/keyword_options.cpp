#include "ui/keyword_options.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <array>
#include <exception>

#include "options/option_rules.h"
#include "options/page_check_settings.h"
#include "options/saveable_velmora_options.h"
#include "ui/application_title.h"
#include "ui/mnemonic_keys.h"
#include "ui/page_check_options_page.h"
#include "ui/prompt.h"

namespace velmora {

namespace {

constexpr QSize kMinimumClientSize(336, 352);
// Between the blocks of the compression page.
constexpr int kBlockSpacing = 6;

QSpinBox* AddNumberRow(QGridLayout& grid, const QString& label, const char* name, NumberRange range,
                       const QString& hint) {
    auto* parent = grid.parentWidget();
    auto* field = new QSpinBox(parent);
    field->setObjectName(name);
    field->setRange(range.minimum, range.maximum);
    field->setToolTip(hint);
    auto* text = new QLabel(label, parent);
    text->setBuddy(field);
    const int row = grid.rowCount();
    grid.addWidget(text, row, 0);
    grid.addWidget(field, row, 1);
    return field;
}

template <typename Button>
Button* NewButton(const QString& text, QWidget* parent, const char* name) {
    auto* button = new Button(text, parent);
    button->setObjectName(name);
    return button;
}

QLabel* NewText(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

// Keeps the minimum of a pair below its maximum, moving the other field.
void RaiseMaximum(const QSpinBox& minimum, QSpinBox& maximum) {
    maximum.setValue(MaximumAboveMinimum(minimum.value(), maximum.value()));
}

void LowerMinimum(QSpinBox& minimum, const QSpinBox& maximum) {
    minimum.setValue(MinimumBelowMaximum(minimum.value(), maximum.value()));
}

}  // namespace

TKeywordsOptionsForm::TKeywordsOptionsForm(Prompt& prompt, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      prompt_(prompt) {
    setObjectName("KeywordsOptionsForm");
    setWindowTitle(QStringLiteral("Kel - Velmora - Options"));

    PageControl = new QTabWidget(this);
    PageControl->setObjectName("PageControl");
    PageControl->tabBar()->setAccessibleName(QStringLiteral("Option pages"));
    MetaTagsTabSheet = BuildMetaTagsPage();
    CompressTabSheet = BuildCompressPage();
    PageControl->addTab(MetaTagsTabSheet, QStringLiteral("Meta Tags"));
    PageControl->addTab(CompressTabSheet, QStringLiteral("Compact Options"));

    CloseButton = NewButton<QPushButton>(QStringLiteral("&Apply"), this, "CloseButton");
    CancelButton = NewButton<QPushButton>(QStringLiteral("&Cancel"), this, "CancelButton");
    CloseButton->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl);
    layout->addLayout(buttons);

    connect(CloseButton, &QPushButton::clicked, this, &TKeywordsOptionsForm::CloseButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TKeywordsOptionsForm::CancelButtonClick);

    setFixedSize(sizeHint().expandedTo(minimumSizeHint()).expandedTo(kMinimumClientSize));
    // Added once the size is fixed, so the keyword pages keep their size; this longer page
    // scrolls instead of cutting its fields off.
    PageChecksTabSheet = new TPageCheckOptionsPage(
        {*MnemonicOf(CloseButton->text()), *MnemonicOf(CancelButton->text())});
    auto* scroller = new QScrollArea;
    scroller->setObjectName("PageChecksScroller");
    // Its fields are the tab stops; the area scrolls to whichever takes the focus.
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidget(PageChecksTabSheet);
    PageControl->addTab(scroller, QStringLiteral("Page Checks"));
}

QGroupBox* TKeywordsOptionsForm::BuildRecommendedGroup(QWidget* page) {
    auto* recommended = new QGroupBox(QStringLiteral("Recommended Number of Meta Tags"), page);
    recommended->setObjectName("GroupBox2");
    auto* recommendedGrid = new QGridLayout(recommended);
    recommendedGrid->setColumnStretch(0, 1);
    EditRecMinKeywords = AddNumberRow(
        *recommendedGrid, QStringLiteral("&Minimum number:"), "EditRecMinKeywords",
        kDialogMinimumRange,
        QStringLiteral("This is the minimum number of meta tags that a page should have."));
    EditRecMaxKeywords = AddNumberRow(
        *recommendedGrid, QStringLiteral("Ma&ximum Number:"), "EditRecMaxKeywords",
        kDialogMaximumRange,
        QStringLiteral("This is the maximum number of keywords that a page may have."));
    EdtMaxKeywordCount = AddNumberRow(
        *recommendedGrid, QStringLiteral("Maximum &keyword count:"), "EdtMaxKeywordCount",
        kDialogSpamLimitRange,
        QStringLiteral("This is the maximum number of times (in any combination) that the word "
                       "may appear in the keyword list."));

    return recommended;
}

QGroupBox* TKeywordsOptionsForm::BuildIdentificationGroup(QWidget* page) {
    auto* identification =
        new QGroupBox(QStringLiteral("Meta Tag Identification Parameters"), page);
    identification->setObjectName("GroupBox1");
    auto* identificationGrid = new QGridLayout(identification);
    identificationGrid->setColumnStretch(0, 1);
    EditMinimumKeywordCount = AddNumberRow(
        *identificationGrid, QStringLiteral("Minimum &number of times keyword must occur:"),
        "EditMinimumKeywordCount", kDialogMinimumRange,
        QStringLiteral("The minimum number of times a word (or phrase) must occur before it is "
                       "considered as a keyword candidate."));
    EditMaximumKeywordCount = AddNumberRow(
        *identificationGrid, QStringLiteral("Maximum &times keyword may occur - larger of:"),
        "EditMaximumKeywordCount", kDialogMaximumRange,
        QStringLiteral("The maximum number of times a word (or phrase) may occur for it to be "
                       "considered as a keyword candidate. Above this it is ignored on the "
                       "grounds of keyword spamming."));
    EditKeywordInEvery = AddNumberRow(*identificationGrid, QStringLiteral("or one &word in every:"),
                                      "EditKeywordInEvery", kDialogOneInEveryRange, QString());

    return identification;
}

QGroupBox* TKeywordsOptionsForm::BuildCaseGroup(QWidget* page) {
    auto* other = new QGroupBox(QStringLiteral("Other Options"), page);
    other->setObjectName("GroupBox3");
    RadioCaseSensitive = NewButton<QRadioButton>(QStringLiteral("Keywords are case &sensitive"),
                                                 other, "RadioCaseSensitive");
    RadioCaseInsensitiveMixed = NewButton<QRadioButton>(
        QStringLiteral("Keywords case &insensitive - mixed"), other, "RadioCaseInsensitiveMixed");
    RadioCaseInsensitiveLower =
        NewButton<QRadioButton>(QStringLiteral("Keywords case insensitive - &lower case"), other,
                                "RadioCaseInsensitiveLower");
    auto* otherLayout = new QVBoxLayout(other);
    otherLayout->addWidget(RadioCaseSensitive);
    otherLayout->addWidget(RadioCaseInsensitiveMixed);
    otherLayout->addWidget(RadioCaseInsensitiveLower);
    return other;
}

QWidget* TKeywordsOptionsForm::BuildMetaTagsPage() {
    auto* page = new QWidget;
    page->setObjectName("MetaTagsTabSheet");
    QGroupBox* recommended = BuildRecommendedGroup(page);
    QGroupBox* identification = BuildIdentificationGroup(page);
    QGroupBox* other = BuildCaseGroup(page);

    ResetButton = NewButton<QPushButton>(QStringLiteral("&Reset"), page, "ResetButton");
    DefaultButton = NewButton<QPushButton>(QStringLiteral("&Defaults"), page, "DefaultButton");
    auto* resetButtons = new QVBoxLayout;
    resetButtons->addStretch(1);
    resetButtons->addWidget(ResetButton);
    resetButtons->addWidget(DefaultButton);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(other, 1);
    bottom->addLayout(resetButtons);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(recommended);
    layout->addWidget(identification);
    layout->addLayout(bottom);
    layout->addStretch(1);

    ConnectMetaTagsPage();
    return page;
}

void TKeywordsOptionsForm::ConnectMetaTagsPage() {
    connect(EditRecMinKeywords, &QSpinBox::valueChanged, this,
            &TKeywordsOptionsForm::EditRecMinKeywordsChange);
    connect(EditRecMaxKeywords, &QSpinBox::valueChanged, this,
            &TKeywordsOptionsForm::EditRecMaxKeywordsChange);
    connect(EdtMaxKeywordCount, &QSpinBox::valueChanged, this,
            &TKeywordsOptionsForm::EdtMaxKeywordCountChange);
    connect(EditMinimumKeywordCount, &QSpinBox::valueChanged, this,
            &TKeywordsOptionsForm::MinimumKeywordCountOnChange);
    connect(EditMaximumKeywordCount, &QSpinBox::valueChanged, this,
            &TKeywordsOptionsForm::EditMaximumKeywordCountChange);
    connect(EditKeywordInEvery, &QSpinBox::valueChanged, this,
            &TKeywordsOptionsForm::EditKeywordInEveryChange);
    connect(RadioCaseSensitive, &QRadioButton::clicked, this,
            &TKeywordsOptionsForm::RadioCaseSensitiveClick);
    connect(RadioCaseInsensitiveMixed, &QRadioButton::clicked, this,
            &TKeywordsOptionsForm::RadioCaseInsensitiveMixedClick);
    connect(RadioCaseInsensitiveLower, &QRadioButton::clicked, this,
            &TKeywordsOptionsForm::RadioCaseInsensitiveLowerClick);
    connect(ResetButton, &QPushButton::clicked, this, &TKeywordsOptionsForm::ResetButtonClick);
    connect(DefaultButton, &QPushButton::clicked, this, &TKeywordsOptionsForm::DefaultButtonClick);
}

QWidget* TKeywordsOptionsForm::BuildCompressPage() {
    auto* page = new QWidget;
    page->setObjectName("CompressTabSheet");
    chkEnableCompression =
        NewButton<QCheckBox>(QStringLiteral("&Enable compression (removal of unnecessary spaces)"),
                             page, "chkEnableCompression");
    chkWarnOnCompress = NewButton<QCheckBox>(
        QStringLiteral("&Warn before compressing (use for hand crafted html only)"), page,
        "chkWarnOnCompress");
    optCompactAlways = NewButton<QRadioButton>(QStringLiteral("I &only ever use a WYSIWYG editor."),
                                               page, "optCompactAlways");
    optCompactAlways->setToolTip(
        QStringLiteral("Most WYSIWYG editors will put spaces back when you edit the file."));
    optCompactSometimes = NewButton<QRadioButton>(
        QStringLiteral("I want to decide on a &file by file basis."), page, "optCompactSometimes");
    optCompactNever = NewButton<QRadioButton>(
        QStringLiteral("All my &html is hand crafted; leave any spaces alone."), page,
        "optCompactNever");
    chkEnableCompression->setChecked(true);
    chkWarnOnCompress->setChecked(true);
    optCompactSometimes->setChecked(true);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(chkEnableCompression);
    layout->addWidget(NewText(
        QStringLiteral("This reduces the size of the html and therefore makes it faster to "
                       "download. For files generated using a WYSIWYG editor this can result in "
                       "a 10% to 40% size reduction."),
        page));
    layout->addSpacing(kBlockSpacing);
    layout->addWidget(chkWarnOnCompress);
    layout->addWidget(NewText(
        QStringLiteral("Whilst compression will not affect the rendering of the page in any way, "
                       "it can make the html harder to follow if you often edit the html "
                       "manually."),
        page));
    layout->addSpacing(kBlockSpacing);
    layout->addWidget(NewText(
        QStringLiteral("If unsure which options to use then the following may help:"), page));
    layout->addWidget(optCompactAlways);
    layout->addWidget(optCompactSometimes);
    layout->addWidget(optCompactNever);
    layout->addSpacing(kBlockSpacing);
    layout->addWidget(NewText(
        QStringLiteral("If you hand craft your html and use spaces (or tabs) for indentation "
                       "(i.e. to match up opening and closing tags) then you won't want these "
                       "removed."),
        page));
    layout->addStretch(1);

    connect(chkEnableCompression, &QCheckBox::clicked, this,
            &TKeywordsOptionsForm::chkEnableCompressionClick);
    connect(chkWarnOnCompress, &QCheckBox::clicked, this,
            &TKeywordsOptionsForm::chkWarnOnCompressClick);
    connect(optCompactAlways, &QRadioButton::clicked, this,
            &TKeywordsOptionsForm::optCompactAlwaysClick);
    connect(optCompactSometimes, &QRadioButton::clicked, this,
            &TKeywordsOptionsForm::optCompactSometimesClick);
    connect(optCompactNever, &QRadioButton::clicked, this,
            &TKeywordsOptionsForm::optCompactNeverClick);
    return page;
}

void TKeywordsOptionsForm::Prime(const KelVelmoraOptions& options,
                                 const PageCheckOptions& pageChecks) {
    primed_ = true;
    Options.Assign(options);
    SavedOptions.Assign(options);
    PageChecksTabSheet->Prime(pageChecks);
    PageControl->setCurrentWidget(MetaTagsTabSheet);
    EditRecMinKeywords->setFocus();
    UpdateDisplay();
}

PageCheckOptions TKeywordsOptionsForm::PageChecks() const {
    return PageChecksTabSheet->Edited();
}

void TKeywordsOptionsForm::UpdateDisplay() {
    if (!primed_) {
        return;
    }
    const KelVelmoraOptions shown = Options;
    {
        // The pair rule waits until both fields of each pair are filled; otherwise the first
        // field filled would push its partner before the partner's own value arrives.
        const std::array<QSignalBlocker, 6> quiet{
            QSignalBlocker(EditMinimumKeywordCount), QSignalBlocker(EditMaximumKeywordCount),
            QSignalBlocker(EditRecMinKeywords),      QSignalBlocker(EditRecMaxKeywords),
            QSignalBlocker(EdtMaxKeywordCount),      QSignalBlocker(EditKeywordInEvery)};
        EditMinimumKeywordCount->setValue(shown.MinimumKeywordCount);
        EditMaximumKeywordCount->setValue(shown.MaximumKeywordCount);
        EditRecMinKeywords->setValue(shown.MinimumRecommendedTags);
        EditRecMaxKeywords->setValue(shown.MaximumRecommendedTags);
        EdtMaxKeywordCount->setValue(shown.KeywordCountBeforeSpamming);
        EditKeywordInEvery->setValue(shown.KeywordOneInEvery);
    }
    // What the fields show, clamped to their ranges, is what the record holds.
    Options.MinimumKeywordCount = EditMinimumKeywordCount->value();
    Options.MaximumKeywordCount = EditMaximumKeywordCount->value();
    Options.MinimumRecommendedTags = EditRecMinKeywords->value();
    Options.MaximumRecommendedTags = EditRecMaxKeywords->value();
    Options.KeywordCountBeforeSpamming = EdtMaxKeywordCount->value();
    Options.KeywordOneInEvery = EditKeywordInEvery->value();
    LowerMinimum(*EditMinimumKeywordCount, *EditMaximumKeywordCount);
    LowerMinimum(*EditRecMinKeywords, *EditRecMaxKeywords);

    switch (shown.KeywordCase) {
        case KeywordCaseMode::CaseInsensitiveLower:
            RadioCaseInsensitiveLower->setChecked(true);
            break;
        case KeywordCaseMode::CaseInsensitiveMixed:
            RadioCaseInsensitiveMixed->setChecked(true);
            break;
        default:
            RadioCaseSensitive->setChecked(true);
            break;
    }

    const QSignalBlocker quietEnable(chkEnableCompression);
    const QSignalBlocker quietWarn(chkWarnOnCompress);
    chkEnableCompression->setChecked(shown.CompressionEnabled);
    chkWarnOnCompress->setChecked(shown.WarnBeforeCompressing);
    ShowCompression();
}

void TKeywordsOptionsForm::showEvent(QShowEvent* event) {
    SavedOptions.Assign(Options);
    QDialog::showEvent(event);
}

void TKeywordsOptionsForm::CloseButtonClick() {
    accept();
}

void TKeywordsOptionsForm::CancelButtonClick() {
    reject();
}

void TKeywordsOptionsForm::reject() {
    Options.Assign(SavedOptions);
    UpdateDisplay();
    QDialog::reject();
}

void TKeywordsOptionsForm::closeEvent(QCloseEvent* event) {
    if (isVisible()) {
        accept();
    }
    event->accept();
}

void TKeywordsOptionsForm::done(int result) {
    // One refusal of the store is told once.
    if (SaveSettings() && result == QDialog::Accepted) {
        SavePageCheckSettings();
    } else {
        PageChecksTabSheet->Prime(PageChecksTabSheet->Primed());
    }
    QDialog::done(result);
}

bool TKeywordsOptionsForm::SaveSettings() {
    if (!primed_) {
        return true;
    }
    try {
        Options.SaveToRegistry();
    } catch (const std::exception& error) {
        prompt_.Ask(this, ApplicationTitle(), QString::fromUtf8(error.what()), Prompt::Buttons::Ok,
                    Prompt::Icon::Critical);
        return false;
    }
    return true;
}

void TKeywordsOptionsForm::SavePageCheckSettings() {
    try {
        PageCheckSettings settings;
        settings.Save(PageChecksTabSheet->Edited());
    } catch (const std::exception& error) {
        prompt_.Ask(this, ApplicationTitle(), QString::fromUtf8(error.what()), Prompt::Buttons::Ok,
                    Prompt::Icon::Critical);
        // What was not stored is not handed back either.
        PageChecksTabSheet->Prime(PageChecksTabSheet->Primed());
    }
}

void TKeywordsOptionsForm::ResetButtonClick() {
    if (!primed_) {
        return;
    }
    Options.Assign(SavedOptions);
    UpdateDisplay();
}

void TKeywordsOptionsForm::DefaultButtonClick() {
    if (!primed_) {
        return;
    }
    Options.Assign(KelVelmoraOptions());
    UpdateDisplay();
}

void TKeywordsOptionsForm::MinimumKeywordCountOnChange() {
    if (!primed_) {
        return;
    }
    RaiseMaximum(*EditMinimumKeywordCount, *EditMaximumKeywordCount);
    Options.MinimumKeywordCount = EditMinimumKeywordCount->value();
}

void TKeywordsOptionsForm::EditMaximumKeywordCountChange() {
    if (!primed_) {
        return;
    }
    LowerMinimum(*EditMinimumKeywordCount, *EditMaximumKeywordCount);
    Options.MaximumKeywordCount = EditMaximumKeywordCount->value();
}

void TKeywordsOptionsForm::EditRecMinKeywordsChange() {
    if (!primed_) {
        return;
    }
    RaiseMaximum(*EditRecMinKeywords, *EditRecMaxKeywords);
    Options.MinimumRecommendedTags = EditRecMinKeywords->value();
}

void TKeywordsOptionsForm::EditRecMaxKeywordsChange() {
    if (!primed_) {
        return;
    }
    LowerMinimum(*EditRecMinKeywords, *EditRecMaxKeywords);
    Options.MaximumRecommendedTags = EditRecMaxKeywords->value();
}

void TKeywordsOptionsForm::EdtMaxKeywordCountChange() {
    if (primed_) {
        Options.KeywordCountBeforeSpamming = EdtMaxKeywordCount->value();
    }
}

void TKeywordsOptionsForm::EditKeywordInEveryChange() {
    if (primed_) {
        Options.KeywordOneInEvery = EditKeywordInEvery->value();
    }
}

void TKeywordsOptionsForm::RadioCaseSensitiveClick() {
    SetKeywordCase(KeywordCaseMode::CaseSensitive);
}

void TKeywordsOptionsForm::RadioCaseInsensitiveMixedClick() {
    SetKeywordCase(KeywordCaseMode::CaseInsensitiveMixed);
}

void TKeywordsOptionsForm::RadioCaseInsensitiveLowerClick() {
    SetKeywordCase(KeywordCaseMode::CaseInsensitiveLower);
}

void TKeywordsOptionsForm::SetKeywordCase(KeywordCaseMode keywordCase) {
    if (primed_) {
        Options.KeywordCase = keywordCase;
    }
}

void TKeywordsOptionsForm::chkEnableCompressionClick() {
    SetCompression(chkEnableCompression->isChecked(), chkWarnOnCompress->isChecked());
}

void TKeywordsOptionsForm::chkWarnOnCompressClick() {
    SetCompression(chkEnableCompression->isChecked(), chkWarnOnCompress->isChecked());
}

void TKeywordsOptionsForm::optCompactAlwaysClick() {
    SetCompression(true, false);
}

void TKeywordsOptionsForm::optCompactSometimesClick() {
    SetCompression(true, true);
}

void TKeywordsOptionsForm::optCompactNeverClick() {
    SetCompression(false, chkWarnOnCompress->isChecked());
}

void TKeywordsOptionsForm::SetCompression(bool enabled, bool warn) {
    {
        const QSignalBlocker quietEnable(chkEnableCompression);
        const QSignalBlocker quietWarn(chkWarnOnCompress);
        chkEnableCompression->setChecked(enabled);
        chkWarnOnCompress->setChecked(warn);
    }
    if (primed_) {
        Options.CompressionEnabled = enabled;
        Options.WarnBeforeCompressing = warn;
    }
    ShowCompression();
}

void TKeywordsOptionsForm::ShowCompression() {
    const bool enabled = chkEnableCompression->isChecked();
    chkWarnOnCompress->setEnabled(enabled);
    QRadioButton* selected = !enabled                         ? optCompactNever
                             : chkWarnOnCompress->isChecked() ? optCompactSometimes
                                                              : optCompactAlways;
    const QSignalBlocker quiet(selected);
    selected->setChecked(true);
}

}  // namespace velmora
