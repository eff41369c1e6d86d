#include "ui/state_mark.h"

#include <QPainter>
#include <QPixmap>

namespace velmora {

using page_checks::CheckState;

bool IsDarkPalette(const QPalette& palette) {
    return palette.color(QPalette::Base).lightness() < 128;
}

QColor StateColour(CheckState state, const QPalette& palette) {
    const bool dark = IsDarkPalette(palette);
    switch (state) {
        case CheckState::Good:
            return dark ? QColor(0x5c, 0xd6, 0x7a) : QColor(0x1e, 0x7e, 0x34);
        case CheckState::Improve:
            return dark ? QColor(0xff, 0xa8, 0x3d) : QColor(0xc2, 0x5e, 0x00);
        case CheckState::Problem:
            return dark ? QColor(0xff, 0x6b, 0x6b) : QColor(0xc6, 0x28, 0x28);
        case CheckState::Info:
            break;
    }
    return dark ? QColor(0x8a, 0xb4, 0xf8) : QColor(0x1a, 0x5f, 0xb4);
}

QIcon StateMark(CheckState state, const QPalette& palette, int size) {
    const qreal ratio = 2.0;
    QPixmap pixmap(static_cast<int>(size * ratio), static_cast<int>(size * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette.color(QPalette::Text), 1.0));
    painter.setBrush(StateColour(state, palette));
    const qreal inset = size * 0.15;
    painter.drawEllipse(QRectF(inset, inset, size - 2 * inset, size - 2 * inset));
    painter.end();
    return QIcon(pixmap);
}

QString StateName(CheckState state) {
    return QString::fromUtf8(page_checks::CheckStateName(state));
}

}  // namespace velmora
