#pragma once

// The file operations the page document builds on. Every failure throws FileError with the file
// and the system's reason.

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

#include "document/descriptor.h"

namespace velmora {

// The system's folder for temporary files, always ending with "/": TMPDIR when it names an
// existing directory, else /tmp. Empty when neither is usable.
std::string GetTempDirectory();

// The folder part of a path, ending with "/"; empty for a bare file name.
std::string FolderOf(std::string_view path);
// The name after the last "/".
std::string_view NameOf(std::string_view path);

// The whole content of a regular file; nullopt when there is no file at path. Directories,
// devices and pipes are refused without being read.
// status, when given, receives the file's status as it was read.
std::optional<std::string> ReadRegularFileIfPresent(const std::string& path,
                                                    struct stat* status = nullptr);
std::string ReadRegularFile(const std::string& path, struct stat* status = nullptr);

// The permission bits a new file gets where no page stood: 0666 less the umask.
mode_t NewFileMode();

// Writes every byte to fd; `path` names the file in the error.
void WriteAll(int fd, std::string_view bytes, const std::string& path);
// Writes every byte to fd at offset, leaving the file offset alone.
void WriteAllAt(int fd, std::string_view bytes, off_t offset, const std::string& path);
// Copies the whole content of the open file `from` (from its start) to the end of `to`, file to
// file in the kernel where it can; `path` names the copy in errors.
void CopyFileContent(int from, int to, const std::string& path);
// fsync, then close with its result checked.
void SyncAndClose(Descriptor& fd, const std::string& path);

}  // namespace velmora
