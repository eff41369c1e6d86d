#include "document/page_replacement.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "document/descriptor.h"
#include "document/file_error.h"
#include "document/file_functions.h"

namespace velmora {
namespace {

constexpr int kMostLinks = 40;  // as the kernel's limit on a chain of symbolic links

std::string FolderOrCurrent(std::string_view path) {
    const std::string folder = FolderOf(path);
    return folder.empty() ? std::string(".") : folder;
}

void RefuseProtectedLink(const std::string& link, const struct stat& status,
                         const std::string& page) {
    struct stat folder {};
    if (::stat(FolderOrCurrent(link).c_str(), &folder) != 0) {
        ThrowErrno("Cannot open", page);
    }
    const bool othersMayWrite = (folder.st_mode & S_IWOTH) != 0;
    if (othersMayWrite && status.st_uid != ::geteuid() && status.st_uid != folder.st_uid) {
        throw FileError("Cannot save", page,
                        "Refusing to follow the symbolic link '" + link + "' of user " +
                            std::to_string(status.st_uid) + " in a folder others may write");
    }
}

std::string ReadLink(const std::string& link, const std::string& page) {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t size = ::readlink(link.c_str(), target.data(), target.size());
        if (size < 0) {
            ThrowErrno("Cannot open", page);
        }
        if (static_cast<std::size_t>(size) < target.size()) {
            target.resize(static_cast<std::size_t>(size));
            break;
        }
        target.resize(target.size() * 2);
    }
    return target.starts_with('/') ? target : FolderOf(link) + target;
}

bool InGroup(gid_t group) {
    if (group == ::getegid()) {
        return true;
    }
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(count, 0)));
    const int got = ::getgroups(count, groups.data());
    for (int i = 0; i < got; ++i) {
        if (groups[static_cast<std::size_t>(i)] == group) {
            return true;
        }
    }
    return false;
}

// Whether a new file made by this user can carry the page's owner and group.
bool CanGiveBackOwner(const struct stat& page) {
    return ::geteuid() == 0 || (page.st_uid == ::geteuid() && InGroup(page.st_gid));
}

// The permission bits a new file gets where no page stood: 0666 less the umask, read without
// changing it (this process may have other threads).
mode_t NewFileMode() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == "Umask:" && status >> word) {
            return static_cast<mode_t>(0666 & ~std::strtoul(word.c_str(), nullptr, 8));
        }
    }
    return 0644;
}

// Copies every extended attribute of the page (ACLs included) onto fd; false when one could not
// be read or set.
bool CopyExtendedAttributes(const std::string& from, int fd) {
    ssize_t size = ::llistxattr(from.c_str(), nullptr, 0);
    if (size < 0) {
        return errno == ENOTSUP;
    }
    std::string names(static_cast<std::size_t>(size), '\0');
    size = ::llistxattr(from.c_str(), names.data(), names.size());
    if (size < 0) {
        return false;
    }
    names.resize(static_cast<std::size_t>(size));
    for (std::size_t at = 0; at < names.size();) {
        const char* name = names.c_str() + at;
        at += std::char_traits<char>::length(name) + 1;
        const ssize_t length = ::lgetxattr(from.c_str(), name, nullptr, 0);
        if (length < 0) {
            return false;
        }
        std::string value(static_cast<std::size_t>(length), '\0');
        const ssize_t got = ::lgetxattr(from.c_str(), name, value.data(), value.size());
        if (got < 0 || ::fsetxattr(fd, name, value.data(), static_cast<std::size_t>(got), 0) != 0) {
            return false;
        }
    }
    return true;
}

// Gives the new file everything of the page but its content; false when something cannot be
// given back.
bool CopyPageAttributes(const PageTarget& target, int fd) {
    const struct stat& page = *target.status;
    if ((page.st_uid != ::geteuid() || page.st_gid != ::getegid()) &&
        ::fchown(fd, page.st_uid, page.st_gid) != 0) {
        return false;
    }
    // The mode goes last: setting an owner may clear set-id bits.
    return CopyExtendedAttributes(target.path, fd) && ::fchmod(fd, page.st_mode & 07777) == 0;
}

// A new file named after the page that disappears again unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target)
        : path_(FolderOf(target) + "." + std::string(NameOf(target)) + ".velmora-save-XXXXXX"),
          fd_(::mkostemp(path_.data(), O_CLOEXEC)),
          exists_(fd_.valid()) {}
    ~TemporaryFile() { Discard(); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool created() const { return exists_; }
    Descriptor& fd() { return fd_; }
    const std::string& path() const { return path_; }
    void Placed() { exists_ = false; }
    void Discard() {
        if (exists_) {
            fd_ = Descriptor();
            ::unlink(path_.c_str());
            exists_ = false;
        }
    }

private:
    std::string path_;
    Descriptor fd_;
    bool exists_;
};

