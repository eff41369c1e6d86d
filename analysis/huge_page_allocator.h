#pragma once

// An allocator for tables of hundreds of megabytes that are read at scattered places. With
// small pages nearly every such read also misses the address translation cache, which costs
// about as much again; the kernel is asked to back large blocks with huge pages. It may refuse.

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velmora {

template <class T>
struct HugePageAllocator {
    using value_type = T;

    HugePageAllocator() = default;
    template <class U>
    HugePageAllocator(const HugePageAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        T* data = std::allocator<T>().allocate(n);
        constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
        const auto first = reinterpret_cast<std::uintptr_t>(data);
        const std::uintptr_t start = (first + kHugePage - 1) & ~(kHugePage - 1);
        const std::uintptr_t end = (first + n * sizeof(T)) & ~(kHugePage - 1);
        if (start < end) {
            ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
        }
        return data;
    }
    void deallocate(T* data, std::size_t n) noexcept { std::allocator<T>().deallocate(data, n); }

    template <class U>
    bool operator==(const HugePageAllocator<U>&) const noexcept {
        return true;
    }
};

template <class T>
using HugePageVector = std::vector<T, HugePageAllocator<T>>;
using HugePageString = std::basic_string<char, std::char_traits<char>, HugePageAllocator<char>>;

}  // namespace velmora
