#include "document/page_lock.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <thread>

#include "document/file_error.h"

namespace velmora {
namespace {

constexpr std::chrono::milliseconds kLockPoll{25};

std::string UserName(uid_t user) {
    passwd entry{};
    passwd* found = nullptr;
    char buffer[1024];
    if (::getpwuid_r(user, &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr) {
        return found->pw_name;
    }
    return std::to_string(user);
}

std::string DescribeProcess(const std::string& pid) {
    std::string name;
    std::getline(std::ifstream("/proc/" + pid + "/comm"), name);
    struct stat owner {};
    std::string text = (name.empty() ? std::string("a program") : name) + " (process " + pid + ")";
    if (::stat(("/proc/" + pid).c_str(), &owner) == 0) {
        text += " of user " + UserName(owner.st_uid);
    }
    return text;
}

}  // namespace

std::string LockHolder(const struct stat& file) {
    // Lines such as "1: FLOCK  ADVISORY  WRITE 1234 08:01:5678 0 EOF"; a waiting lock has "->".
    std::ifstream locks("/proc/locks");
    std::ostringstream want;
    want << std::hex;
    want.width(2);
    want.fill('0');
    want << major(file.st_dev) << ':';
    want.width(2);
    want << minor(file.st_dev) << ':' << std::dec << file.st_ino;
    for (std::string line; std::getline(locks, line);) {
        if (line.find("->") != std::string::npos) {
            continue;
        }
        std::istringstream fields(line);
        std::string number, kind, mode, access, pid, where;
        fields >> number >> kind >> mode >> access >> pid >> where;
        if (where == want.str()) {
            return DescribeProcess(pid);
        }
    }
    return "another program";
}

PageLock::PageLock(const PagePlace& place, const std::string& page, std::chrono::milliseconds wait,
                   const std::function<void()>& whileWaiting)
    // Non-blocking, so that a pipe put in the page's place is refused instead of waited on.
    : fd_(::openat(place.folder.get(), place.name.c_str(),
                   O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC)) {
    if (!fd_.valid()) {
        ThrowErrno(errno == ELOOP ? "Cannot save" : "Cannot open", page);
    }
    if (::fstat(fd_.get(), &status_) != 0) {
        ThrowErrno("Cannot open", page);
    }
    if (!S_ISREG(status_.st_mode)) {
        throw FileError("Cannot save", page, "Not a regular file");
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    bool toldWaiting = false;
    while (::flock(fd_.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) {
            continue;
        }
        if (errno != EWOULDBLOCK) {
            ThrowErrno("Cannot lock", page);
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            const auto seconds = std::chrono::duration<double>(wait).count();
            std::ostringstream reason;
            reason << "It is being saved or locked by " << LockHolder(status_) << "; gave up after "
                   << seconds << " s";
            throw FileError("Cannot save", page, reason.str());
        }
        if (!toldWaiting && whileWaiting) {
            toldWaiting = true;
            whileWaiting();
        }
        std::this_thread::sleep_for(kLockPoll);
    }
}

}  // namespace velmora
