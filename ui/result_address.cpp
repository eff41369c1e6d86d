#include "ui/result_address.h"

#include <QFileInfo>
#include <QStringList>
#include <QUrl>

#include "options/kel_registry.h"

namespace velmora {
namespace {

const QString kSeparator = QStringLiteral(" › ");

bool IsWebAddress(const QUrl& url) {
    return url.isValid() && !url.host().isEmpty() &&
           (url.scheme() == QStringLiteral("https") || url.scheme() == QStringLiteral("http"));
}

// An address typed without a scheme ("bakery.example") means https.
QUrl SiteUrl(const QString& address) {
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty()) {
        return QUrl();
    }
    return QUrl::fromUserInput(
        trimmed.contains(QStringLiteral("://")) ? trimmed : QStringLiteral("https://") + trimmed);
}

ResultAddress FromUrl(const QUrl& url) {
    QString host = url.host();
    if (host.startsWith(QStringLiteral("www."))) {
        host.remove(0, 4);
    }
    QStringList crumbs = {url.scheme() + QStringLiteral("://") + url.host()};
    for (const QString& part : url.path().split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        crumbs.append(QUrl::fromPercentEncoding(part.toUtf8()));
    }
    return {host, crumbs.join(kSeparator), host.isEmpty() ? QChar('?') : host.at(0).toUpper()};
}

}  // namespace

ResultAddress AddressOfResult(const QString& canonical, const QString& siteAddress,
                              const QString& fileName) {
    const QUrl site = SiteUrl(siteAddress);
    QUrl page(canonical.trimmed());
    if (page.isRelative() && IsWebAddress(site) && !canonical.trimmed().isEmpty()) {
        page = site.resolved(page);
    }
    if (IsWebAddress(page)) {
        return FromUrl(page);
    }
    const QString file = QFileInfo(fileName).fileName();
    if (IsWebAddress(site)) {
        return FromUrl(site.resolved(QUrl(QUrl::toPercentEncoding(file))));
    }
    return {QStringLiteral("Site address not set"), QStringLiteral("…") + kSeparator + file,
            QChar('?')};
}

QString TSiteAddress::Load() {
    return TKelRegistry(kVelmoraSettingsPath)
        .ReadString(QStringLiteral("Preview"), QStringLiteral("SiteAddress"));
}

void TSiteAddress::Save(const QString& address) {
    TKelRegistry store(kVelmoraSettingsPath);
    store.WriteString(QStringLiteral("Preview"), QStringLiteral("SiteAddress"), address.trimmed());
    store.Flush(QStringLiteral("SiteAddress"));
}

}  // namespace velmora
