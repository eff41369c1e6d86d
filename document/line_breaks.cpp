#include "document/line_breaks.h"

#include <cstring>

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

std::string_view BreakBytes(LineBreak kind) {
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

}  // namespace

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

// Hands the bytes a held text is written as to `take`, piece by piece, while it returns true.
template <typename Take>
bool WriteFileBytes(std::string_view text, LineBreakStyle style, Take&& take) {
    if (!style.finalBreak && text.ends_with("\r\n")) {
        text.remove_suffix(2);
    }
    if (style.kind == LineBreak::CrLf) {
        return take(text);
    }
    const std::string_view lineBreak = BreakBytes(style.kind);
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

}  // namespace

std::string FileBytesFromText(std::string_view text, LineBreakStyle style) {
    std::string bytes;
    bytes.reserve(text.size());
    WriteFileBytes(text, style, [&](std::string_view piece) {
        bytes.append(piece);
        return true;
    });
    return bytes;
}

bool FileBytesMatch(std::string_view text, LineBreakStyle style, std::string_view bytes) {
    const bool same = WriteFileBytes(text, style, [&](std::string_view piece) {
        if (!bytes.starts_with(piece)) {
            return false;
        }
        bytes.remove_prefix(piece.size());
        return true;
    });
    return same && bytes.empty();
}

}  // namespace velmora
