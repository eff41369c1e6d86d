#include "cli/escaped_text.h"

#include <cstdio>

namespace velmora::cli {
namespace {

// Length of the valid UTF-8 sequence at text[i], or 0 when text[i] does not start one.
std::size_t SequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > text.size() || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(k) < 0x80 || byte(k) > 0xBF) {
            return 0;
        }
    }
    return length;
}

void AppendHex(std::string& out, const char* format, unsigned value) {
    char escape[8];
    std::snprintf(escape, sizeof escape, format, value);
    out += escape;
}

}  // namespace

std::string EscapeControls(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F) {
            shown += static_cast<char>(c);
            ++i;
            continue;
        }
        if (c < 0x80) {
            switch (c) {
                case '\r':
                    shown += "\\r";
                    break;
                case '\n':
                    shown += "\\n";
                    break;
                case '\t':
                    shown += "\\t";
                    break;
                default:
                    AppendHex(shown, "\\x%02x", c);
            }
            ++i;
            continue;
        }
        const std::size_t length = SequenceLength(text, i);
        if (length == 0) {
            AppendHex(shown, "\\x%02x", c);
            ++i;
        } else if (c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            AppendHex(shown, "\\u%04x", static_cast<unsigned char>(text[i + 1]));
            i += length;
        } else {
            shown.append(text.substr(i, length));
            i += length;
        }
    }
    return shown;
}

}  // namespace velmora::cli
