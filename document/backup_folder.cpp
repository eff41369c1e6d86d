#include "document/backup_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "document/file_error.h"
#include "document/file_functions.h"
#include "document/fitted_name.h"

namespace velmora {
namespace {

// More backups of one page in one second than anyone makes; past it the name is given up.
constexpr int kMostCopies = 100000;
constexpr std::string_view kHiddenPrefix = ".velmora-backup-";
constexpr std::size_t kRandomLetters = 6;

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

// Opens folder, a real folder of this user's own that no one else may use; nullopt when
// another user owns it. Throws FileError for anything else wrong with it.
std::optional<Descriptor> OpenPrivateFolder(const std::string& folder, bool created) {
    Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.valid()) {
        if (errno == ELOOP || errno == ENOTDIR) {
            throw FileError("Cannot use the backup folder", folder,
                            "It is a link or a file, not a folder of its own");
        }
        ThrowErrno("Cannot open the backup folder", folder);
    }
    if (created && ::fchmod(fd.get(), 0700) != 0) {
        ThrowErrno("Cannot create the backup folder", folder);
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) {
        ThrowErrno("Cannot open the backup folder", folder);
    }
    if (status.st_uid != ::geteuid()) {
        return std::nullopt;
    }
    if ((status.st_mode & 077) != 0) {
        throw FileError("Cannot use the backup folder", folder,
                        "Others may use it (mode " + ModeText(status.st_mode) +
                            "); it must be private (mode 0700)");
    }
    return fd;
}

// A private folder of this user's beside `named` whose name began with it, made earlier when
// another user held the plain name, or a new one.
std::pair<std::string, Descriptor> UnpredictableFolder(const std::string& parent,
                                                       const std::string& named) {
    const std::string prefix = named + "-";
    if (DIR* entries = ::opendir(parent.c_str())) {
        std::optional<std::pair<std::string, Descriptor>> found;
        while (const dirent* entry = ::readdir(entries)) {
            const std::string_view name = entry->d_name;
            if (!found && name.starts_with(prefix) &&
                name.size() == prefix.size() + kRandomLetters) {
                try {
                    if (auto fd = OpenPrivateFolder(parent + entry->d_name, false)) {
                        found.emplace(parent + entry->d_name, std::move(*fd));
                    }
                } catch (const FileError&) {
                    // Another user's trap or a broken folder: passed over.
                }
            }
        }
        ::closedir(entries);
        if (found) {
            return std::move(*found);
        }
    }
    std::string folder = parent + prefix + std::string(kRandomLetters, 'X');
    if (::mkdtemp(folder.data()) == nullptr) {
        ThrowErrno("Cannot create the backup folder", folder);
    }
    std::optional<Descriptor> fd = OpenPrivateFolder(folder, true);
    if (!fd) {
        throw FileError("Cannot use the backup folder", folder, "It belongs to another user");
    }
    return {folder, std::move(*fd)};
}

// $XDG_STATE_HOME/velmora/backups, or ~/.local/state/velmora/backups; empty without a home.
std::string StateBackupFolder() {
    // A relative XDG_STATE_HOME is not one, as the base directory rules have it.
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && state[0] == '/') {
        return std::string(state) + "/velmora/backups";
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        return std::string(home) + "/.local/state/velmora/backups";
    }
    return {};
}

// Makes the folders of path that are missing, private; false when one cannot be made. created
// says whether the last one was.
bool MakeFolders(const std::string& path, bool& created) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        created = ::mkdir(folder.c_str(), 0700) == 0;
        if (!created && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            return true;
        }
    }
}

}  // namespace

BackupFolder BackupFolder::ForThisUser(const std::string& parent) {
    const std::string state = StateBackupFolder();
    bool created = false;
    if (!state.empty() && MakeFolders(state, created)) {
        std::optional<Descriptor> fd = OpenPrivateFolder(state, created);
        if (!fd) {
            throw FileError("Cannot use the backup folder", state, "It belongs to another user");
        }
        return BackupFolder(state + "/", std::move(*fd));
    }
    return BackupFolder(parent);
}

