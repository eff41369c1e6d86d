#pragma once

// An open file descriptor that is closed when it goes out of scope, unless it was released to be
// closed on purpose, with the result checked.

#include <unistd.h>

#include <utility>

namespace velmora {

class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(Descriptor&& other) noexcept : fd_(other.release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        Descriptor(std::move(other)).swap(*this);
        return *this;
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() { return std::exchange(fd_, -1); }
    void swap(Descriptor& other) noexcept { std::swap(fd_, other.fd_); }

private:
    int fd_ = -1;
};

}  // namespace velmora
