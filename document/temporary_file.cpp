#include "document/temporary_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "document/fitted_name.h"

namespace velmora {
namespace {

constexpr std::string_view kMark = ".velmora-save-";
constexpr std::size_t kRandomLetters = 6;
constexpr int kMostTries = 100;

// ".NAME.velmora-save-", NAME cut so that the random letters still fit.
std::string NamePrefix(int folder, std::string_view pageName) {
    const std::size_t limit = NameLimit(folder);
    const std::size_t fixed = 1 + kMark.size() + kRandomLetters;
    std::string prefix = ".";
    prefix += CutToFit(pageName, limit > fixed ? limit - fixed : 0);
    prefix += kMark;
    return prefix;
}

}  // namespace

TemporaryFile::TemporaryFile(int folder, std::string_view pageName) : folder_(folder) {
    const std::string prefix = NamePrefix(folder, pageName);
    for (int tries = 0; tries < kMostTries; ++tries) {
        name_ = prefix + std::string(kRandomLetters, 'X');
        FillRandomName(name_.data() + prefix.size(), kRandomLetters);
        fd_ = Descriptor(::openat(folder, name_.c_str(),
                                  O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (fd_.valid()) {
            exists_ = true;
            // Tells a later save that this file is not a leftover.
            ::flock(fd_.get(), LOCK_EX | LOCK_NB);
            return;
        }
        if (errno != EEXIST) {
            return;
        }
    }
}

void TemporaryFile::Discard() {
    if (exists_) {
        ::unlinkat(folder_, name_.c_str(), 0);
        fd_ = Descriptor();
        exists_ = false;
    }
}

void RemoveStaleTemporaryFiles(int folder, std::string_view pageName) {
    const std::string prefix = NamePrefix(folder, pageName);
    // A folder this user may not list keeps its leftovers; they are private to their owner.
    const int listed = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listed < 0) {
        return;
    }
    DIR* entries = ::fdopendir(listed);
    if (entries == nullptr) {
        ::close(listed);
        return;
    }
    while (const dirent* entry = ::readdir(entries)) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with(prefix) || name.size() != prefix.size() + kRandomLetters) {
            continue;
        }
        const Descriptor file(::openat(folder, entry->d_name,
                                       O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat status {};
        if (!file.valid() || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
            status.st_uid != ::geteuid() || ::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
            continue;
        }
        ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(entries);
}

}  // namespace velmora
