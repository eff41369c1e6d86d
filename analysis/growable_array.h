#pragma once

// An array of plain values in one block from malloc, for the tables of hundreds of megabytes
// that a large page's word list needs.
//
// - Growth goes through realloc, which moves a large block by remapping its pages rather than
//   copying them, so a table never exists twice while it grows.
// - Such tables are read at scattered places; with small pages nearly every read also misses
//   the address translation cache, so the kernel is asked to back large blocks with huge pages.
//   It may refuse.

#include <sys/mman.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace velmora {

template <class T>
class GrowableArray {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

public:
    GrowableArray() = default;
    GrowableArray(GrowableArray&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)),
          size_(std::exchange(other.size_, 0)),
          capacity_(std::exchange(other.capacity_, 0)) {}
    GrowableArray& operator=(GrowableArray&& other) noexcept {
        GrowableArray(std::move(other)).Swap(*this);
        return *this;
    }
    GrowableArray(const GrowableArray& other) { Append(other.data_, other.size_); }
    GrowableArray& operator=(const GrowableArray& other) {
        if (this != &other) {
            GrowableArray(other).Swap(*this);
        }
        return *this;
    }
    ~GrowableArray() { std::free(data_); }

    // n zero values, from memory the system hands out cleared: pages nobody writes stay untouched.
    static GrowableArray Zeroed(std::size_t n) {
        GrowableArray array;
        if (n > 0) {
            array.data_ = static_cast<T*>(std::calloc(n, sizeof(T)));
            if (array.data_ == nullptr) {
                throw std::bad_alloc();
            }
            array.size_ = array.capacity_ = n;
            array.AdviseHugePages();
        }
        return array;
    }

    T* data() { return data_; }
    const T* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }
    T* begin() { return data_; }
    T* end() { return data_ + size_; }
    const T* begin() const { return data_; }
    const T* end() const { return data_ + size_; }

    void Reserve(std::size_t n) {
        if (n > capacity_) {
            Reallocate(n);
        }
    }

    // Makes room for n more values and returns where they go; the caller writes all of them.
    T* Extend(std::size_t n) {
        if (capacity_ - size_ < n) {
            Reallocate(std::max(size_ + n, capacity_ * 2));
        }
        T* added = data_ + size_;
        size_ += n;
        return added;
    }

    void Append(const T* values, std::size_t n) {
        if (n > 0) {
            std::memcpy(Extend(n), values, n * sizeof(T));
        }
    }

    // Hands the block over as `count` values of U, which the caller has written over its first
    // bytes; the rest of the block goes back to the system.
    template <class U>
    GrowableArray<U> Recast(std::size_t count) && {
        static_assert(alignof(U) <= alignof(T));
        GrowableArray<U> recast;
        recast.data_ = reinterpret_cast<U*>(std::exchange(data_, nullptr));
        recast.capacity_ = std::exchange(capacity_, 0) * sizeof(T) / sizeof(U);
        size_ = 0;
        recast.size_ = count;
        if (count < recast.capacity_) {
            recast.Reallocate(std::max<std::size_t>(count, 1));
        }
        return recast;
    }

    void Swap(GrowableArray& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
    }

private:
    template <class>
    friend class GrowableArray;

    void Reallocate(std::size_t capacity) {
        if (capacity > SIZE_MAX / sizeof(T)) {
            throw std::bad_alloc();
        }
        void* moved = std::realloc(data_, capacity * sizeof(T));
        if (moved == nullptr) {
            throw std::bad_alloc();
        }
        data_ = static_cast<T*>(moved);
        capacity_ = capacity;
        AdviseHugePages();
    }

    void AdviseHugePages() {
        constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
        const auto first = reinterpret_cast<std::uintptr_t>(data_);
        const std::uintptr_t start = (first + kHugePage - 1) & ~(kHugePage - 1);
        const std::uintptr_t end = (first + capacity_ * sizeof(T)) & ~(kHugePage - 1);
        if (start < end) {
            ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
        }
    }

    T* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace velmora
