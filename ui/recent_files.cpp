#include "ui/recent_files.h"

#include "options/kel_registry.h"

namespace velmora {
namespace {

const QString kRecentFilesGroup = QStringLiteral("RecentFiles");

QString EntryName(int index) {
    return QStringLiteral("File%1").arg(index + 1);
}

TKelRegistry Store() {
    return TKelRegistry(kVelmoraSettingsPath);
}

}  // namespace

QStringList WithRecentFile(QStringList files, const QString& path) {
    files.removeAll(path);
    files.prepend(path);
    return files.mid(0, kRecentFileCount);
}

QStringList TRecentFiles::Load() {
    TKelRegistry store = Store();
    QStringList files;
    for (int i = 0; i < kRecentFileCount; ++i) {
        const QString file = store.ReadString(kRecentFilesGroup, EntryName(i));
        if (!file.isEmpty() && !files.contains(file)) {
            files.append(file);
        }
    }
    return files;
}

void TRecentFiles::Save(const QStringList& files) {
    TKelRegistry store = Store();
    for (int i = 0; i < kRecentFileCount; ++i) {
        store.WriteString(kRecentFilesGroup, EntryName(i),
                          i < files.size() ? files.at(i) : QString());
    }
    store.Flush(kRecentFilesGroup);
}

}  // namespace velmora
