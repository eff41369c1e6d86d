#include "document/file_error.h"

#include <system_error>

namespace velmora {

FileError FileError::FromErrno(const std::string& action, const std::string& path, int error) {
    // The generic category gives strerror's text without strerror's shared buffer.
    return FileError(action, path, std::generic_category().message(error));
}

}  // namespace velmora
