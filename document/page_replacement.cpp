#include "document/page_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "document/descriptor.h"
#include "document/file_error.h"
#include "document/file_functions.h"
#include "document/page_attributes.h"
#include "document/signal_hold.h"
#include "document/temporary_file.h"

namespace velmora {
namespace {

// Writes bytes [from, end) of the new page at their places in fd.
void WriteFrom(int fd, const NewPageBytes& bytes, std::size_t from, const std::string& page,
               const std::function<void()>& afterPiece) {
    std::size_t at = 0;
    bytes.write([&](std::string_view piece) {
        const std::size_t end = at + piece.size();
        if (end > from) {
            const std::size_t skip = from > at ? from - at : 0;
            WriteAllAt(fd, piece.substr(skip), static_cast<off_t>(at + skip), page);
            if (afterPiece) {
                afterPiece();
            }
        }
        at = end;
        return true;
    });
}

void ThrowIfInterrupted(const std::string& page) {
    if (const int signal = SignalHold::Arrived(); signal != 0) {
        throw FileError(
            "Cannot save", page,
            "Interrupted by signal " + std::to_string(signal) + "; nothing was written");
    }
}

bool IsMountPoint(const PagePlace& place) {
    struct statx status {};
    return ::statx(place.folder.get(), place.name.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS,
                   &status) == 0 &&
           (status.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0 &&
           (status.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
}

// The page looked at again through its name, right before it is replaced: it must be the file
// that was locked, as the change check saw it. Returns its status then.
struct stat LastLook(const PageReplacement& replacement) {
    replacement.seams.Reach(SaveStep::BeforeLastLook);
    struct stat byName {};
    const bool present = ::fstatat(replacement.place.folder.get(), replacement.place.name.c_str(),
                                   &byName, AT_SYMLINK_NOFOLLOW) == 0;
    if (!present && errno != ENOENT) {
        ThrowErrno("Cannot open", replacement.page);
    }
    if (replacement.lock == nullptr) {
        if (present) {
            throw PageChangedError(replacement.page);
        }
        return byName;
    }
    struct stat locked {};
    if (::fstat(replacement.lock->fd(), &locked) != 0) {
        ThrowErrno("Cannot open", replacement.page);
    }
    if (!present || !FileState::Of(byName).SameFile(FileState::Of(locked)) ||
        !FileState::Of(locked).Unchanged(replacement.seen)) {
        throw PageChangedError(replacement.page);
    }
    return locked;
}

// Overwrites the page where it is. Its space is reserved first; where the file system cannot
// reserve it, the bytes past the old end go first, so that a full disk fails before the first
// byte of the old text changes. Held signals wait until the write ends.
FileState WriteInPlace(const PageReplacement& replacement) {
    const std::string& page = replacement.page;
    // Non-blocking, and only the file that was locked: a pipe put in its place is refused.
    Descriptor fd(::openat(replacement.place.folder.get(), replacement.place.name.c_str(),
                           O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) {
        if (errno == ENXIO || errno == ELOOP) {
            throw PageChangedError(page);
        }
        ThrowErrno("Cannot write", page);
    }
    struct stat opened {};
    if (::fstat(fd.get(), &opened) != 0) {
        ThrowErrno("Cannot write", page);
    }
    const struct stat now = LastLook(replacement);
    if (!S_ISREG(opened.st_mode) || !FileState::Of(opened).SameFile(FileState::Of(now))) {
        throw PageChangedError(page);
    }
    ThrowIfInterrupted(page);
    const std::size_t size = replacement.bytes.size;
    bool reserved = size == 0;
    if (!reserved) {
        int result = 0;
        do {
            result = ::fallocate(fd.get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size));
        } while (result != 0 && errno == EINTR);
        if (result != 0 && errno != EOPNOTSUPP && errno != ENOSYS) {
            ThrowErrno("Cannot write", page);
        }
        reserved = result == 0;
    }
    const auto oldSize = static_cast<std::size_t>(now.st_size);
    if (!reserved && size > oldSize) {
        // Whatever of the new end got written goes again when the disk is full.
        try {
            WriteFrom(fd.get(), replacement.bytes, oldSize, page, {});
            if (::fdatasync(fd.get()) != 0) {
                ThrowErrno("Cannot write", page);
            }
        } catch (const FileError&) {
            [[maybe_unused]] const int restored = ::ftruncate(fd.get(), now.st_size);
            throw;
        }
    }
    bool told = false;
    WriteFrom(fd.get(), replacement.bytes, 0, page, [&] {
        if (!told) {
            told = true;
            replacement.seams.Reach(SaveStep::WritingInPlace);
        }
    });
    if (::ftruncate(fd.get(), static_cast<off_t>(size)) != 0) {
        ThrowErrno("Cannot write", page);
    }
    if (::fsync(fd.get()) != 0) {
        ThrowErrno("Cannot write", page);
    }
    struct stat written {};
    ::fstat(fd.get(), &written);
    if (::close(fd.release()) != 0) {
        ThrowErrno("Cannot close", page);
    }
    return FileState::Of(written);
}

void SyncFolder(int folder) {
    // Best effort: the rename has happened either way; this only hastens it to the disk.
    const Descriptor listed(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (listed.valid()) {
        [[maybe_unused]] const int synced = ::fsync(listed.get());
    }
}

bool RenameRefused(int error) {
    return error == EBUSY || error == EXDEV || error == EPERM || error == EACCES;
}

// Puts the new file at the page's name: over the locked page, or, where no file stood, only if
// none has appeared since.
int Rename(const PageReplacement& replacement, const TemporaryFile& file) {
    const int folder = replacement.place.folder.get();
    const char* name = replacement.place.name.c_str();
    if (replacement.lock != nullptr) {
        return ::renameat(folder, file.name().c_str(), folder, name);
    }
    if (::renameat2(folder, file.name().c_str(), folder, name, RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return -1;
    }
    if (::linkat(folder, file.name().c_str(), folder, name, 0) != 0) {
        return -1;
    }
    ::unlinkat(folder, file.name().c_str(), 0);
    return 0;
}

ReplacedPage ReplaceThroughNewFile(const PageReplacement& replacement, TemporaryFile& file) {
    const std::string& page = replacement.page;
    WriteFrom(file.fd(), replacement.bytes, 0, page, [&] { ThrowIfInterrupted(page); });
    // The content reaches the disk while the file is still private; the page's mode, which may
    // let others read it, comes only just before the rename.
    if (replacement.seams.syncData(file.fd()) != 0) {
        ThrowErrno("Cannot write", page);
    }
    const struct stat now = LastLook(replacement);
    ThrowIfInterrupted(page);
    if (replacement.lock != nullptr) {
        if (!CopyPageAttributes(replacement.lock->fd(), now, file.fd())) {
            file.Discard();
            return {Replacement::InPlace, WriteInPlace(replacement)};
        }
    } else if (::fchmod(file.fd(), replacement.newFileMode) != 0) {
        ThrowErrno("Cannot write", page);
    }
    replacement.seams.Reach(SaveStep::Renaming);
    if (Rename(replacement, file) != 0) {
        if (errno == EEXIST) {
            throw PageChangedError(page);
        }
        if (replacement.lock != nullptr && RenameRefused(errno)) {
            file.Discard();
            return {Replacement::InPlace, WriteInPlace(replacement)};
        }
        ThrowErrno("Cannot replace", page);
    }
    file.Placed();
    // Best effort from here on: the content is on the disk and the page replaced; these only
    // hasten the new attributes and name to it.
    [[maybe_unused]] const int synced = ::fsync(file.fd());
    SyncFolder(replacement.place.folder.get());
    struct stat written {};
    ::fstat(file.fd(), &written);
    return {Replacement::Renamed, FileState::Of(written)};
}

ReplacedPage Replace(const PageReplacement& replacement) {
    const PageLock* lock = replacement.lock;
    if (lock != nullptr && (lock->status().st_nlink > 1 || !CanGiveBackOwner(lock->status()) ||
                            IsMountPoint(replacement.place))) {
        return {Replacement::InPlace, WriteInPlace(replacement)};
    }
    const int folder = replacement.place.folder.get();
    RemoveStaleTemporaryFiles(folder, replacement.place.name);
    TemporaryFile file(folder, replacement.place.name);
    if (!file.created()) {
        if (lock != nullptr && (errno == EACCES || errno == EPERM)) {
            return {Replacement::InPlace, WriteInPlace(replacement)};
        }
        ThrowErrno("Cannot create", replacement.page);
    }
    return ReplaceThroughNewFile(replacement, file);
}

}  // namespace

ReplacedPage ReplacePageFile(const PageReplacement& replacement) {
    if (replacement.backupPath.empty()) {
        return Replace(replacement);
    }
    try {
        return Replace(replacement);
    } catch (const PageChangedError&) {
        throw;
    } catch (const FileError& error) {
        throw FileError(error.action(), replacement.page,
                        error.reason() + "; the page as it was is kept in the backup '" +
                            replacement.backupPath + "'");
    }
}

}  // namespace velmora
