#pragma once

// What a save compares to tell whether a file changed since it was read: its identity, size and
// times, and, when only its times moved, a hash of its content. No copy of the content is kept.

#include <sys/stat.h>

#include <cstdint>
#include <string_view>

namespace velmora {

struct FileState {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    static FileState Of(const struct stat& status);
    bool SameFile(const FileState& other) const {
        return device == other.device && inode == other.inode;
    }
    // The same file, untouched since: a write or a change of rights moves one of these.
    bool Unchanged(const FileState& other) const;
};

// A 64-bit hash of bytes handed over in pieces of any size; the same bytes give the same value
// however they are cut.
class ContentHash {
public:
    void Add(std::string_view bytes);
    std::uint64_t Value() const;

private:
    void Mix(std::uint64_t word);

    std::uint64_t state_ = 0x9E3779B97F4A7C15ULL;
    std::uint64_t length_ = 0;
    unsigned char pending_[8]{};
    std::size_t pendingSize_ = 0;
};

// The hash of the content of the open file fd, read from its start; `path` names it in errors.
std::uint64_t HashOfFile(int fd, const std::string& path);

}  // namespace velmora
