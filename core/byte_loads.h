#pragma once

// Numbers read from and written to text at any byte address, for the loops that hash, compare
// or test several bytes of a text at once.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace velmora {

// The sizeof(T) bytes at `bytes` as a T, in the machine's byte order.
template <class T>
T LoadBytes(const char* bytes) {
    static_assert(std::is_trivially_copyable_v<T>);
    T value{};
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

template <class T>
void StoreBytes(char* bytes, T value) {
    static_assert(std::is_trivially_copyable_v<T>);
    std::memcpy(bytes, &value, sizeof value);
}

// Eight bytes of a text from `from` on, big-endian and zero-padded: comparing two such numbers
// orders like comparing the bytes they hold.
inline std::uint64_t BigEndianBytes(std::string_view text, std::size_t from) {
    if (from + 8 <= text.size()) {
        const auto loaded = LoadBytes<std::uint64_t>(text.data() + from);
        if constexpr (std::endian::native == std::endian::little) {
            return __builtin_bswap64(loaded);
        }
        return loaded;
    }
    std::uint64_t bytes = 0;
    for (std::size_t i = from; i < from + 8; ++i) {
        bytes = (bytes << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    }
    return bytes;
}

}  // namespace velmora
