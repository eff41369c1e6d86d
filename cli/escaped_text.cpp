#include "cli/escaped_text.h"

#include <cstdio>

#include "cli/utf8_sequence.h"

namespace velmora::cli {
namespace {

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
        const std::size_t length = Utf8SequenceLength(text, i);
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
