#pragma once

// One save of a page at a time, whoever saves it: a lock on the page file itself, which every
// user and every temporary folder share. A save that cannot have it within a few seconds gives up
// and says what holds it, never hanging.

#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <string>

#include "document/descriptor.h"
#include "document/page_place.h"

namespace velmora {

class PageLock {
public:
    // Opens the file at place for reading (refusing anything but a regular file, without ever
    // blocking) and locks it, waiting at most `wait`; whileWaiting runs once when the lock is
    // held by another. Throws FileError naming the page and what holds the lock.
    PageLock(const PagePlace& place, const std::string& page, std::chrono::milliseconds wait,
             const std::function<void()>& whileWaiting);

    int fd() const { return fd_.get(); }
    // The file as it was when the lock was had.
    const struct stat& status() const { return status_; }

private:
    Descriptor fd_;
    struct stat status_ {};
};

// Who holds a lock on the file: "velmora-cli (process 1234) of user bob", or a plain "another
// program" when the system does not tell.
std::string LockHolder(const struct stat& file);

}  // namespace velmora
