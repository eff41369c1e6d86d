#include "ui/theme.h"

#include <QActionGroup>
#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <array>
#include <exception>

#include "options/kel_registry.h"

namespace velmora {
namespace {

const QString kAppearanceGroup = QStringLiteral("Appearance");
const QString kName = QStringLiteral("Theme");

// The style and palette the platform gave the program, kept before others replace them.
struct SystemLook {
    QString style = QApplication::style()->name();
    QPalette palette = QApplication::palette();
};

const SystemLook& TheSystemLook() {
    static const SystemLook look;
    return look;
}

}  // namespace

QPalette DarkPalette() {
    const QColor window(0x2d, 0x2d, 0x30);
    const QColor base(0x1e, 0x1e, 0x1e);
    const QColor text(0xe8, 0xe8, 0xe8);
    const QColor dimmed(0x80, 0x80, 0x80);
    QPalette dark(text, window, window.lighter(130), window.darker(130), window.darker(110), text,
                  Qt::white, base, window);
    dark.setColor(QPalette::AlternateBase, QColor(0x26, 0x26, 0x28));
    dark.setColor(QPalette::ToolTipBase, window);
    dark.setColor(QPalette::ToolTipText, text);
    dark.setColor(QPalette::PlaceholderText, dimmed);
    dark.setColor(QPalette::Highlight, QColor(0x2f, 0x6f, 0xc0));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Link, QColor(0x8a, 0xb4, 0xf8));
    dark.setColor(QPalette::LinkVisited, QColor(0xc5, 0x8a, 0xf9));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        dark.setColor(QPalette::Disabled, role, dimmed);
    }
    return dark;
}

Theme LoadTheme() {
    const int stored = TKelRegistry(kVelmoraSettingsPath).ReadInteger(kAppearanceGroup, kName, 0);
    return stored == 1 ? Theme::Light : stored == 2 ? Theme::Dark : Theme::System;
}

void SaveTheme(Theme theme) {
    TKelRegistry store(kVelmoraSettingsPath);
    store.WriteInteger(kAppearanceGroup, kName, static_cast<int>(theme));
    store.Flush(kName);
}

void ApplyTheme(Theme theme) {
    const SystemLook& system = TheSystemLook();
    QStyle* style =
        QStyleFactory::create(theme == Theme::System ? system.style : QStringLiteral("Fusion"));
    if (style == nullptr) {
        return;
    }
    QApplication::setStyle(style);
    QApplication::setPalette(theme == Theme::System ? system.palette
                             : theme == Theme::Dark ? DarkPalette()
                                                    : style->standardPalette());
}

TThemeMenu::TThemeMenu(QWidget* parent) : QMenu(QStringLiteral("&Theme"), parent) {
    setObjectName("ThemeMenu");
    auto* choices = new QActionGroup(this);
    const Theme stored = LoadTheme();
    const std::array<std::pair<Theme, QString>, 3> themes = {{
        {Theme::System, QStringLiteral("&System")},
        {Theme::Light, QStringLiteral("&Light")},
        {Theme::Dark, QStringLiteral("&Dark")},
    }};
    for (const auto& [theme, text] : themes) {
        QAction* action = addAction(text);
        action->setCheckable(true);
        action->setChecked(theme == stored);
        choices->addAction(action);
        connect(action, &QAction::triggered, this, [this, theme = theme] {
            ApplyTheme(theme);
            try {
                SaveTheme(theme);
            } catch (const std::exception& error) {
                emit StoreRefused(QString::fromUtf8(error.what()));
            }
        });
    }
}

}  // namespace velmora
