#include "ui/application_title.h"

#include <QStringList>

#include "core/page_files.h"

namespace velmora {
namespace {

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString ApplicationTitle() {
    return FromView(kApplicationTitle);
}

QStringList PageFileFilters() {
    QStringList html;
    QStringList all;
    for (const std::string_view extension : kPageExtensions) {
        const QString pattern = QLatin1Char('*') + FromView(extension);
        all.append(pattern);
        if (extension != ".php") {
            html.append(pattern);
        }
    }
    return {QStringLiteral("HTML files (%1)").arg(html.join(QLatin1Char(' '))),
            QStringLiteral("HTML/PHP files (%1)").arg(all.join(QLatin1Char(' ')))};
}

}  // namespace velmora
