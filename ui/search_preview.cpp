#include "ui/search_preview.h"

#include <QEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/state_mark.h"
#include "ui/text_cut.h"

namespace velmora {
namespace {

constexpr int kTitlePixels = 20;
constexpr int kDescriptionPixels = 14;
constexpr int kAddressPixels = 14;
constexpr int kPadding = 12;

// Liberation Sans when present, so the cut lands where it is drawn; else the nearest sans.
QFont ResultFont(int pixelSize) {
    QFont font;
    if (QFontDatabase::families().contains(QStringLiteral("Liberation Sans"))) {
        font.setFamily(QStringLiteral("Liberation Sans"));
    } else {
        font.setStyleHint(QFont::SansSerif);
    }
    font.setPixelSize(pixelSize);
    return font;
}

QLabel* NewLine(int pixelSize, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(ResultFont(pixelSize));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

const page_checks::CheckResult* FindCheck(const page_checks::PageCheckReport& report, CheckId id) {
    for (const page_checks::CheckResult& check : report.checks) {
        if (check.id == id) {
            return &check;
        }
    }
    return nullptr;
}

}  // namespace

TSearchPreview::TSearchPreview(const page_checks::TextWidthMeter& meter, QWidget* parent)
    : QFrame(parent),
      TitleLine(NewLine(kTitlePixels, this)),
      AddressLine(NewLine(kAddressPixels, this)),
      DescriptionLine(NewLine(kDescriptionPixels, this)),
      WidthNote(new QLabel(this)),
      meter_(meter) {
    setObjectName("SearchPreview");
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setAccessibleName(QStringLiteral("Search result preview"));
    TitleLine->setAccessibleName(QStringLiteral("Result title"));
    AddressLine->setAccessibleName(QStringLiteral("Result address"));
    DescriptionLine->setAccessibleName(QStringLiteral("Result description"));
    // A description runs to two lines on a result page, as the width limit allows.
    DescriptionLine->setWordWrap(true);
    WidthNote->setWordWrap(true);
    WidthNote->setText(QStringLiteral(
        "Pixel widths are unknown (Liberation Sans is not installed): the texts are shown whole."));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    layout->setSpacing(2);
    layout->addWidget(AddressLine);
    layout->addWidget(TitleLine);
    layout->addWidget(DescriptionLine);
    layout->addWidget(WidthNote);
    WidthNote->setVisible(!meter_.HasFont());
    // The title limit plus the padding, so a title cut at the limit is never clipped.
    setMinimumWidth(PageCheckOptions().TitleMaximumPixels + 2 * kPadding + 2 * frameWidth() + 8);
    ApplyColours();
}

void TSearchPreview::Show(const page_checks::PageCheckReport& report,
                          const PageCheckOptions& options, const QString& fileName) {
    const QString title = QString::fromStdString(report.title.value_or(std::string()));
    const CutText cutTitle = CutToPixels(meter_, title, kTitlePixels, options.TitleMaximumPixels);
    TitleLine->setText(title.isEmpty() ? QStringLiteral("(no title)") : cutTitle.text);
    TitleLine->setToolTip(title);

    const QString description = QString::fromStdString(report.description.value_or(std::string()));
    const CutText cutDescription =
        CutToPixels(meter_, description, kDescriptionPixels, options.DescriptionMaximumPixels);
    DescriptionLine->setText(description.isEmpty() ? QStringLiteral("(no description)")
                                                   : cutDescription.text);
    DescriptionLine->setToolTip(description);

    QString address = fileName;
    if (const page_checks::CheckResult* canonical = FindCheck(report, CheckId::Canonical)) {
        if (const page_checks::CheckValue* href = canonical->Value("href")) {
            const auto* text = std::get_if<std::string>(&href->value);
            if (text != nullptr && !text->empty()) {
                address = QString::fromStdString(*text);
            }
        }
    }
    AddressLine->setText(address);
    AddressLine->setToolTip(address);
    // Half the limit per line keeps the wrapped description near the width a result page gives;
    // the layout is told the wrapped height, so no line is cut off at the bottom.
    const int lineWidth =
        std::max(options.TitleMaximumPixels, options.DescriptionMaximumPixels / 2 + 40);
    DescriptionLine->setMaximumWidth(lineWidth);
    DescriptionLine->setMinimumHeight(DescriptionLine->heightForWidth(lineWidth));
    setMinimumHeight(minimumSizeHint().height());
}

void TSearchPreview::changeEvent(QEvent* event) {
    // Setting the colours is itself a palette change; the flag keeps it from coming back.
    if (event->type() == QEvent::PaletteChange && !applyingColours_) {
        applyingColours_ = true;
        ApplyColours();
        applyingColours_ = false;
    }
    QFrame::changeEvent(event);
}

void TSearchPreview::ApplyColours() {
    // Result pages have their own light and dark looks; follow the program's palette.
    const bool dark = IsDarkPalette(palette());
    const QColor background = dark ? QColor(0x20, 0x21, 0x24) : QColor(Qt::white);
    const QColor title = dark ? QColor(0x8a, 0xb4, 0xf8) : QColor(0x1a, 0x0d, 0xab);
    const QColor address = dark ? QColor(0xbd, 0xc1, 0xc6) : QColor(0x20, 0x6a, 0x1e);
    const QColor text = dark ? QColor(0xe8, 0xea, 0xed) : QColor(0x4d, 0x51, 0x56);
    const auto paint = [](QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
        QPalette palette = widget->palette();
        palette.setColor(role, colour);
        widget->setPalette(palette);
    };
    QPalette own = palette();
    own.setColor(QPalette::Window, background);
    own.setColor(QPalette::WindowText, text);
    QFrame::setPalette(own);
    paint(TitleLine, QPalette::WindowText, title);
    paint(AddressLine, QPalette::WindowText, address);
    paint(DescriptionLine, QPalette::WindowText, text);
    paint(WidthNote, QPalette::WindowText, text);
}

}  // namespace velmora
