#include "ui/source_view.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/screen_fit.h"
#include "ui/state_mark.h"

namespace velmora {
namespace {

class Gutter : public QWidget {
public:
    explicit Gutter(TNumberedSource& source) : QWidget(&source), source_(source) {}
    QSize sizeHint() const override { return {source_.GutterWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { source_.PaintGutter(event); }

private:
    TNumberedSource& source_;
};

}  // namespace

TNumberedSource::TNumberedSource(QWidget* parent)
    : QPlainTextEdit(parent), gutter_(new Gutter(*this)) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Selecting and copying with the keyboard work in a read-only view too.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    connect(this, &QPlainTextEdit::blockCountChanged, this,
            [this] { setViewportMargins(GutterWidth(), 0, 0, 0); });
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy != 0) {
            gutter_->scroll(0, dy);
        } else {
            gutter_->update(0, rect.y(), gutter_->width(), rect.height());
        }
    });
    setViewportMargins(GutterWidth(), 0, 0, 0);
}

int TNumberedSource::GutterWidth() const {
    const int digits = static_cast<int>(QString::number(std::max(1, blockCount())).size());
    return 12 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void TNumberedSource::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    gutter_->setGeometry(area.left(), area.top(), GutterWidth(), area.height());
}

void TNumberedSource::PaintGutter(QPaintEvent* event) {
    QPainter painter(gutter_);
    painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    while (block.isValid() && top <= event->rect().bottom()) {
        const int height = qRound(blockBoundingRect(block).height());
        if (block.isVisible()) {
            painter.drawText(0, top, gutter_->width() - 6, height, Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        }
        top += height;
        block = block.next();
    }
}

TSourceView::TSourceView(QWidget* parent) : QDialog(parent), Source(new TNumberedSource(this)) {
    setObjectName("SourceView");
    Source->setObjectName("Source");
    Source->setAccessibleName(QStringLiteral("Page source"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("&Close"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* close = new QShortcut(QKeySequence::Close, this);
    connect(close, &QShortcut::activated, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Source, 1);
    layout->addWidget(buttons);
    FitToScreen(*this, QSize(860, 560));
}

void TSourceView::ShowAt(const QString& source, const QString& pageName, int line, int column) {
    setWindowTitle(QStringLiteral("Source of %1 - line %2").arg(pageName).arg(line));
    Source->setPlainText(source);
    const QTextBlock block = Source->document()->findBlockByNumber(std::max(0, line - 1));
    const int start = block.position() + std::clamp(column - 1, 0, std::max(0, block.length() - 1));
    // The element runs to its ">"; an element broken over lines is marked to its line's end.
    const QString text = block.text();
    const qsizetype close = text.indexOf(QLatin1Char('>'), start - block.position());
    const int end = close < 0 ? block.position() + block.length() - 1
                              : block.position() + static_cast<int>(close) + 1;

    QTextCursor cursor(Source->document());
    cursor.setPosition(start);
    cursor.setPosition(std::max(start, end), QTextCursor::KeepAnchor);
    QTextEdit::ExtraSelection mark;
    mark.cursor = cursor;
    mark.format.setBackground(StateColour(page_checks::CheckState::Improve, palette()));
    mark.format.setForeground(palette().color(QPalette::Base));
    Source->setExtraSelections({mark});
    cursor.setPosition(start);
    Source->setTextCursor(cursor);
    Source->centerCursor();
    Source->setFocus();
}

}  // namespace velmora
