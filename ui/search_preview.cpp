#include "ui/search_preview.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStringDecoder>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "page_checks/page_facts.h"
#include "ui/result_address.h"
#include "ui/state_mark.h"
#include "ui/text_cut.h"

namespace velmora {
namespace {

constexpr int kTitlePixels = 20;
constexpr int kDescriptionPixels = 14;
constexpr int kSitePixels = 14;
constexpr int kAddressPixels = 12;
constexpr int kIconPixels = 26;
constexpr int kPadding = 12;
// A phone shows less of a description than a desktop does.
constexpr int kMobileDescriptionPixels = 680;
constexpr qsizetype kStandInCharacters = 160;
constexpr std::size_t kStandInBytes = 64 * 1024;

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

QLabel* NewLine(int pixelSize, QWidget* parent, const char* name, const QString& accessible) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setAccessibleName(accessible);
    label->setTextFormat(Qt::PlainText);
    label->setFont(ResultFont(pixelSize));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
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

QString TextValue(const page_checks::CheckResult* check, std::string_view name) {
    const page_checks::CheckValue* value = check == nullptr ? nullptr : check->Value(name);
    const auto* text = value == nullptr ? nullptr : std::get_if<std::string>(&value->value);
    return text == nullptr ? QString() : QString::fromStdString(*text);
}

bool AsksNotToIndex(const page_checks::CheckResult* indexable) {
    const page_checks::CheckValue* directives =
        indexable == nullptr ? nullptr : indexable->Value("directives");
    const auto* list = directives == nullptr
                           ? nullptr
                           : std::get_if<page_checks::CheckValue::List>(&directives->value);
    if (list == nullptr) {
        return false;
    }
    return std::any_of(list->begin(), list->end(), [](const page_checks::CheckValue& directive) {
        const auto* text = std::get_if<std::string>(&directive.value);
        return text != nullptr && (*text == "noindex" || *text == "none");
    });
}

// The start of the page's text, ended at a whole word. The page's first stretch holds it, so a
// large page is not read twice.
QString StandInText(std::string_view pageBytes) {
    pageBytes = pageBytes.substr(0, kStandInBytes);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString page = utf8(QByteArrayView(pageBytes.data(), static_cast<qsizetype>(pageBytes.size())));
    if (utf8.hasError()) {
        page = QString::fromLatin1(pageBytes.data(), static_cast<qsizetype>(pageBytes.size()));
    }
    const QString text =
        QString::fromStdString(page_checks::ReadPageFacts(page.toStdString()).text).simplified();
    if (text.size() <= kStandInCharacters) {
        return text;
    }
    const qsizetype space = text.lastIndexOf(QLatin1Char(' '), kStandInCharacters);
    return text.left(space > 0 ? space : kStandInCharacters) + QStringLiteral(" …");
}

QPixmap SiteIcon(QChar initial, const QPalette& palette) {
    QPixmap icon(kIconPixels, kIconPixels);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool dark = IsDarkPalette(palette);
    painter.setPen(Qt::NoPen);
    painter.setBrush(dark ? QColor(0x3c, 0x40, 0x43) : QColor(0xf1, 0xf3, 0xf4));
    painter.drawEllipse(icon.rect());
    painter.setPen(dark ? QColor(0xe8, 0xea, 0xed) : QColor(0x5f, 0x63, 0x68));
    painter.setFont(ResultFont(kIconPixels / 2));
    painter.drawText(icon.rect(), Qt::AlignCenter, QString(initial));
    return icon;
}

}  // namespace

PreviewPage PreviewPageOf(const page_checks::PageCheckReport& report, std::string_view pageBytes,
                          const QString& fileName) {
    PreviewPage page;
    page.title = QString::fromStdString(report.title.value_or(std::string()));
    page.description = QString::fromStdString(report.description.value_or(std::string()));
    page.canonical = TextValue(FindCheck(report, CheckId::Canonical), "href");
    page.fileName = fileName;
    page.notIndexed = AsksNotToIndex(FindCheck(report, CheckId::Indexable));
    if (page.description.isEmpty() && !pageBytes.empty()) {
        page.standIn = StandInText(pageBytes);
    }
    return page;
}

TSearchPreview::TSearchPreview(const page_checks::TextWidthMeter& meter, QWidget* parent)
    : QFrame(parent),
      Banner(new QLabel(QStringLiteral("Search engines are asked not to show this page."), this)),
      SiteLine(NewLine(kSitePixels, this, "SiteLine", QStringLiteral("Result site"))),
      AddressLine(NewLine(kAddressPixels, this, "AddressLine", QStringLiteral("Result address"))),
      TitleLine(NewLine(kTitlePixels, this, "TitleLine", QStringLiteral("Result title"))),
      DescriptionLine(NewLine(kDescriptionPixels, this, "DescriptionLine",
                              QStringLiteral("Result description"))),
      StandInNote(new QLabel(this)),
      WidthNote(new QLabel(this)),
      meter_(meter),
      icon_(new QLabel(this)),
      desktop_(new QToolButton(this)),
      mobile_(new QToolButton(this)) {
    setObjectName("SearchPreview");
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setAccessibleName(QStringLiteral("Search result preview"));
    Banner->setObjectName("NotIndexedBanner");
    Banner->setWordWrap(true);
    Banner->setMargin(6);
    Banner->setAutoFillBackground(true);
    StandInNote->setObjectName("StandInNote");
    StandInNote->setWordWrap(true);
    StandInNote->setText(QStringLiteral(
        "The page has no description: the search engine chooses text from the page, such as "
        "the above."));
    WidthNote->setWordWrap(true);
    WidthNote->setText(QStringLiteral(
        "Pixel widths are unknown (Liberation Sans is not installed): the texts are shown whole."));
    WidthNote->setVisible(!meter_.HasFont());
    icon_->setFixedSize(kIconPixels, kIconPixels);
    siteAddress_ = TSiteAddress::Load();

    auto* site = new QGridLayout;
    site->setHorizontalSpacing(8);
    site->setVerticalSpacing(0);
    site->addWidget(icon_, 0, 0, 2, 1, Qt::AlignVCenter);
    site->addWidget(SiteLine, 0, 1);
    site->addWidget(AddressLine, 1, 1);
    site->setColumnStretch(1, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(site, 1);
    top->addWidget(BuildScreenToggle(), 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    layout->setSpacing(4);
    layout->addWidget(Banner);
    layout->addLayout(top);
    layout->addWidget(TitleLine);
    layout->addWidget(DescriptionLine);
    layout->addWidget(StandInNote);
    layout->addWidget(WidthNote);
    Banner->hide();
    StandInNote->hide();
    ApplyColours();
    SetScreen(Screen::Desktop);
}

QWidget* TSearchPreview::BuildScreenToggle() {
    auto* toggle = new QWidget(this);
    auto* group = new QButtonGroup(toggle);
    auto* layout = new QHBoxLayout(toggle);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const auto add = [&](QToolButton* button, const QString& text, const char* name,
                         Screen screen) {
        button->setText(text);
        button->setObjectName(QLatin1String(name));
        button->setCheckable(true);
        button->setToolTip(QStringLiteral("Preview a result %1 px wide").arg(ColumnWidth(screen)));
        group->addButton(button);
        layout->addWidget(button);
        connect(button, &QToolButton::toggled, this, [this, screen](bool on) {
            if (on) {
                SetScreen(screen);
            }
        });
    };
    add(desktop_, QStringLiteral("&Desktop"), "DesktopButton", Screen::Desktop);
    add(mobile_, QStringLiteral("&Mobile"), "MobileButton", Screen::Mobile);
    desktop_->setChecked(true);
    return toggle;
}

void TSearchPreview::SetSiteAddress(const QString& address) {
    siteAddress_ = address;
    Redraw();
}

int TSearchPreview::ColumnWidth(Screen screen) {
    return screen == Screen::Desktop ? 600 : 328;
}

void TSearchPreview::Show(const PreviewPage& page, const PageCheckOptions& options) {
    page_ = page;
    options_ = options;
    Redraw();
}

void TSearchPreview::SetTitle(const QString& title) {
    page_.title = title;
    Redraw();
}

void TSearchPreview::SetDescription(const QString& description) {
    page_.description = description;
    Redraw();
}

void TSearchPreview::SetScreen(Screen screen) {
    screen_ = screen;
    (screen == Screen::Desktop ? desktop_ : mobile_)->setChecked(true);
    const int column = ColumnWidth(screen);
    for (QLabel* line : {SiteLine, AddressLine, TitleLine, DescriptionLine, StandInNote}) {
        line->setFixedWidth(column);
    }
    setMinimumWidth(column + kIconPixels + 2 * kPadding + 2 * frameWidth() + 8);
    Redraw();
}

void TSearchPreview::Redraw() {
    const QString title = page_.title.simplified();
    // A desktop result is one title line; a phone wraps the title and cuts it at the same limit.
    const CutText cutTitle = CutToPixels(meter_, title, kTitlePixels, options_.TitleMaximumPixels);
    TitleLine->setText(title.isEmpty() ? QStringLiteral("(no title)") : cutTitle.text);
    TitleLine->setToolTip(title);

    const bool standIn = page_.description.simplified().isEmpty();
    const QString description = standIn ? page_.standIn : page_.description.simplified();
    const int descriptionLimit =
        screen_ == Screen::Desktop
            ? options_.DescriptionMaximumPixels
            : std::min(options_.DescriptionMaximumPixels, kMobileDescriptionPixels);
    DescriptionLine->setText(
        CutToPixels(meter_, description, kDescriptionPixels, descriptionLimit).text);
    DescriptionLine->setToolTip(description);
    QFont font = DescriptionLine->font();
    font.setItalic(standIn);
    DescriptionLine->setFont(font);
    StandInNote->setVisible(standIn);

    const ResultAddress address = AddressOfResult(page_.canonical, siteAddress_, page_.fileName);
    SiteLine->setText(address.siteName);
    AddressLine->setText(address.breadcrumb);
    AddressLine->setToolTip(address.breadcrumb);
    icon_->setPixmap(SiteIcon(address.initial, palette()));
    Banner->setVisible(page_.notIndexed);
    ApplyColours();
    // Wrapped lines take the height they need, so none is cut off at the bottom.
    for (QLabel* line : {TitleLine, DescriptionLine, StandInNote}) {
        line->setMinimumHeight(std::max(0, line->heightForWidth(line->width())));
    }
    setMinimumHeight(std::max(0, minimumSizeHint().height()));
}

void TSearchPreview::changeEvent(QEvent* event) {
    // Setting the colours is itself a palette change; the flag keeps it from coming back.
    if (event->type() == QEvent::PaletteChange && !applyingColours_) {
        ApplyColours();
    }
    QFrame::changeEvent(event);
}

void TSearchPreview::ApplyColours() {
    if (applyingColours_) {
        return;
    }
    applyingColours_ = true;
    // Result pages have their own light and dark looks; follow the program's palette.
    const bool dark = IsDarkPalette(palette());
    const QColor background = dark ? QColor(0x20, 0x21, 0x24) : QColor(Qt::white);
    const QColor title = dark ? QColor(0x8a, 0xb4, 0xf8) : QColor(0x1a, 0x0d, 0xab);
    const QColor site = dark ? QColor(0xda, 0xdc, 0xe0) : QColor(0x20, 0x21, 0x24);
    const QColor grey = dark ? QColor(0xbd, 0xc1, 0xc6) : QColor(0x4d, 0x51, 0x56);
    const QColor text = dark ? QColor(0xe8, 0xea, 0xed) : QColor(0x47, 0x47, 0x47);
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
    paint(SiteLine, QPalette::WindowText, site);
    paint(AddressLine, QPalette::WindowText, grey);
    paint(DescriptionLine, QPalette::WindowText, StandInNote->isVisibleTo(this) ? grey : text);
    paint(StandInNote, QPalette::WindowText, grey);
    paint(WidthNote, QPalette::WindowText, text);
    QPalette banner = Banner->palette();
    banner.setColor(QPalette::Window, StateColour(page_checks::CheckState::Problem, own));
    banner.setColor(QPalette::WindowText, Qt::white);
    Banner->setPalette(banner);
    applyingColours_ = false;
}

}  // namespace velmora
