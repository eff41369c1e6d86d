#pragma once

// The page that the command line names.

#include <QString>
#include <QStringList>

namespace velmora {

// The first argument after the program's name; empty when there is none.
QString PageArgument(const QStringList& arguments);

// The absolute path an argument names. A file: URL of a local file (scheme in any letter case)
// gives its local path with percent escapes decoded; anything else is a path, and a relative
// one is resolved against workingFolder. Empty for an empty argument.
QString PagePathFromArgument(const QString& argument, const QString& workingFolder);

// True for an existing file that is not a directory.
bool PageFileExists(const QString& path);

}  // namespace velmora
