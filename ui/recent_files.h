#pragma once

// The pages opened last, newest first, kept with the settings (group "RecentFiles").

#include <QString>
#include <QStringList>

namespace velmora {

inline constexpr int kRecentFileCount = 8;

// `path` first, once, with the list cut to kRecentFileCount.
QStringList WithRecentFile(QStringList files, const QString& path);

class TRecentFiles {
public:
    // Reads the stored list; entries that are empty are skipped.
    static QStringList Load();
    // Throws SettingsError when the store refuses the write.
    static void Save(const QStringList& files);
};

}  // namespace velmora
