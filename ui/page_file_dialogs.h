#pragma once

// The file dialogs that choose a page to open and a name to save it as.

#include <QString>
#include <functional>

class QWidget;

namespace velmora {

// Asks the user for a page file, starting in folder; empty when cancelled.
using OpenFileFunction = std::function<QString(QWidget* parent, const QString& folder)>;
QString RunOpenFileDialog(QWidget* parent, const QString& folder);
// Asks for the file to save a page as, starting at path; empty when cancelled. The dialog asks
// before replacing a file that exists.
QString RunSaveAsDialog(QWidget* parent, const QString& path);

}  // namespace velmora
