#include "document/file_functions.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <utility>

#include "document/file_error.h"

namespace velmora {
namespace {

constexpr std::size_t kReadPiece = std::size_t{1} << 18;

bool IsDirectory(const char* path) {
    struct stat status {};
    return stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

std::string GetTempDirectory() {
    std::string folder;
    if (const char* tmpdir = std::getenv("TMPDIR"); tmpdir != nullptr && IsDirectory(tmpdir)) {
        folder = tmpdir;
    } else if (IsDirectory("/tmp")) {
        folder = "/tmp";
    } else {
        return {};
    }
    if (!folder.ends_with('/')) {
        folder += '/';
    }
    return folder;
}

std::string FolderOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string_view NameOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::optional<std::string> ReadRegularFileIfPresent(const std::string& path,
                                                    struct stat* readStatus) {
    // Non-blocking, so that opening a pipe does not wait for a writer before it is refused.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        ThrowErrno("Cannot open", path);
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) {
        ThrowErrno("Cannot open", path);
    }
    if (S_ISDIR(status.st_mode)) {
        throw FileError::FromErrno("Cannot open", path, EISDIR);
    }
    if (!S_ISREG(status.st_mode)) {
        throw FileError("Cannot open", path, "Not a regular file");
    }
    // The room for each read is zero-filled just before the system overwrites it, a piece at a
    // time while the piece is still in the cache, not the whole page ahead of the reads. One byte
    // more than the file's size lets the last read see its end without growing the buffer.
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(status.st_size) + 1);
    std::size_t size = 0;
    for (;;) {
        if (size == bytes.capacity()) {
            bytes.reserve(bytes.capacity() * 2);
        }
        bytes.resize(size + std::min(kReadPiece, bytes.capacity() - size));
        const ssize_t got = ::read(fd.get(), bytes.data() + size, bytes.size() - size);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowErrno("Cannot read", path);
        }
        if (got == 0) {
            break;
        }
        size += static_cast<std::size_t>(got);
    }
    bytes.resize(size);
    if (readStatus != nullptr && ::fstat(fd.get(), readStatus) != 0) {
        ThrowErrno("Cannot read", path);
    }
    if (::close(fd.release()) != 0) {
        ThrowErrno("Cannot close", path);
    }
    return bytes;
}

std::string ReadRegularFile(const std::string& path, struct stat* status) {
    std::optional<std::string> bytes = ReadRegularFileIfPresent(path, status);
    if (!bytes) {
        throw FileError::FromErrno("Cannot open", path, ENOENT);
    }
    return std::move(*bytes);
}

mode_t NewFileMode() {
    // Read without changing the umask, as this process may have other threads.
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == "Umask:" && status >> word) {
            return static_cast<mode_t>(0666 & ~std::strtoul(word.c_str(), nullptr, 8));
        }
    }
    return 0644;
}

void WriteAll(int fd, std::string_view bytes, const std::string& path) {
    constexpr std::size_t kChunk = std::size_t{1} << 30;
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), std::min(bytes.size(), kChunk));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowErrno("Cannot write", path);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void WriteAllAt(int fd, std::string_view bytes, off_t offset, const std::string& path) {
    constexpr std::size_t kChunk = std::size_t{1} << 30;
    while (!bytes.empty()) {
        const ssize_t written = ::pwrite(fd, bytes.data(), std::min(bytes.size(), kChunk), offset);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowErrno("Cannot write", path);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += written;
    }
}

void CopyFileContent(int from, int to, const std::string& path) {
    constexpr std::size_t kChunk = std::size_t{1} << 30;
    loff_t at = 0;
    // In the kernel first; systems or file pairs it does not serve fall back to a read buffer.
    for (;;) {
        const ssize_t copied = ::copy_file_range(from, &at, to, nullptr, kChunk, 0);
        if (copied > 0) {
            continue;
        }
        if (copied == 0) {
            return;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP &&
            errno != EBADF) {
            ThrowErrno("Cannot write", path);
        }
        break;
    }
    std::string buffer(kReadPiece, '\0');
    for (;;) {
        const ssize_t got = ::pread(from, buffer.data(), buffer.size(), at);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowErrno("Cannot read", path);
        }
        if (got == 0) {
            return;
        }
        WriteAll(to, {buffer.data(), static_cast<std::size_t>(got)}, path);
        at += got;
    }
}

void SyncAndClose(Descriptor& fd, const std::string& path) {
    if (::fsync(fd.get()) != 0) {
        ThrowErrno("Cannot write", path);
    }
    if (::close(fd.release()) != 0) {
        ThrowErrno("Cannot close", path);
    }
}

}  // namespace velmora
