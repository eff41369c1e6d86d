#pragma once

// The file operations of the page document. Every failure throws FileError with the file and
// the system's reason.

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// The system's folder for temporary files, always ending with "/": TMPDIR when it names an
// existing directory, else /tmp. Empty when neither is usable.
std::string GetTempDirectory();

// The folder part of a path, ending with "/"; empty for a bare file name.
std::string FolderOf(std::string_view path);

// The whole content of a regular file; nullopt when there is no file at path. Directories,
// devices and pipes are refused without being read.
std::optional<std::string> ReadRegularFileIfPresent(const std::string& path);
std::string ReadRegularFile(const std::string& path);

// Writes bytes to a new file readable by its owner only, flushed to disk, then renamed to path:
// an existing file or symbolic link of that name is replaced, never written through.
void WritePrivateFile(const std::string& path, std::string_view bytes);

// Replaces the file at path (the target, when path is a symbolic link) whole by bytes, keeping
// its permission bits: a new file in the same folder, flushed, renamed over it. Only when the
// folder refuses a new file is the file overwritten in place.
void ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace velmora
