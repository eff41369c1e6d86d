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

// The start tags the HTML5 tree builder keeps in the head; any other ends it.
constexpr bool BelongsInHead(std::uint64_t tag) {
    switch (tag) {
        case PackTagName("html"):
        case PackTagName("head"):
        case PackTagName("base"):
        case PackTagName("basefont"):
        case PackTagName("bgsound"):
        case PackTagName("link"):
        case PackTagName("meta"):
        case PackTagName("title"):
        case PackTagName("noscript"):
        case PackTagName("noframes"):
        case PackTagName("style"):
        case PackTagName("script"):
        case PackTagName("template"):
            return true;
        default:
            return false;
    }
}

}  // namespace velmora::page_checks
