#include "ui/recent_menu.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <exception>

#include "document/file_error.h"
#include "ui/recent_files.h"

namespace velmora {

QString GoneRecentFileMessage(const QString& path) {
    const FileError gone =
        FileError::FromErrno("Cannot open", QFile::encodeName(path).toStdString(), ENOENT);
    return QString::fromUtf8(gone.what()) +
           QStringLiteral("\nIt has been taken off the recent files.");
}

TRecentMenu::TRecentMenu(QWidget* parent) : QMenu(QStringLiteral("Open &Recent"), parent) {
    setObjectName(QStringLiteral("RecentMenu"));
    connect(this, &QMenu::aboutToShow, this, &TRecentMenu::Fill);
    Fill();
}

void TRecentMenu::Fill() {
    clear();
    const QStringList files = TRecentFiles::Load();
    for (int i = 0; i < files.size(); ++i) {
        const QString& file = files.at(i);
        // "&1 page.htm", with an ampersand of the name shown as written.
        QString text = QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(file).fileName());
        text.replace(QLatin1Char('&'), QStringLiteral("&&")).remove(0, 1);
        QAction* action = addAction(text);
        action->setToolTip(file);
        action->setStatusTip(file);
        connect(action, &QAction::triggered, this, [this, file] { emit OpenRequested(file); });
    }
    setEnabled(!files.isEmpty());
}

void TRecentMenu::Remember(const QString& path) {
    try {
        TRecentFiles::Save(WithRecentFile(TRecentFiles::Load(), path));
    } catch (const std::exception& error) {
        emit StoreRefused(QString::fromUtf8(error.what()));
    }
    Fill();
}

void TRecentMenu::Forget(const QString& path) {
    QStringList files = TRecentFiles::Load();
    files.removeAll(path);
    TRecentFiles::Save(files);
    Fill();
}

}  // namespace velmora
