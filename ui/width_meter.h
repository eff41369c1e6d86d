#pragma once

// The program's one pixel-width meter: finding the font through fontconfig takes a moment, so
// the Page Checks window and the text edit dialog share it.

#include "page_checks/text_width.h"

namespace velmora {

const page_checks::TextWidthMeter& SharedWidthMeter();

}  // namespace velmora
