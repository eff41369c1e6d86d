#include "ui/startup.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace velmora {
namespace {

// The local path of a file: URL, or nothing when the argument is not one.
bool LocalPathOfFileUrl(const QString& argument, QString& path) {
    if (!argument.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive)) {
        return false;
    }
    const QUrl url(argument, QUrl::TolerantMode);
    const QString host = url.host();
    if (!url.isValid() || !url.isLocalFile() ||
        !(host.isEmpty() || host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0)) {
        return false;
    }
    path = QUrl(url.adjusted(QUrl::RemoveAuthority)).toLocalFile();
    return true;
}

}  // namespace

QString PageArgument(const QStringList& arguments) {
    return arguments.size() > 1 ? arguments.at(1) : QString();
}

QString PagePathFromArgument(const QString& argument, const QString& workingFolder) {
    if (argument.isEmpty()) {
        return QString();
    }
    QString path;
    if (!LocalPathOfFileUrl(argument, path)) {
        path = argument;
    }
    if (path.isEmpty()) {
        return QString();
    }
    return QDir::cleanPath(QDir(workingFolder).absoluteFilePath(path));
}

bool PageFileExists(const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

}  // namespace velmora
