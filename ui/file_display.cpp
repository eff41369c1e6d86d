#include "ui/file_display.h"

#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/page_encoding.h"
#include "document/velmora_data.h"
#include "ui/advice_dialog.h"
#include "ui/state_mark.h"

namespace velmora {
namespace {

constexpr int kMargin = 3;

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLineEdit* NewDisplay(QWidget* parent, const char* name) {
    auto* display = Named(new QLineEdit(parent), name);
    display->setReadOnly(true);
    return display;
}

QPushButton* NewButton(const QString& text, const QString& hint, QWidget* parent,
                       const char* name) {
    auto* button = Named(new QPushButton(text, parent), name);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    return button;
}

QLabel* NewLabel(const QString& text, QWidget* parent, const char* name) {
    auto* label = Named(new QLabel(text, parent), name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

int TextWidth(const QWidget* widget, const QString& text) {
    return widget->fontMetrics().horizontalAdvance(text);
}

// A flat button that also takes Enter, as a link in a page does.
class VerdictButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

// Text out of the page, decoded from the page's own encoding.
QString FromPageBytes(const KelVelmoraData& document, const std::string& bytes) {
    return QString::fromStdString(PageBytesToUtf8(bytes, document.Rules().encoding()));
}

}  // namespace

TFileDisplay::TFileDisplay(QWidget* parent) : QWidget(parent) {
    BuildControls();
    NameControlsForScreenReaders();
    BuildLayout();
    ApplyDisplayColours();
}

void TFileDisplay::BuildControls() {
    SourceBox = Named(new QGroupBox(QStringLiteral("Web Page Source"), this), "SourceBox");
    Label1 = NewLabel(QStringLiteral("&Source File:"), SourceBox, "Label1");
    FileName = NewDisplay(SourceBox, "FileName");
    btn_browse = NewButton(QStringLiteral("&Browse"), QStringLiteral("Browse to open a new file"),
                           SourceBox, "btn_browse");

    FileInformationBox =
        Named(new QGroupBox(QStringLiteral("Web Page Analysis"), this), "FileInformationBox");
    QGroupBox* box = FileInformationBox;
    Label5 = NewLabel(QStringLiteral("Page &Rating:"), box, "Label5");
    Rating = NewDisplay(box, "Rating");
    QFont ratingFont = Rating->font();
    ratingFont.setPointSizeF(ratingFont.pointSizeF() * 1.5);
    Rating->setFont(ratingFont);
    Rating->setAlignment(Qt::AlignCenter);
    Rating->setToolTip(QStringLiteral(
        "Keyword rating: how well the meta keywords match the words the page uses most, as the "
        "keyword review rates them. Page Checks rates the page as search engines read it."));
    Label7 = NewLabel(QStringLiteral("&Advice:"), box, "Label7");
    AdviceBox = Named(new QListWidget(box), "AdviceBox");
    AdviceBox->setSelectionMode(QAbstractItemView::SingleSelection);
    // A long line is cut with an ellipsis; the hint holds every line whole.
    AdviceBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    AdviceBox->setTextElideMode(Qt::ElideRight);
    VerdictLine = Named(new VerdictButton(box), "VerdictLine");
    VerdictLine->setFlat(true);
    VerdictLine->setCursor(Qt::PointingHandCursor);
    VerdictLine->setToolTip(QStringLiteral(
        "The page score of the page checks, as search engines read the page. Click to open Page "
        "Checks."));
    VerdictLine->setAccessibleDescription(QStringLiteral("Opens Page Checks"));
    QFont verdictFont = VerdictLine->font();
    verdictFont.setBold(true);
    VerdictLine->setFont(verdictFont);
    connect(VerdictLine, &QPushButton::clicked, this, &TFileDisplay::VerdictClicked);
    Label6 = NewLabel(QStringLiteral("Tit&le:"), box, "Label6");
    FileTitle = NewDisplay(box, "FileTitle");
    EditTitleButton =
        NewButton(QStringLiteral("Ed&it"), QStringLiteral("Edit title"), box, "EditTitleButton");
    DescriptionLab = NewLabel(QStringLiteral("&Description:"), box, "DescriptionLab");
    Description = Named(new QPlainTextEdit(box), "Description");
    Description->setReadOnly(true);
    Description->setTabChangesFocus(true);
    EditDescriptionButton = NewButton(QStringLiteral("Edi&t"), QStringLiteral("Edit description"),
                                      box, "EditDescriptionButton");
    Label2 = NewLabel(QStringLiteral("&Keywords:"), box, "Label2");
    Keywords = NewDisplay(box, "Keywords");
    KeywordsButton =
        NewButton(QStringLiteral("Cha&nge"), QStringLiteral("Change and reorder keywords"), box,
                  "KeywordsButton");
    Label3 = NewLabel(QStringLiteral("&Good Keywords:"), box, "Label3");
    KeywordGoodCount = NewDisplay(box, "KeywordGoodCount");
    Label4 = NewLabel(QStringLiteral("Bad Ke&ywords:"), box, "Label4");
    KeywordBadCount = NewDisplay(box, "KeywordBadCount");

    // Read-only displays: out of the tab order (a click still selects for copying) and no drop
    // target, so a page dropped on them reaches the frame.
    for (QWidget* display : Displays()) {
        display->setFocusPolicy(Qt::ClickFocus);
        display->setAcceptDrops(false);
    }
    for (QLineEdit* count : {KeywordGoodCount, KeywordBadCount}) {
        count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    connect(btn_browse, &QPushButton::clicked, this, &TFileDisplay::BrowseClicked);
    connect(EditTitleButton, &QPushButton::clicked, this, &TFileDisplay::EditTitleClicked);
    connect(EditDescriptionButton, &QPushButton::clicked, this,
            &TFileDisplay::EditDescriptionClicked);
    connect(KeywordsButton, &QPushButton::clicked, this, &TFileDisplay::ChangeKeywordsClicked);
}

QList<QWidget*> TFileDisplay::Displays() const {
    return {FileName, Rating,           FileTitle,       Description,
            Keywords, KeywordGoodCount, KeywordBadCount, AdviceBox};
}

void TFileDisplay::NameControlsForScreenReaders() {
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

void TFileDisplay::SizeWidgets() {
    const std::initializer_list<QPushButton*> buttons = {btn_browse, EditTitleButton,
                                                         EditDescriptionButton, KeywordsButton};
    int buttonWidth = 49;
    for (const QPushButton* button : buttons) {
        buttonWidth = std::max(buttonWidth, button->sizeHint().width());
    }
    for (QPushButton* button : buttons) {
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
    // Three whole advice rows, as tall as the style draws them, so no row is cut in half.
    AdviceBox->addItem(QStringLiteral("X"));
    const int rowHeight = std::max(AdviceBox->sizeHintForRow(0), AdviceBox->fontMetrics().height());
    AdviceBox->clear();
    AdviceBox->setFixedHeight(3 * rowHeight + 2 * AdviceBox->frameWidth());
    // Labels beside taller boxes sit level with the first line.
    Label5->setFixedHeight(Rating->height());
    Label7->setFixedHeight(Rating->height());
    DescriptionLab->setFixedHeight(lineHeight);
}

void TFileDisplay::BuildLayout() {
    // The label column and the button column line up across both boxes.
    int labelWidth = 0;
    for (const QLabel* label : {Label1, Label5, Label6, DescriptionLab, Label2}) {
        labelWidth = std::max(labelWidth, label->sizeHint().width());
    }
    SizeWidgets();

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
    analysis->addWidget(VerdictLine, 1, 1, 1, 2, Qt::AlignLeft);
    analysis->addWidget(Label6, 2, 0);
    analysis->addWidget(FileTitle, 2, 1);
    analysis->addWidget(EditTitleButton, 2, 2);
    analysis->addWidget(DescriptionLab, 3, 0, Qt::AlignTop);
    analysis->addWidget(Description, 3, 1);
    analysis->addWidget(EditDescriptionButton, 3, 2, Qt::AlignTop);
    analysis->addWidget(Label2, 4, 0);
    analysis->addWidget(Keywords, 4, 1);
    analysis->addWidget(KeywordsButton, 4, 2);
    analysis->addLayout(countRow, 5, 0, 1, 3);
    analysis->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addWidget(SourceBox);
    layout->addWidget(FileInformationBox);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void TFileDisplay::ApplyDisplayColours() {
    // Displays take the window's colours, so they read as displays in light and dark themes.
    const QPalette& base = palette();
    for (QWidget* display : Displays()) {
        QPalette colours = display->palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            colours.setColor(group, QPalette::Base, base.color(group, QPalette::Window));
            colours.setColor(group, QPalette::Text, base.color(group, QPalette::WindowText));
        }
        display->setPalette(colours);
    }
    QPalette verdict = VerdictLine->palette();
    verdict.setColor(QPalette::ButtonText, StateColour(verdictState_, base));
    VerdictLine->setPalette(verdict);
}

void TFileDisplay::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        ApplyDisplayColours();
    }
    QWidget::changeEvent(event);
}

void TFileDisplay::Show(const KelVelmoraData& document) {
    const ReviewResult& review = document.Result();
    FileName->setText(QFile::decodeName(QByteArray::fromStdString(document.GetFileName())));
    FileName->setToolTip(FileName->text());
    FileTitle->setText(FromPageBytes(document, review.title));
    FileTitle->setCursorPosition(0);
    Description->setPlainText(FromPageBytes(document, review.description));
    Keywords->setText(FromPageBytes(document, review.keywordsText));
    Keywords->setCursorPosition(0);
    KeywordGoodCount->setText(QString::number(document.GetGoodKeywordCount()));
    KeywordBadCount->setText(QString::number(document.GetBadKeywordCount()));

    AdviceBox->clear();
    QStringList advice;
    for (const Finding& finding : document.GetFindings()) {
        advice.append(FromPageBytes(document, finding.advice));
    }
    AdviceBox->addItems(advice);
    AdviceBox->setToolTip(advice.join(QLatin1Char('\n')));
    Rating->setText(QString::fromStdString(document.GetRatingText()));
}

void TFileDisplay::ShowVerdict(const QString& text, page_checks::CheckState state) {
    VerdictLine->setText(text);
    VerdictLine->setAccessibleName(text);
    verdictState_ = state;
    ApplyDisplayColours();
}

void TFileDisplay::ShowAllAdvice() {
    if (AdviceDialog == nullptr) {
        AdviceDialog = new TAdviceDialog(this);
    }
    QStringList lines;
    for (int row = 0; row < AdviceBox->count(); ++row) {
        lines.append(AdviceBox->item(row)->text());
    }
    AdviceDialog->SetAdvice(lines);
    AdviceDialog->exec();
}

void TFileDisplay::FocusFirstControl() {
    btn_browse->setFocus();
}

}  // namespace velmora
