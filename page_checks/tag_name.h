#pragma once

// Tag names of up to eight bytes packed into one number, so the tokenizer and the page reader
// tell tags apart with integer compares: switch (PackTagName(name)) { case PackTagName("a"): … }

#include <cstdint>
#include <string_view>

namespace velmora::page_checks {

// 0 for names longer than eight bytes, which none of the names looked for is.
constexpr std::uint64_t PackTagName(std::string_view name) {
    if (name.size() > 8) {
        return 0;
    }
    std::uint64_t packed = 0;
    for (const char c : name) {
        packed = (packed << 8) | static_cast<unsigned char>(c);
    }
    return packed;
}

}  // namespace velmora::page_checks
