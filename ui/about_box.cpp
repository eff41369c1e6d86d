#include "ui/about_box.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/velmora_data.h"
#include "ui/application_title.h"
#include "ui/application_version.h"
#include "ui/prompt.h"

namespace velmora {
namespace {

QPixmap DrawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 16.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x5f, 0x8b));
    painter.drawRoundedRect(QRectF(0.5 * unit, 0.5 * unit, 15 * unit, 15 * unit), 3 * unit,
                            3 * unit);
    QPainterPath mark;
    mark.moveTo(3.5 * unit, 4 * unit);
    mark.lineTo(8 * unit, 12.5 * unit);
    mark.lineTo(12.5 * unit, 4 * unit);
    painter.setPen(
        QPen(QColor(0xf2, 0xc1, 0x4e), 2 * unit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(mark);
    return pixmap;
}

}  // namespace

bool OpenUrlWithDesktop(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128}) {
        icon.addPixmap(DrawIcon(size));
    }
    return icon;
}

TAboutBox::TAboutBox(Prompt& prompt, UrlOpener openUrl, QWidget* parent)
    : QDialog(parent), prompt_(prompt), openUrl_(std::move(openUrl)) {
    setWindowTitle(QStringLiteral("About"));

    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setAlignment(Qt::AlignCenter);
    ProgramIcon->setMinimumSize(65, 57);
    ProgramIcon->setPixmap(ApplicationIcon().pixmap(48, 48));

    lbl_title = new QLabel(ApplicationTitle(), Panel1);
    QFont titleFont = lbl_title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    lbl_title->setFont(titleFont);

    lbl_version =
        new QLabel(VersionLine(ProductVersionText(), GetApplicationVersion().Build), Panel1);
    lbl_version->setTextInteractionFlags(Qt::TextSelectableByMouse);

    lblComments = new QLabel(QStringLiteral("For the latest version of this tool, other tools, "
                                            "information and other resources please visit:"),
                             Panel1);
    lblComments->setWordWrap(true);

    const QString address = QString::fromLatin1(kWebsiteAddress);
    lblWebsite = new QLabel(
        QStringLiteral("<a href=\"https://%1\">%1</a>").arg(address.toHtmlEscaped()), Panel1);
    lblWebsite->setAlignment(Qt::AlignCenter);
    lblWebsite->setTextFormat(Qt::RichText);
    lblWebsite->setTextInteractionFlags(Qt::TextBrowserInteraction);
    lblWebsite->setCursor(Qt::PointingHandCursor);
    lblWebsite->setToolTip(QStringLiteral("https://") + address);
    connect(lblWebsite, &QLabel::linkActivated, this, &TAboutBox::lblWebsiteClick);

    OKButton = new QPushButton(QStringLiteral("&OK"), this);
    OKButton->setDefault(true);
    OKButton->setMinimumSize(75, 25);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* panelLayout = new QGridLayout(Panel1);
    panelLayout->addWidget(ProgramIcon, 0, 0, 2, 1, Qt::AlignTop);
    panelLayout->addWidget(lbl_title, 0, 1);
    panelLayout->addWidget(lbl_version, 1, 1, Qt::AlignTop);
    panelLayout->addWidget(lblComments, 2, 0, 1, 2);
    panelLayout->addWidget(lblWebsite, 3, 0, 1, 2);
    panelLayout->setColumnStretch(1, 1);
    panelLayout->setRowMinimumHeight(1, 32);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Panel1->setMinimumWidth(281);
}

QString TAboutBox::AboutCaption(const QString& title) {
    if (title.startsWith(QStringLiteral("Kelgard"))) {
        return QStringLiteral("About ") + title;
    }
    return QStringLiteral("About Kelgard's ") + title;
}

void TAboutBox::ShowAbout() {
    OKButton->setVisible(true);
    setWindowTitle(AboutCaption(ApplicationTitle()));
    OKButton->setFocus();
    exec();
}

void TAboutBox::lblWebsiteClick() {
    const QUrl url(QStringLiteral("https://") + QString::fromLatin1(kWebsiteAddress));
    if (!openUrl_(url)) {
        prompt_.Ask(
            this, ApplicationTitle(),
            QStringLiteral("The web browser could not be started for %1.").arg(url.toString()),
            Prompt::Buttons::Ok, Prompt::Icon::Warning);
    }
}

}  // namespace velmora
