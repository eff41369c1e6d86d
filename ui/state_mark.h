#pragma once

// The coloured marks of the check states, readable on light and dark backgrounds.

#include <QColor>
#include <QIcon>
#include <QPalette>
#include <QString>

#include "page_checks/check_result.h"

namespace velmora {

// Green, orange, red or a neutral blue, lighter on a dark background.
QColor StateColour(page_checks::CheckState state, const QPalette& palette);
// A dot of the state's colour, ringed in the palette's text colour so it stands out on any base.
QIcon StateMark(page_checks::CheckState state, const QPalette& palette, int size);
QString StateName(page_checks::CheckState state);
bool IsDarkPalette(const QPalette& palette);

}  // namespace velmora
