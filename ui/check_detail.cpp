#include "ui/check_detail.h"

#include <QStringList>

#include "page_checks/check_guidance.h"
#include "ui/check_presentation.h"
#include "ui/state_mark.h"

namespace velmora {
namespace {

QString Escaped(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toHtmlEscaped();
}

QString Paragraph(const QString& heading, const QString& escapedText) {
    return QStringLiteral("<p><b>%1</b><br>%2</p>").arg(heading, escapedText);
}

}  // namespace

TCheckDetail::TCheckDetail(QWidget* parent) : QTextBrowser(parent) {
    setObjectName("CheckDetail");
    setAccessibleName(QStringLiteral("Details of the selected check"));
    setOpenLinks(false);
    ShowNothing();
}

void TCheckDetail::ShowNothing() {
    setHtml(
        QStringLiteral("<p>Select a check to see why it matters and how to fix it. "
                       "Double-click a finding to see it in the page's source.</p>"));
}

void TCheckDetail::Show(const page_checks::CheckResult& check) {
    const page_checks::CheckGuidance& guidance = page_checks::GuidanceFor(check.id);
    const QColor colour = StateColour(check.state, palette());
    QString html =
        QStringLiteral("<h3>%1 <span style=\"color:%2\">(%3)</span></h3>")
            .arg(CheckDisplayName(check.id).toHtmlEscaped(), colour.name(), StateName(check.state));
    html += QStringLiteral("<p>%1</p>").arg(Escaped(check.message));
    const QString measured = ReadableValues(check.values);
    if (!measured.isEmpty()) {
        html += Paragraph(QStringLiteral("Measured"), measured.toHtmlEscaped());
    }
    html += Paragraph(QStringLiteral("Why it matters"), Escaped(guidance.why));
    html += Paragraph(QStringLiteral("How to fix it"), Escaped(guidance.how));
    QStringList places;
    if (check.element) {
        places.append(FindingText(*check.element).toHtmlEscaped());
    }
    for (const page_checks::CheckedElement& element : check.listed) {
        places.append(FindingText(element).toHtmlEscaped());
    }
    if (!places.isEmpty()) {
        html += Paragraph(QStringLiteral("Where"), places.join(QStringLiteral("<br>")));
    }
    setHtml(html);
}

}  // namespace velmora