void SyncFolderOf(const std::string& path) {
    // Best effort: the rename has happened either way; this only hastens it to the disk.
    const Descriptor folder(
        ::open(FolderOrCurrent(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid()) {
        [[maybe_unused]] const int synced = ::fsync(folder.get());
    }
}

// Overwrites the page where it is. Its space is reserved first (where the file system can), so
// that a full disk fails before the first byte of the old text changes.
void WriteInPlace(const PageTarget& target, const std::string& page, std::string_view bytes) {
    Descriptor fd(::open(target.path.c_str(), O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) {
        ThrowErrno("Cannot write", page);
    }
    struct stat now {};
    if (::fstat(fd.get(), &now) != 0) {
        ThrowErrno("Cannot write", page);
    }
    if (now.st_dev != target.status->st_dev || now.st_ino != target.status->st_ino) {
        throw FileError("Cannot write", page, "It was replaced by another file during the save");
    }
    if (!bytes.empty()) {
        int reserved = 0;
        do {
            reserved =
                ::fallocate(fd.get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes.size()));
        } while (reserved != 0 && errno == EINTR);
        if (reserved != 0 && errno != EOPNOTSUPP && errno != ENOSYS) {
            ThrowErrno("Cannot write", page);
        }
    }
    WriteAll(fd.get(), bytes, page);
    if (::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0) {
        ThrowErrno("Cannot write", page);
    }
    SyncAndClose(fd, page);
}

void WriteInPlaceNamingBackup(const PageTarget& target, const std::string& page,
                              std::string_view bytes, const std::string& backupPath) {
    try {
        WriteInPlace(target, page, bytes);
    } catch (const FileError& error) {
        throw FileError(
            "Cannot write", page,
            error.reason() + "; the page as it was is kept in the backup '" + backupPath + "'");
    }
}

}  // namespace

PageTarget ResolvePageTarget(const std::string& page) {
    std::string path = page;
    for (int link = 0; link <= kMostLinks; ++link) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0) {
            if (errno == ENOENT) {
                return {path, std::nullopt};
            }
            ThrowErrno("Cannot open", page);
        }
        if (!S_ISLNK(status.st_mode)) {
            return {path, status};
        }
        if (::geteuid() == 0) {
            RefuseProtectedLink(path, status, page);
        }
        path = ReadLink(path, page);
    }
    throw FileError::FromErrno("Cannot open", page, ELOOP);
}

void CheckMayWrite(const PageTarget& target, const std::string& page) {
    if (!target.status) {
        return;
    }
    // access() asks with the real user, which honours ACLs; effective ids differ only in a
    // set-id program.
    const int flags = ::getuid() == ::geteuid() && ::getgid() == ::getegid() ? 0 : AT_EACCESS;
    if (::faccessat(AT_FDCWD, target.path.c_str(), W_OK, flags) != 0) {
        ThrowErrno("Cannot write", page);
    }
    if (::geteuid() == 0 && (target.status->st_mode & 0222) == 0) {
        throw FileError("Cannot write", page, "It is read-only: no one has write permission");
    }
}

Replacement ReplacePageFile(const PageTarget& target, const std::string& page,
                            std::string_view bytes, const std::string& backupPath) {
    const bool inPlace =
        target.status && (target.status->st_nlink > 1 || !CanGiveBackOwner(*target.status));
    if (inPlace) {
        WriteInPlaceNamingBackup(target, page, bytes, backupPath);
        return Replacement::InPlace;
    }
    TemporaryFile file(target.path);
    if (!file.created()) {
        if (target.status && (errno == EACCES || errno == EPERM)) {
            WriteInPlaceNamingBackup(target, page, bytes, backupPath);
            return Replacement::InPlace;
        }
        ThrowErrno("Cannot create", page);
    }
    WriteAll(file.fd().get(), bytes, page);
    // The content reaches the disk while the file is still private; the page's mode, which may
    // let others read it, comes only just before the rename.
    if (::fdatasync(file.fd().get()) != 0) {
        ThrowErrno("Cannot write", page);
    }
    if (target.status) {
        if (!CopyPageAttributes(target, file.fd().get())) {
            file.Discard();
            WriteInPlaceNamingBackup(target, page, bytes, backupPath);
            return Replacement::InPlace;
        }
    } else if (::fchmod(file.fd().get(), NewFileMode()) != 0) {
        ThrowErrno("Cannot write", page);
    }
    if (::rename(file.path().c_str(), target.path.c_str()) != 0) {
        ThrowErrno("Cannot replace", page);
    }
    file.Placed();
    // Best effort from here on: the content is on the disk and the page replaced; these only
    // hasten the new attributes and name to it.
    [[maybe_unused]] const int synced = ::fsync(file.fd().get());
    SyncFolderOf(target.path);
    return Replacement::Renamed;
}

}  // namespace velmora
