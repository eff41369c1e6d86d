#pragma once

// A file written whole or not at all, for the reports velmora-cli writes to a named file.

#include <string>
#include <string_view>

namespace velmora::cli {

// Writes bytes to a new temporary file beside path, flushes it to disk and renames it over
// path, so a failure never leaves half a file there. The file gets the modes the user's umask
// allows an ordinary new file. Throws FileError naming path and the system's reason.
void WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace velmora::cli
