#pragma once

// Windows open inside the screen's available area, whatever the scale and the font.

class QSize;
class QWidget;

namespace velmora {

// Resizes `window` to `wanted`, shrunk to the available area of its screen, and moves it inside
// that area.
void FitToScreen(QWidget& window, const QSize& wanted);

}  // namespace velmora
