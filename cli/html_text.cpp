#include "cli/html_text.h"

#include "cli/utf8_sequence.h"

namespace velmora::cli {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// U+2400 + c, the control picture of c (U+2421 for DEL), in UTF-8.
void AppendControlPicture(std::string& out, unsigned char c) {
    const unsigned picture = 0x2400 + (c == 0x7F ? 0x21u : c);
    out += static_cast<char>(0xE0 | (picture >> 12));
    out += static_cast<char>(0x80 | ((picture >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (picture & 0x3F));
}

// Appends the ASCII character c, escaped; false when c is not ASCII.
bool AppendAscii(std::string& out, unsigned char c) {
    switch (c) {
        case '&':
            out += "&amp;";
            return true;
        case '<':
            out += "&lt;";
            return true;
        case '>':
            out += "&gt;";
            return true;
        case '"':
            out += "&quot;";
            return true;
        case '\'':
            out += "&#39;";
            return true;
        case '\t':
        case '\n':
        case '\r':
            out += static_cast<char>(c);
            return true;
        default:
            break;
    }
    if (c < 0x20 || c == 0x7F) {
        AppendControlPicture(out, c);
        return true;
    }
    if (c < 0x80) {
        out += static_cast<char>(c);
        return true;
    }
    return false;
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (AppendAscii(out, c)) {
            ++i;
            continue;
        }
        const std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0) {
            out += kReplacement;
            ++i;
            continue;
        }
        const bool c1Control = c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        out += c1Control ? kReplacement : text.substr(i, length);
        i += length;
    }
    return out;
}

std::string EscapeJsonForScript(std::string_view json) {
    std::string out;
    out.reserve(json.size() + json.size() / 16);
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '<') {
            out += "\\u003c";
        } else if (c == '>') {
            out += "\\u003e";
        } else if (c == '&') {
            out += "\\u0026";
        } else if (c == '\xE2' && json.substr(i + 1, 1) == "\x80" && i + 2 < json.size() &&
                   (json[i + 2] == '\xA8' || json[i + 2] == '\xA9')) {
            out += json[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace velmora::cli
