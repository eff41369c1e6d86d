#pragma once

// View ▸ Theme: the system's look, or Fusion with a light or a dark palette, kept with the
// settings (group "Appearance"). Qt picks no dark palette by itself on every desktop.

#include <QMenu>
#include <QPalette>

namespace velmora {

enum class Theme { System, Light, Dark };

QPalette DarkPalette();
// The stored theme; System when none is stored.
Theme LoadTheme();
// Throws SettingsError when the store refuses it.
void SaveTheme(Theme theme);
// Sets the application's style and palette; call once QApplication exists.
void ApplyTheme(Theme theme);

// The three choices, the stored one checked; a choice is applied and stored.
class TThemeMenu : public QMenu {
    Q_OBJECT

public:
    explicit TThemeMenu(QWidget* parent = nullptr);

signals:
    // The store refused the choice; it still holds until the program ends.
    void StoreRefused(const QString& reason);
};

}  // namespace velmora
