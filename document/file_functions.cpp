#include "document/file_functions.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <random>
#include <string_view>
#include <utility>

#include "document/file_error.h"

namespace velmora {
namespace {

[[noreturn]] void Fail(const std::string& action, const std::string& path) {
    throw FileError::FromErrno(action, path, errno);
}

bool IsDirectory(const char* path) {
    struct stat status {};
    return stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

// Closes the descriptor unless it was closed on purpose, with its error checked.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

// A new file that disappears again unless it was renamed into place.
class TemporaryFile {
public:
    TemporaryFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!placed_) {
            ::unlink(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    Descriptor& fd() { return fd_; }
    const std::string& path() const { return path_; }
    void Placed() { placed_ = true; }

private:
    Descriptor fd_;
    std::string path_;
    bool placed_ = false;
};

// Creates a file of a fresh name in folder, exclusively, so nothing of that name is reused or
// followed. Returns -1 with errno set when the folder refuses.
int CreateUniqueFile(const std::string& folder, mode_t mode, std::string& path) {
    static constexpr std::string_view kLetters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = folder + ".velmora-";
        for (int i = 0; i < 10; ++i) {
            path += kLetters[pick(random)];
        }
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

void WriteAll(int fd, std::string_view bytes, const std::string& path) {
    constexpr std::size_t kChunk = std::size_t{1} << 30;
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), std::min(bytes.size(), kChunk));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail("Cannot write", path);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void FlushAndClose(Descriptor& fd, const std::string& path) {
    if (::fsync(fd.get()) != 0) {
        Fail("Cannot write", path);
    }
    if (::close(fd.release()) != 0) {
        Fail("Cannot close", path);
    }
}

// The file a save replaces: the target of a symbolic link, or path itself when nothing is there.
std::string ReplacedFile(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                         &std::free);
    if (resolved) {
        return resolved.get();
    }
    if (errno != ENOENT) {
        Fail("Cannot open", path);
    }
    return path;
}

// Overwrites the file where it is. Its space is reserved first (where the file system can), so
// that a full disk fails before the first byte of the old text changes.
void WriteInPlace(const std::string& file, std::string_view bytes, const std::string& path) {
    Descriptor fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
    if (fd.get() < 0) {
        Fail("Cannot create", path);
    }
    if (!bytes.empty()) {
        int reserved = 0;
        do {
            reserved =
                ::fallocate(fd.get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes.size()));
        } while (reserved != 0 && errno == EINTR);
        if (reserved != 0 && errno != EOPNOTSUPP && errno != ENOSYS) {
            Fail("Cannot write", path);
        }
    }
    WriteAll(fd.get(), bytes, path);
    if (::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0) {
        Fail("Cannot write", path);
    }
    FlushAndClose(fd, path);
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

std::optional<std::string> ReadRegularFileIfPresent(const std::string& path) {
    // Non-blocking, so that opening a pipe does not wait for a writer before it is refused.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        Fail("Cannot open", path);
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) {
        Fail("Cannot open", path);
    }
    if (S_ISDIR(status.st_mode)) {
        throw FileError::FromErrno("Cannot open", path, EISDIR);
    }
    if (!S_ISREG(status.st_mode)) {
        throw FileError("Cannot open", path, "Not a regular file");
    }
    std::string bytes(static_cast<std::size_t>(status.st_size) + 1, '\0');
    std::size_t size = 0;
    for (;;) {
        if (size == bytes.size()) {
            bytes.resize(bytes.size() * 2);
        }
        const ssize_t got = ::read(fd.get(), bytes.data() + size, bytes.size() - size);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail("Cannot read", path);
        }
        if (got == 0) {
            break;
        }
        size += static_cast<std::size_t>(got);
    }
    bytes.resize(size);
    if (::close(fd.release()) != 0) {
        Fail("Cannot close", path);
    }
    return bytes;
}

std::string ReadRegularFile(const std::string& path) {
    std::optional<std::string> bytes = ReadRegularFileIfPresent(path);
    if (!bytes) {
        throw FileError::FromErrno("Cannot open", path, ENOENT);
    }
    return std::move(*bytes);
}

void WritePrivateFile(const std::string& path, std::string_view bytes) {
    std::string temporaryPath;
    const int fd = CreateUniqueFile(FolderOf(path), 0600, temporaryPath);
    if (fd < 0) {
        Fail("Cannot create", path);
    }
    TemporaryFile file(fd, temporaryPath);
    WriteAll(fd, bytes, path);
    FlushAndClose(file.fd(), path);
    if (::rename(file.path().c_str(), path.c_str()) != 0) {
        Fail("Cannot create", path);
    }
    file.Placed();
}

void ReplaceFile(const std::string& path, std::string_view bytes) {
    const std::string target = ReplacedFile(path);
    struct stat status {};
    const bool exists = ::stat(target.c_str(), &status) == 0;
    if (!exists && errno != ENOENT) {
        Fail("Cannot open", path);
    }
    std::string temporaryPath;
    const int fd = CreateUniqueFile(FolderOf(target), 0666, temporaryPath);
    if (fd < 0) {
        if (errno == EACCES || errno == EPERM) {
            WriteInPlace(target, bytes, path);
            return;
        }
        Fail("Cannot create", path);
    }
    TemporaryFile file(fd, temporaryPath);
    if (exists) {
        // Best effort: only root may give a file away; otherwise the saving user owns the page,
        // as with any editor that saves by renaming. The owner goes first, as it may clear bits.
        if (status.st_uid != ::geteuid() || status.st_gid != ::getegid()) {
            [[maybe_unused]] const int given = ::fchown(fd, status.st_uid, status.st_gid);
        }
        if (::fchmod(fd, status.st_mode & 07777) != 0) {
            Fail("Cannot write", path);
        }
    }
    WriteAll(fd, bytes, path);
    FlushAndClose(file.fd(), path);
    if (::rename(file.path().c_str(), target.c_str()) != 0) {
        Fail("Cannot replace", path);
    }
    file.Placed();
}

}  // namespace velmora
