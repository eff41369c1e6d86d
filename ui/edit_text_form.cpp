#include "ui/edit_text_form.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <algorithm>

#include "core/edited_text.h"
#include "ui/state_mark.h"
#include "ui/width_meter.h"

namespace velmora {

namespace {

constexpr int kMargin = 8;
constexpr int kDesignWidth = 299;
// Room for a title as wide as a result page shows it, at the size it is shown.
constexpr int kWidestTitlePixels = 600;
constexpr int kMinimumFormWidth = 200;
constexpr int kMultiLineRows = 5;

}  // namespace

TEditText::TEditText(QWidget* parent)
    : QDialog(parent),
      EditWindow(new QPlainTextEdit(this)),
      SaveButton(new QPushButton(QStringLiteral("&Save"), this)),
      CancelButton(new QPushButton(QStringLiteral("&Cancel"), this)),
      TitleLabel(new QLineEdit(this)),
      LengthCounter(new QLabel(this)),
      Preview(new TSearchPreview(SharedWidthMeter(), this)) {
    setObjectName("EditTextForm");
    EditWindow->setObjectName("EditWindow");
    SaveButton->setObjectName("SaveButton");
    CancelButton->setObjectName("CancelButton");
    TitleLabel->setObjectName("TitleLabel");
    LengthCounter->setObjectName("LengthCounter");
    LengthCounter->setAccessibleName(QStringLiteral("Length"));
    LengthCounter->hide();
    Preview->hide();

    auto* fieldLabel = new QLabel(QStringLiteral("&Field:"), this);
    fieldLabel->setBuddy(EditWindow);
    fieldLabel->setObjectName("Label1");
    TitleLabel->setReadOnly(true);
    TitleLabel->setFocusPolicy(Qt::NoFocus);

    EditWindow->setTabChangesFocus(true);
    EditWindow->installEventFilter(this);
    SaveButton->setMinimumSize(75, 25);
    CancelButton->setMinimumSize(75, 25);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setVerticalSpacing(kMargin);
    layout->addWidget(fieldLabel, 0, 0);
    layout->addWidget(TitleLabel, 0, 1);
    layout->addWidget(EditWindow, 1, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SaveButton);
    buttons->addStretch(1);
    buttons->addWidget(CancelButton);
    layout->addWidget(LengthCounter, 2, 0, 1, 2);
    layout->addWidget(Preview, 3, 0, 1, 2);
    layout->addLayout(buttons, 4, 0, 1, 2);
    layout->setRowStretch(1, 1);

    connect(SaveButton, &QPushButton::clicked, this, &TEditText::SaveButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TEditText::CancelButtonClick);
    connect(EditWindow, &QPlainTextEdit::textChanged, this, &TEditText::FollowTyping);

    setMinimumWidth(std::max(kMinimumFormWidth, minimumSizeHint().width()));
    resize(std::max(kDesignWidth, minimumWidth()), height());
}

void TEditText::Prime(const QString& caption, const QString& text, bool singleLine,
                      std::optional<LengthLimits> limits, std::optional<LivePreview> preview) {
    Limits = limits;
    LengthCounter->setVisible(Limits.has_value());
    PreviewField.reset();
    Preview->setVisible(preview.has_value());
    if (preview) {
        Preview->Show(preview->page, preview->options);
        PreviewField = preview->field;
    }
    // A 600 px title fits the edit box whole.
    const int frame = 2 * (EditWindow->frameWidth() + kMargin) +
                      static_cast<int>(2 * EditWindow->document()->documentMargin());
    const int wide = std::max(kWidestTitlePixels,
                              Preview->isVisibleTo(this) ? Preview->minimumSizeHint().width() : 0);
    setMinimumWidth(std::max(kMinimumFormWidth, (preview || limits) ? wide + frame : 0));
    resize(std::max(width(), minimumWidth()), height());
    setWindowTitle(caption);
    TitleLabel->setText(caption);
    TitleLabel->setCursorPosition(0);

    InitialText = text;
    EditWindow->setPlainText(text);
    InitialReading = EditedText();

    const Qt::ScrollBarPolicy bars = singleLine ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    EditWindow->setHorizontalScrollBarPolicy(bars);
    EditWindow->setVerticalScrollBarPolicy(bars);
    EditWindow->setLineWrapMode(singleLine ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    if (singleLine) {
        EditWindow->setFixedHeight(EditHeight(1));
    } else {
        EditWindow->setMinimumHeight(EditHeight(kMultiLineRows));
        EditWindow->setMaximumHeight(QWIDGETSIZE_MAX);
    }

    layout()->invalidate();
    layout()->activate();
    FittedHeight = layout()->totalMinimumSize().height();
    if (singleLine) {
        setFixedHeight(FittedHeight);
    } else {
        setMinimumHeight(FittedHeight);
        setMaximumHeight(QWIDGETSIZE_MAX);
    }
    resize(width(), FittedHeight);
    EditWindow->setFocus();
    EditWindow->moveCursor(QTextCursor::End);
}

void TEditText::FollowTyping() {
    UpdateCounter();
    const QString text = GetText();
    if (PreviewField == LivePreview::Field::Title) {
        Preview->SetTitle(text);
    } else if (PreviewField == LivePreview::Field::Description) {
        Preview->SetDescription(text);
    }
    emit TextTyped(text);
}

void TEditText::UpdateCounter() {
    if (!Limits) {
        return;
    }
    const LengthCount count = CountLength(SharedWidthMeter(), GetText(), *Limits);
    LengthCounter->setText(CounterText(count, *Limits));
    QPalette palette = this->palette();
    if (count.state != page_checks::CheckState::Good) {
        palette.setColor(QPalette::WindowText, StateColour(count.state, palette));
    }
    LengthCounter->setPalette(palette);
    const QString state = StateName(count.state);
    LengthCounter->setToolTip(state);
    LengthCounter->setAccessibleDescription(state);
}

bool TEditText::HaveChanged() const {
    return EditedText() != InitialReading;
}

QString TEditText::GetText() const {
    return QString::fromStdString(CleanEditedText(EditedText().toStdString()));
}

QString TEditText::EditedText() const {
    // The raw text keeps no-break spaces, which the plain-text reading turns into spaces.
    QString text = EditWindow->document()->toRawText();
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
            c = QLatin1Char('\n');
        }
    }
    return text;
}

void TEditText::SaveButtonClick() {
    accept();
}

void TEditText::CancelButtonClick() {
    reject();
}

void TEditText::reject() {
    EditWindow->setPlainText(InitialText);
    QDialog::reject();
}

void TEditText::closeEvent(QCloseEvent* event) {
    if (isVisible()) {
        accept();
    }
    event->accept();
}

// Enter never breaks the line and never closes the dialog, whatever the modifiers.
bool TEditText::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EditWindow && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

int TEditText::EditHeight(int lines) const {
    const int margin = static_cast<int>(2 * EditWindow->document()->documentMargin());
    return lines * EditWindow->fontMetrics().lineSpacing() + margin + 2 * EditWindow->frameWidth();
}

}  // namespace velmora
