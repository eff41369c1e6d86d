#include "core/text_rules.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace velmora {
namespace {

constexpr std::array<unsigned char, 256> MakeWindows1252Lower() {
    std::array<unsigned char, 256> table{};
    for (int i = 0; i < 256; ++i) {
        table[i] = static_cast<unsigned char>(i);
    }
    for (int i = 'A'; i <= 'Z'; ++i) {
        table[i] = static_cast<unsigned char>(i + 0x20);
    }
    for (int i = 0xC0; i <= 0xDE; ++i) {
        if (i != 0xD7) {
            table[i] = static_cast<unsigned char>(i + 0x20);
        }
    }
    table[0x8A] = 0x9A;
    table[0x8C] = 0x9C;
    table[0x8E] = 0x9E;
    table[0x9F] = 0xFF;
    return table;
}

constexpr std::array<unsigned char, 256> kWindows1252Lower = MakeWindows1252Lower();

std::string_view WithoutByteOrderMark(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    return bytes;
}

bool IsValidUtf8(std::string_view bytes) {
    const auto* s = reinterpret_cast<const uint8_t*>(bytes.data());
    const auto length = static_cast<int32_t>(bytes.size());
    int32_t i = 0;
    while (i < length) {
        if (s[i] < 0x80) {
            ++i;
            continue;
        }
        UChar32 c = 0;
        U8_NEXT(s, i, length, c);
        if (c < 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool IsAscii(std::string_view bytes) {
    // Eight bytes at a time: pages are asked this whole, several times each.
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    std::size_t at = 0;
    for (; at + sizeof(std::uint64_t) <= bytes.size(); at += sizeof(std::uint64_t)) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + at, sizeof word);
        if ((word & kHighBits) != 0) {
            return false;
        }
    }
    return std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

Encoding DetectEncoding(std::string_view bytes) {
    if (bytes.size() >= 0x80000000u) {
        // Larger than ICU's index type; such a page is read byte by byte.
        return Encoding::Windows1252;
    }
    const std::string_view body = WithoutByteOrderMark(bytes);
    if (body.size() != bytes.size()) {
        return IsValidUtf8(body) ? Encoding::Utf8 : Encoding::Windows1252;
    }
    if (IsAscii(bytes)) {
        return Encoding::Windows1252;
    }
    return IsValidUtf8(bytes) ? Encoding::Utf8 : Encoding::Windows1252;
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = AsciiLowerByte(c);
    }
    return out;
}

void TextRules::AppendLocaleLower(std::string& out, std::string_view text) const {
    if (encoding_ == Encoding::Windows1252) {
        const std::size_t start = out.size();
        out.append(text);
        // Through a pointer and a fixed end: stores to the string's bytes could otherwise change
        // its size, as far as the compiler knows, so it would read the size again for every byte.
        char* const lowered = out.data() + start;
        for (std::size_t i = 0; i < text.size(); ++i) {
            lowered[i] =
                static_cast<char>(kWindows1252Lower[static_cast<unsigned char>(lowered[i])]);
        }
        return;
    }
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(std::min<std::size_t>(text.size(), INT32_MAX));
    int32_t i = 0;
    while (i < length) {
        if (s[i] < 0x80) {
            // A run of ASCII is appended at once and lowered in place.
            int32_t end = i + 1;
            while (end < length && s[end] < 0x80) {
                ++end;
            }
            const std::size_t at = out.size();
            out.append(text.substr(i, end - i));
            char* const lowered = out.data() + at;
            for (int32_t k = 0; k < end - i; ++k) {
                lowered[k] = AsciiLowerByte(lowered[k]);
            }
            i = end;
            continue;
        }
        const int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(s, i, length, c);
        if (c < 0) {
            out.append(text.substr(start, i - start));
            continue;
        }
        const UChar32 lower = u_tolower(c);
        uint8_t buffer[U8_MAX_LENGTH];
        int32_t n = 0;
        UBool error = false;
        U8_APPEND(buffer, n, U8_MAX_LENGTH, lower, error);
        if (error) {
            out.append(text.substr(start, i - start));
        } else {
            out.append(reinterpret_cast<const char*>(buffer), n);
        }
    }
}

std::string TextRules::LocaleLower(std::string_view text) const {
    std::string out;
    out.reserve(text.size());
    AppendLocaleLower(out, text);
    return out;
}

bool TextRules::EqualIgnoringCase(std::string_view a, std::string_view b) const {
    if (encoding_ == Encoding::Windows1252) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return kWindows1252Lower[static_cast<unsigned char>(x)] ==
                          kWindows1252Lower[static_cast<unsigned char>(y)];
               });
    }
    if (IsAscii(a) && IsAscii(b)) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(),
                          [](char x, char y) { return AsciiLowerByte(x) == AsciiLowerByte(y); });
    }
    return LocaleLower(a) == LocaleLower(b);
}

namespace {
int CompareBytes(std::string_view a, std::string_view b) {
    // std::string_view compares through char_traits<char>, which compares as unsigned char.
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}
}  // namespace

int TextRules::Compare(std::string_view a, std::string_view b) const {
    int lowered = 0;
    if (encoding_ == Encoding::Windows1252) {
        const std::size_t n = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < n && lowered == 0; ++i) {
            const int x = kWindows1252Lower[static_cast<unsigned char>(a[i])];
            const int y = kWindows1252Lower[static_cast<unsigned char>(b[i])];
            lowered = x < y ? -1 : (x > y ? 1 : 0);
        }
        if (lowered == 0 && a.size() != b.size()) {
            lowered = a.size() < b.size() ? -1 : 1;
        }
    } else {
        lowered = CompareBytes(LocaleLower(a), LocaleLower(b));
    }
    return lowered != 0 ? lowered : CompareBytes(a, b);
}

std::size_t TextRules::CharacterCount(std::string_view text) const {
    if (encoding_ == Encoding::Windows1252) {
        return text.size();
    }
    // Every byte that does not continue a sequence starts a character.
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

}  // namespace velmora
