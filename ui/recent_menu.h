#pragma once

// File ▸ Open Recent: the last pages opened, read from the settings each time it opens.

#include <QMenu>
#include <QString>

namespace velmora {

// Why a page of the list did not open, and that it has been taken off.
QString GoneRecentFileMessage(const QString& path);

class TRecentMenu : public QMenu {
    Q_OBJECT

public:
    explicit TRecentMenu(QWidget* parent = nullptr);

    // Puts `path` first in the stored list; a store that refuses it is told by StoreRefused.
    void Remember(const QString& path);
    // Takes `path` off the stored list. Throws SettingsError when the store refuses it.
    void Forget(const QString& path);

signals:
    void OpenRequested(const QString& path);
    // The page is open, so a list that cannot be kept is only worth a passing word.
    void StoreRefused(const QString& reason);

private:
    void Fill();
};

}  // namespace velmora
