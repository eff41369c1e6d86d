#pragma once

#include <cerrno>
#include <stdexcept>
#include <string>
#include <utility>

namespace velmora {

// A file operation the system refused. The message names the file and gives the system's
// reason, e.g. "Cannot write '/srv/www/index.htm': No space left on device".
class FileError : public std::runtime_error {
public:
    FileError(std::string action, std::string path, std::string reason)
        : std::runtime_error(action + " '" + path + "': " + reason),
          action_(std::move(action)),
          path_(std::move(path)),
          reason_(std::move(reason)) {}

    // Builds the error from errno.
    static FileError FromErrno(const std::string& action, const std::string& path, int error);

    const std::string& action() const { return action_; }
    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }

private:
    std::string action_;
    std::string path_;
    std::string reason_;
};

// Throws FileError with errno, the system's reason for the call that just failed.
[[noreturn]] inline void ThrowErrno(const std::string& action, const std::string& path) {
    throw FileError::FromErrno(action, path, errno);
}

// The page file changed on disk since it was read; the save wrote nothing.
class PageChangedError : public FileError {
public:
    explicit PageChangedError(std::string path)
        : FileError("Cannot save", std::move(path),
                    "It has been changed by another program since it was read; nothing was "
                    "written") {}
};

}  // namespace velmora
