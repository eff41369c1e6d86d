#include "document/page_attributes.h"

#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

namespace velmora {
namespace {

constexpr const char* kAccessAcl = "system.posix_acl_access";

// Flags a file keeps through a save. Immutable and append-only pages are never replaced.
constexpr int kKeptFlags = FS_FL_USER_MODIFIABLE & ~(FS_IMMUTABLE_FL | FS_APPEND_FL);

bool InGroup(gid_t group) {
    if (group == ::getegid()) {
        return true;
    }
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(count, 0)));
    const int got = ::getgroups(count, groups.data());
    return std::find(groups.begin(), groups.begin() + std::max(got, 0), group) !=
           groups.begin() + std::max(got, 0);
}

bool HasAttribute(const std::string& names, std::string_view wanted) {
    for (std::size_t at = 0; at < names.size();) {
        const std::string_view name = names.c_str() + at;
        if (name == wanted) {
            return true;
        }
        at += name.size() + 1;
    }
    return false;
}

// Every extended attribute this user can read on from, set on to; false when one failed.
bool CopyExtendedAttributes(int from, int to) {
    std::string names;
    for (;;) {
        const ssize_t size = ::flistxattr(from, nullptr, 0);
        if (size < 0) {
            return errno == ENOTSUP;
        }
        names.resize(static_cast<std::size_t>(size));
        const ssize_t got = ::flistxattr(from, names.data(), names.size());
        if (got >= 0) {
            names.resize(static_cast<std::size_t>(got));
            break;
        }
        if (errno != ERANGE) {
            return false;
        }
    }
    // The folder's default ACL gave the new file an ACL of its own; the page had none.
    if (!HasAttribute(names, kAccessAcl) && ::fremovexattr(to, kAccessAcl) != 0 &&
        errno != ENODATA && errno != ENOTSUP) {
        return false;
    }
    for (std::size_t at = 0; at < names.size();) {
        const char* name = names.c_str() + at;
        at += std::char_traits<char>::length(name) + 1;
        const ssize_t length = ::fgetxattr(from, name, nullptr, 0);
        if (length < 0) {
            return false;
        }
        std::string value(static_cast<std::size_t>(length), '\0');
        const ssize_t got = ::fgetxattr(from, name, value.data(), value.size());
        if (got < 0 || ::fsetxattr(to, name, value.data(), static_cast<std::size_t>(got), 0) != 0) {
            return false;
        }
    }
    return true;
}

bool CopyInodeFlags(int from, int to) {
    int flags = 0;
    if (::ioctl(from, FS_IOC_GETFLAGS, &flags) != 0) {
        // A file system without inode flags has none to keep.
        return errno == ENOTTY || errno == ENOTSUP || errno == EINVAL;
    }
    flags &= kKeptFlags;
    if (flags == 0) {
        return true;
    }
    int current = 0;
    if (::ioctl(to, FS_IOC_GETFLAGS, &current) != 0) {
        return false;
    }
    current |= flags;
    return ::ioctl(to, FS_IOC_SETFLAGS, &current) == 0;
}

}  // namespace

bool CanGiveBackOwner(const struct stat& page) {
    return ::geteuid() == 0 || (page.st_uid == ::geteuid() && InGroup(page.st_gid));
}

bool CopyPageAttributes(int from, const struct stat& page, int to) {
    if ((page.st_uid != ::geteuid() || page.st_gid != ::getegid()) &&
        ::fchown(to, page.st_uid, page.st_gid) != 0) {
        return false;
    }
    // The mode goes last: setting an owner may clear set-id bits.
    return CopyExtendedAttributes(from, to) && CopyInodeFlags(from, to) &&
           ::fchmod(to, page.st_mode & 07777) == 0;
}

}  // namespace velmora
