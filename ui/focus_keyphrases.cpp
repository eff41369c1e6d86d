#include "ui/focus_keyphrases.h"

#include <QFileInfo>
#include <QUrl>

#include "options/kel_registry.h"

namespace velmora {
namespace {

const QString kGroup = QStringLiteral("FocusKeyphrases");

// Settings keys treat "/" and "\" as group separators; the escaped path keeps one key per page.
QString EntryName(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return QString::fromLatin1(QUrl::toPercentEncoding(canonical.isEmpty() ? path : canonical));
}

}  // namespace

QString TFocusKeyphrases::Load(const QString& path) {
    return TKelRegistry(kVelmoraSettingsPath).ReadString(kGroup, EntryName(path));
}

void TFocusKeyphrases::Save(const QString& path, const QString& keyphrase) {
    TKelRegistry store(kVelmoraSettingsPath);
    const QString name = EntryName(path);
    if (keyphrase.trimmed().isEmpty()) {
        store.DeleteValue(kGroup, name);
    } else {
        store.WriteString(kGroup, name, keyphrase.trimmed());
    }
    store.Flush(name);
}

}  // namespace velmora
