#include "document/file_state.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "document/file_error.h"

namespace velmora {
namespace {

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

constexpr std::uint64_t kMultiplier = 0xBF58476D1CE4E5B9ULL;

}  // namespace

FileState FileState::Of(const struct stat& status) {
    return {status.st_dev, status.st_ino, status.st_size, status.st_mtim, status.st_ctim};
}

bool FileState::Unchanged(const FileState& other) const {
    return SameFile(other) && size == other.size && SameTime(modified, other.modified) &&
           SameTime(changed, other.changed);
}

void ContentHash::Mix(std::uint64_t word) {
    state_ = (state_ ^ word) * kMultiplier;
    state_ ^= state_ >> 31;
}

void ContentHash::Add(std::string_view bytes) {
    length_ += bytes.size();
    while (pendingSize_ != 0 && pendingSize_ < 8 && !bytes.empty()) {
        pending_[pendingSize_++] = static_cast<unsigned char>(bytes.front());
        bytes.remove_prefix(1);
    }
    if (pendingSize_ == 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, pending_, 8);
        Mix(word);
        pendingSize_ = 0;
    }
    while (bytes.size() >= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data(), 8);
        Mix(word);
        bytes.remove_prefix(8);
    }
    std::memcpy(pending_ + pendingSize_, bytes.data(), bytes.size());
    pendingSize_ += bytes.size();
}

std::uint64_t ContentHash::Value() const {
    ContentHash last = *this;
    std::uint64_t word = 0;
    std::memcpy(&word, last.pending_, last.pendingSize_);
    last.Mix(word);
    last.Mix(length_);
    return last.state_;
}

std::uint64_t HashOfFile(int fd, const std::string& path) {
    std::vector<char> buffer(std::size_t{1} << 20);
    ContentHash hash;
    for (off_t at = 0;;) {
        const ssize_t got = ::pread(fd, buffer.data(), buffer.size(), at);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowErrno("Cannot read", path);
        }
        if (got == 0) {
            return hash.Value();
        }
        hash.Add({buffer.data(), static_cast<std::size_t>(got)});
        at += got;
    }
}

}  // namespace velmora
