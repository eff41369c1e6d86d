#pragma once

// The moments and system calls that decide a save's safety, which tests replace to make races,
// failures and kills happen exactly there.

#include <unistd.h>

#include <chrono>
#include <functional>

namespace velmora {

enum class SaveStep {
    WaitingForLock,  // another save holds the page; this one waits
    BackupWritten,   // the backup's bytes are written, before it has its name
    BeforeLastLook,  // the new text is on disk; the page is about to be examined again
    Renaming,        // the new file is about to take the page's place
    WritingInPlace,  // the first part of an in-place write is done
};

struct SaveSeams {
    // Flushes the new file's content to the disk before it replaces the page.
    std::function<int(int fd)> syncData = [](int fd) { return ::fdatasync(fd); };
    // Whether a backup may be written as an unnamed file (O_TMPFILE) where the system has them.
    bool unnamedBackups = true;
    // How long a save waits for another save of the same page.
    std::chrono::milliseconds lockWait{5000};
    std::function<void(SaveStep)> reached;

    void Reach(SaveStep step) const {
        if (reached) {
            reached(step);
        }
    }
};

}  // namespace velmora
