#include "document/page_place.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "document/file_error.h"

namespace velmora {
namespace {

constexpr int kMostLinks = 40;  // as the kernel's limit on a chain of symbolic links

Descriptor OpenFolder(int at, const char* name, const std::string& page) {
    Descriptor folder(::openat(at, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.valid()) {
        ThrowErrno("Cannot open", page);
    }
    return folder;
}

// The parts of a path, last first, so that the next one is at the back.
void PushParts(std::string_view path, std::vector<std::string>& parts) {
    std::vector<std::string> forward;
    for (std::size_t at = 0; at <= path.size();) {
        std::size_t slash = path.find('/', at);
        if (slash == std::string_view::npos) {
            slash = path.size();
        }
        if (slash > at && path.substr(at, slash - at) != ".") {
            forward.emplace_back(path.substr(at, slash - at));
        }
        at = slash + 1;
    }
    parts.insert(parts.end(), forward.rbegin(), forward.rend());
}

void RefuseProtectedLink(int folder, const struct stat& link, const std::string& shown,
                         const std::string& page) {
    struct stat status {};
    if (::fstat(folder, &status) != 0) {
        ThrowErrno("Cannot open", page);
    }
    const bool othersMayWrite = (status.st_mode & S_IWOTH) != 0;
    if (othersMayWrite && link.st_uid != ::geteuid() && link.st_uid != status.st_uid) {
        throw FileError("Cannot save", page,
                        "Refusing to follow the symbolic link '" + shown + "' of user " +
                            std::to_string(link.st_uid) + " in a folder others may write");
    }
}

std::string ReadLinkAt(int folder, const std::string& name, const std::string& page) {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t size = ::readlinkat(folder, name.c_str(), target.data(), target.size());
        if (size < 0) {
            ThrowErrno("Cannot open", page);
        }
        if (static_cast<std::size_t>(size) < target.size()) {
            target.resize(static_cast<std::size_t>(size));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

}  // namespace

PagePlace FindPagePlace(const std::string& page) {
    if (page.empty() || page.ends_with('/')) {
        throw FileError::FromErrno("Cannot open", page, EISDIR);
    }
    const bool root = ::geteuid() == 0;
    std::vector<std::string> parts;
    PushParts(page, parts);
    std::string shown = page.starts_with('/') ? "/" : "";
    Descriptor folder = OpenFolder(AT_FDCWD, page.starts_with('/') ? "/" : ".", page);
    int links = 0;
    while (!parts.empty()) {
        const std::string part = std::move(parts.back());
        parts.pop_back();
        const bool last = parts.empty();
        struct stat status {};
        if (::fstatat(folder.get(), part.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (last && errno == ENOENT) {
                return {std::move(folder), part, std::nullopt};
            }
            ThrowErrno("Cannot open", page);
        }
        if (S_ISLNK(status.st_mode)) {
            if (++links > kMostLinks) {
                throw FileError::FromErrno("Cannot open", page, ELOOP);
            }
            if (root) {
                RefuseProtectedLink(folder.get(), status, shown + part, page);
            }
            const std::string target = ReadLinkAt(folder.get(), part, page);
            if (target.starts_with('/')) {
                folder = OpenFolder(AT_FDCWD, "/", page);
                shown.assign(1, '/');
            }
            PushParts(target, parts);
            continue;
        }
        if (last) {
            if (S_ISDIR(status.st_mode)) {
                throw FileError::FromErrno("Cannot open", page, EISDIR);
            }
            return {std::move(folder), part, status};
        }
        folder = OpenFolder(folder.get(), part.c_str(), page);
        shown += part + "/";
    }
    throw FileError::FromErrno("Cannot open", page, EISDIR);
}

void CheckMayWrite(const PagePlace& place, const std::string& page) {
    if (!place.status) {
        return;
    }
    // access() asks with the real user, which honours ACLs; effective ids differ only in a
    // set-id program.
    const int flags = ::getuid() == ::geteuid() && ::getgid() == ::getegid() ? 0 : AT_EACCESS;
    if (::faccessat(place.folder.get(), place.name.c_str(), W_OK, flags) != 0) {
        ThrowErrno("Cannot write", page);
    }
    if (::geteuid() == 0 && (place.status->st_mode & 0222) == 0) {
        throw FileError("Cannot write", page, "It is read-only: no one has write permission");
    }
}

}  // namespace velmora
