#include "document/line_breaks.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmora {
namespace {

constexpr char kCtrlZ = 26;

// The bytes that hold lines: a Ctrl-Z that is the file's last byte at the start of a line is
// an end-of-file mark, not part of the page.
std::string_view WithoutEndOfFileMark(std::string_view bytes) {
    if (bytes.ends_with(kCtrlZ)) {
        const std::string_view rest = bytes.substr(0, bytes.size() - 1);
        if (rest.empty() || rest.ends_with('\n') || rest.ends_with('\r')) {
            return rest;
        }
    }
    return bytes;
}

// Appends a line that holds no LF; each CR in it ends a line of its own.
void AppendLines(std::string& text, std::string_view bytes) {
    std::size_t start = 0;
    while (const void* found = std::memchr(bytes.data() + start, '\r', bytes.size() - start)) {
        const auto cr = static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data());
        text.append(bytes, start, cr - start);
        text += "\r\n";
        start = cr + 1;
    }
    text.append(bytes, start);
}

}  // namespace

std::string_view LineBreakBytes(LineBreak kind) {
    switch (kind) {
        case LineBreak::Lf:
            return "\n";
        case LineBreak::Cr:
            return "\r";
        case LineBreak::CrLf:
            break;
    }
    return "\r\n";
}

std::string TextFromFileBytes(std::string_view bytes) {
    bytes = WithoutEndOfFileMark(bytes);
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16 + 2);
    std::size_t start = 0;
    while (start < bytes.size()) {
        const void* found = std::memchr(bytes.data() + start, '\n', bytes.size() - start);
        if (found == nullptr) {
            // The last line has no line feed; it may still end in a lone CR.
            const std::string_view line = bytes.substr(start);
            AppendLines(text, line);
            if (!line.ends_with('\r')) {
                text += "\r\n";
            }
            break;
        }
        const auto lf = static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data());
        std::string_view line = bytes.substr(start, lf - start);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        AppendLines(text, line);
        text += "\r\n";
        start = lf + 1;
    }
    return text;
}

#if defined(__SSE2__)
namespace {

// One bit per byte of the 64 at p: set where the byte is c.
std::uint64_t BitsOf(const char* p, char c) {
    const __m128i wanted = _mm_set1_epi8(c);
    std::uint64_t bits = 0;
    for (int offset = 0; offset < 64; offset += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + offset));
        const auto found =
            static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, wanted)));
        bits |= std::uint64_t{found} << offset;
    }
    return bits;
}

}  // namespace
#endif

bool IsHeldText(std::string_view bytes) {
    if (bytes.empty()) {
        return true;
    }
    if (!bytes.ends_with("\r\n")) {
        return false;
    }
    // Every LF must follow a CR and every CR come before an LF: the CRs, moved on by one byte,
    // are the LFs.
    const std::size_t n = bytes.size();
    std::size_t i = 0;
#if defined(__SSE2__)
    std::uint64_t crBefore = 0;
    for (; i + 64 <= n; i += 64) {
        const std::uint64_t crs = BitsOf(bytes.data() + i, '\r');
        if (((crs << 1) | crBefore) != BitsOf(bytes.data() + i, '\n')) {
            return false;
        }
        crBefore = crs >> 63;
    }
#endif
    for (; i < n; ++i) {
        if ((bytes[i] == '\n') != (i > 0 && bytes[i - 1] == '\r')) {
            return false;
        }
    }
    return true;
}

LineBreakStyle DetectLineBreaks(std::string_view bytes) {
    bytes = WithoutEndOfFileMark(bytes);
    LineBreakStyle style;
    const std::size_t end = bytes.find_first_of("\r\n");
    if (end != std::string_view::npos) {
        if (bytes[end] == '\n') {
            style.kind = LineBreak::Lf;
        } else if (end + 1 == bytes.size() || bytes[end + 1] != '\n') {
            style.kind = LineBreak::Cr;
        }
    }
    style.finalBreak = bytes.empty() || bytes.ends_with('\n') || bytes.ends_with('\r');
    return style;
}

namespace {

// Hands the bytes a piece of held text is written as to `take`, piece by piece, while it returns
// true.
template <typename Take>
bool WriteLines(std::string_view text, LineBreakStyle style, Take& take) {
    if (style.kind == LineBreak::CrLf) {
        return take(text);
    }
    const std::string_view lineBreak = LineBreakBytes(style.kind);
    std::size_t start = 0;
    while (const void* found = std::memchr(text.data() + start, '\r', text.size() - start)) {
        const auto cr = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
        if (cr + 1 < text.size() && text[cr + 1] == '\n') {
            if (!take(text.substr(start, cr - start)) || !take(lineBreak)) {
                return false;
            }
            start = cr + 2;
        } else {
            if (!take(text.substr(start, cr + 1 - start))) {
                return false;
            }
            start = cr + 1;
        }
    }
    return take(text.substr(start));
}

// The same for a text given as pieces; the last piece that holds anything ends the text, and
// its final line break is dropped when the file's last line had none.
template <typename Take>
bool WritePieces(std::span<const std::string_view> pieces, LineBreakStyle style, Take&& take) {
    std::size_t last = pieces.size();
    while (last > 0 && pieces[last - 1].empty()) {
        --last;
    }
    for (std::size_t k = 0; k < last; ++k) {
        std::string_view piece = pieces[k];
        if (k + 1 == last && !style.finalBreak && piece.ends_with("\r\n")) {
            piece.remove_suffix(2);
        }
        if (!WriteLines(piece, style, take)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string FileBytesFromText(std::string_view text, LineBreakStyle style) {
    std::string bytes;
    bytes.reserve(text.size());
    WritePieces({&text, 1}, style, [&](std::string_view piece) {
        bytes.append(piece);
        return true;
    });
    return bytes;
}

bool WriteFileBytes(std::span<const std::string_view> pieces, LineBreakStyle style,
                    const TakeBytes& take) {
    return WritePieces(pieces, style, take);
}

bool FileBytesMatch(std::string_view text, LineBreakStyle style, std::string_view bytes) {
    const bool same = WritePieces({&text, 1}, style, [&](std::string_view piece) {
        if (!bytes.starts_with(piece)) {
            return false;
        }
        bytes.remove_prefix(piece.size());
        return true;
    });
    return same && bytes.empty();
}

}  // namespace velmora