BackupFolder::BackupFolder(const std::string& parent) {
    std::string folder = parent + "velmora-backups-" + std::to_string(::geteuid());
    const bool created = ::mkdir(folder.c_str(), 0700) == 0;
    if (!created && errno != EEXIST) {
        ThrowErrno("Cannot create the backup folder", folder);
    }
    if (std::optional<Descriptor> fd = OpenPrivateFolder(folder, created)) {
        folder_ = std::move(*fd);
    } else {
        // Another user took the name first, in a temporary folder all users share.
        auto [unpredictable, fd2] = UnpredictableFolder(parent, folder.substr(parent.size()));
        folder = parent + unpredictable.substr(parent.size());
        folder_ = std::move(fd2);
    }
    path_ = folder + "/";
}

std::string BackupFolder::Write(const BackupName& name, const BackupContent& content,
                                const SaveSeams& seams) const {
    if (!seams.unnamedBackups) {
        return WriteHidden(name, content, seams);
    }
    // An unnamed file gets its name only once it is complete, so a killed save leaves no partial
    // backup behind.
    Descriptor file(::openat(folder_.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (!file.valid()) {
        if (UnnamedFilesUnsupported(errno)) {
            return WriteHidden(name, content, seams);
        }
        ThrowErrno("Cannot create", path_ + name(1, NameLimit(folder_.get())));
    }
    return Name(file, {}, name, content, seams);
}

std::string BackupFolder::WriteHidden(const BackupName& name, const BackupContent& content,
                                      const SaveSeams& seams) const {
    std::string hidden;
    Descriptor file;
    for (int tries = 0; tries < 100 && !file.valid(); ++tries) {
        hidden = std::string(kHiddenPrefix) + std::string(kRandomLetters, 'X');
        FillRandomName(hidden.data() + kHiddenPrefix.size(), kRandomLetters);
        file = Descriptor(::openat(folder_.get(), hidden.c_str(),
                                   O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!file.valid() && errno != EEXIST) {
            ThrowErrno("Cannot create", path_ + hidden);
        }
    }
    if (!file.valid()) {
        throw FileError::FromErrno("Cannot create", path_ + hidden, EEXIST);
    }
    try {
        return Name(file, hidden, name, content, seams);
    } catch (...) {
        ::unlinkat(folder_.get(), hidden.c_str(), 0);
        throw;
    }
}

// Writes and flushes the content, then gives the file its name: an unnamed one through /proc, a
// hidden one by a rename that replaces nothing (or a link where the system has no such rename).
std::string BackupFolder::Name(const Descriptor& file, const std::string& hidden,
                               const BackupName& name, const BackupContent& content,
                               const SaveSeams& seams) const {
    const std::size_t limit = NameLimit(folder_.get());
    const std::string shown = path_ + name(1, limit);
    content(file.get(), shown);
    if (::fsync(file.get()) != 0) {
        ThrowErrno("Cannot write", shown);
    }
    seams.Reach(SaveStep::BackupWritten);
    const std::string self = "/proc/self/fd/" + std::to_string(file.get());
    bool linkOnly = false;
    for (int copy = 1; copy <= kMostCopies; ++copy) {
        const std::string backup = name(copy, limit);
        int named = -1;
        if (hidden.empty()) {
            named =
                ::linkat(AT_FDCWD, self.c_str(), folder_.get(), backup.c_str(), AT_SYMLINK_FOLLOW);
            if (named != 0 && (errno == ENOENT || errno == EACCES) && copy == 1) {
                // No /proc to name the file through, or none this process may use.
                return WriteHidden(name, content, seams);
            }
        } else {
            if (!linkOnly) {
                named = ::renameat2(folder_.get(), hidden.c_str(), folder_.get(), backup.c_str(),
                                    RENAME_NOREPLACE);
                linkOnly = named != 0 && (errno == EINVAL || errno == ENOSYS);
            }
            if (linkOnly) {
                named = ::linkat(folder_.get(), hidden.c_str(), folder_.get(), backup.c_str(), 0);
                if (named == 0) {
                    ::unlinkat(folder_.get(), hidden.c_str(), 0);
                }
            }
        }
        if (named == 0) {
            SyncFolder(folder_.get());
            return path_ + backup;
        }
        if (errno != EEXIST) {
            ThrowErrno("Cannot create", path_ + backup);
        }
    }
    throw FileError::FromErrno("Cannot create", path_ + name(kMostCopies, limit), EEXIST);
}

}  // namespace velmora
