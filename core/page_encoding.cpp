#include "core/page_encoding.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace velmora {
namespace {

// Windows-1252 bytes 0x80 to 0x9F. The five unassigned bytes keep their C1 code points, as the
// system converters do, so a round trip never loses them.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t Windows1252ToCodePoint(unsigned char b) {
    return (b >= 0x80 && b <= 0x9F) ? kHighControls[b - 0x80] : static_cast<char32_t>(b);
}

// -1 when Windows-1252 cannot hold the code point.
int CodePointToWindows1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<int>(c);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

void AppendUtf8(std::string& out, char32_t c) {
    uint8_t buffer[U8_MAX_LENGTH];
    int32_t n = 0;
    UBool error = false;
    U8_APPEND(buffer, n, U8_MAX_LENGTH, static_cast<UChar32>(c), error);
    if (error) {
        out.append("\xEF\xBF\xBD");
    } else {
        out.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(n));
    }
}

// Calls f for each code point of UTF-8 text; an invalid sequence gives U+FFFD.
template <typename F>
void ForEachCodePoint(std::string_view utf8, F f) {
    const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = static_cast<int64_t>(utf8.size());
    int64_t i = 0;
    while (i < length) {
        if (s[i] < 0x80) {
            f(static_cast<char32_t>(s[i++]));
            continue;
        }
        // Decode at most one sequence from a small window so huge texts stay within int32_t.
        const int32_t window = static_cast<int32_t>(std::min<int64_t>(length - i, 4));
        int32_t k = 0;
        UChar32 c = 0;
        U8_NEXT(s + i, k, window, c);
        i += k;
        f(c < 0 ? U'\uFFFD' : static_cast<char32_t>(c));
    }
}

}  // namespace

std::string PageBytesToUtf8(std::string_view bytes, Encoding encoding) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    if (encoding == Encoding::Utf8) {
        ForEachCodePoint(bytes, [&](char32_t c) { AppendUtf8(out, c); });
        return out;
    }
    for (char b : bytes) {
        AppendUtf8(out, Windows1252ToCodePoint(static_cast<unsigned char>(b)));
    }
    return out;
}

std::string TypedTextToPageBytes(std::string_view utf8, std::string_view page) {
    const Encoding encoding = DetectEncoding(page);
    const bool asciiOnly = encoding == Encoding::Windows1252 && IsAscii(page);
    std::string out;
    out.reserve(utf8.size());
    ForEachCodePoint(utf8, [&](char32_t c) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            return;
        }
        if (encoding == Encoding::Utf8) {
            AppendUtf8(out, c);
            return;
        }
        const int b = asciiOnly ? -1 : CodePointToWindows1252(c);
        if (b >= 0) {
            out.push_back(static_cast<char>(b));
        } else {
            out.append("&#").append(std::to_string(static_cast<uint32_t>(c))).push_back(';');
        }
    });
    return out;
}

}  // namespace velmora
