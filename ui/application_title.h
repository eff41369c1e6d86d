#pragma once

#include <QString>

namespace velmora {

// The application title as the windows show it.
QString ApplicationTitle();

// The open dialog's filters: the HTML pages, then every page file.
QStringList PageFileFilters();

}  // namespace velmora
