#include "ui/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace velmora {

void FitToScreen(QWidget& window, const QSize& wanted) {
    const QScreen* screen =
        window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        window.resize(wanted);
        return;
    }
    // The frame adds a title bar and borders around the size given here.
    const QRect area = screen->availableGeometry().adjusted(8, 40, -8, -8);
    const QSize size = wanted.boundedTo(area.size()).expandedTo(window.minimumSize());
    window.resize(size);
    QPoint place = window.pos();
    place.setX(
        std::clamp(place.x(), area.left(), std::max(area.left(), area.right() - size.width())));
    place.setY(
        std::clamp(place.y(), area.top(), std::max(area.top(), area.bottom() - size.height())));
    window.move(place);
}

}  // namespace velmora
