#include "document/backup_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "document/file_error.h"
#include "document/file_functions.h"

namespace velmora {
namespace {

// More backups of one page in one second than anyone makes; past it the name is given up.
constexpr int kMostCopies = 100000;

std::string ModeText(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

// Errors of an unnamed file that say only that this system cannot make one here.
bool UnnamedFilesUnsupported(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL || error == ENOENT;
}

void SyncFolder(int fd) {
    // Best effort: the backup is complete either way; this only hastens its name to the disk.
    [[maybe_unused]] const int synced = ::fsync(fd);
}

}  // namespace

BackupFolder::BackupFolder(const std::string& parent)
    : path_(parent + "velmora-backups-" + std::to_string(::geteuid()) + "/") {
    const std::string folder = path_.substr(0, path_.size() - 1);
    const bool created = ::mkdir(folder.c_str(), 0700) == 0;
    if (!created && errno != EEXIST) {
        ThrowErrno("Cannot create the backup folder", folder);
    }
    folder_ = Descriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder_.valid()) {
        if (errno == ELOOP || errno == ENOTDIR) {
            throw FileError("Cannot use the backup folder", folder,
                            "It is a link or a file, not a folder of its own");
        }
        ThrowErrno("Cannot open the backup folder", folder);
    }
    if (created && ::fchmod(folder_.get(), 0700) != 0) {
        ThrowErrno("Cannot create the backup folder", folder);
    }
    struct stat status {};
    if (::fstat(folder_.get(), &status) != 0) {
        ThrowErrno("Cannot open the backup folder", folder);
    }
    if (status.st_uid != ::geteuid()) {
        throw FileError("Cannot use the backup folder", folder,
                        "It belongs to user " + std::to_string(status.st_uid));
    }
    if ((status.st_mode & 077) != 0) {
        throw FileError("Cannot use the backup folder", folder,
                        "Others may use it (mode " + ModeText(status.st_mode) +
                            "); it must be private (mode 0700)");
    }
}

BackupFolder::SaveLock::SaveLock(const BackupFolder& folder)
    // A description of its own, so that the lock goes when this one closes.
    : fd_(::openat(folder.folder_.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (!fd_.valid()) {
        ThrowErrno("Cannot open the backup folder", folder.path_);
    }
    while (::flock(fd_.get(), LOCK_EX) != 0) {
        if (errno != EINTR) {
            ThrowErrno("Cannot lock the backup folder", folder.path_);
        }
    }
}

std::string BackupFolder::Write(const BackupName& name, std::string_view bytes) const {
    // An unnamed file gets its name only once it is complete, so a killed save leaves no partial
    // backup behind.
    Descriptor file(::openat(folder_.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (!file.valid()) {
        if (UnnamedFilesUnsupported(errno)) {
            return WriteNamed(name, bytes);
        }
        ThrowErrno("Cannot create", path_ + name(1));
    }
    WriteAll(file.get(), bytes, path_ + name(1));
    if (::fsync(file.get()) != 0) {
        ThrowErrno("Cannot write", path_ + name(1));
    }
    const std::string self = "/proc/self/fd/" + std::to_string(file.get());
    for (int copy = 1; copy <= kMostCopies; ++copy) {
        const std::string backup = name(copy);
        if (::linkat(AT_FDCWD, self.c_str(), folder_.get(), backup.c_str(), AT_SYMLINK_FOLLOW) ==
            0) {
            SyncAndClose(file, path_ + backup);
            SyncFolder(folder_.get());
            return path_ + backup;
        }
        if ((errno == ENOENT || errno == EACCES) && copy == 1) {
            // No /proc to name the file through, or none this process may use.
            return WriteNamed(name, bytes);
        }
        if (errno != EEXIST) {
            ThrowErrno("Cannot create", path_ + backup);
        }
    }
    throw FileError::FromErrno("Cannot create", path_ + name(kMostCopies), EEXIST);
}

std::string BackupFolder::WriteNamed(const BackupName& name, std::string_view bytes) const {
    for (int copy = 1; copy <= kMostCopies; ++copy) {
        const std::string backup = name(copy);
        Descriptor file(::openat(folder_.get(), backup.c_str(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!file.valid()) {
            if (errno == EEXIST) {
                continue;
            }
            ThrowErrno("Cannot create", path_ + backup);
        }
        try {
            WriteAll(file.get(), bytes, path_ + backup);
            SyncAndClose(file, path_ + backup);
        } catch (...) {
            ::unlinkat(folder_.get(), backup.c_str(), 0);
            throw;
        }
        SyncFolder(folder_.get());
        return path_ + backup;
    }
    throw FileError::FromErrno("Cannot create", path_ + name(kMostCopies), EEXIST);
}

}  // namespace velmora
