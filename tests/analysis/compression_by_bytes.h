#pragma once

// The compression scanner written byte by byte, exactly as its rules read, with no shortcut:
// the reference that the fast scanner must agree with on every input.

#include <string>
#include <string_view>

namespace velmora::reference {

inline std::string CompressByteByByte(std::string_view html) {
    bool atLineStart = true;
    bool pendingSpace = false;
    bool inTag = false;
    bool inQuote = false;
    bool inComment = false;
    bool inScript = false;
    bool inPre = false;
    bool inPhp = false;
    char quote = '"';
    std::string tagText;
    std::string out;
    const auto tagStarts = [&](std::string_view prefix) { return tagText.starts_with(prefix); };
    for (const char c : html) {
        const bool isProtected = inScript || inComment || inQuote || inPre || inPhp;
        if ((c == ' ' || c == '\t') && !isProtected) {
            pendingSpace = pendingSpace || !atLineStart;
            continue;
        }
        if (c == '\r') {
            if (atLineStart) {
                continue;
            }
            if (inTag && !inPhp) {
                pendingSpace = true;
                atLineStart = true;
                continue;
            }
            while (!out.empty() && out.back() == ' ') {
                out.pop_back();
            }
            out += "\r\n";
            pendingSpace = false;
            atLineStart = true;
            continue;
        }
        if (c == '\n') {
            continue;
        }
        if (pendingSpace) {
            out += ' ';
            if (inTag) {
                tagText += ' ';
            }
            pendingSpace = false;
        }
        atLineStart = false;
        if (inTag && (c == '"' || c == '\'')) {
            if (inQuote && c == quote) {
                inQuote = false;
            } else if (!inQuote) {
                inQuote = true;
                quote = c;
            }
        }
        out += c;
        const bool wasInTag = inTag;
        if (inTag && c == '>' && !inQuote) {
            inTag = false;
            inPhp = false;
            if (tagStarts("script")) {
                inScript = true;
            } else if (tagStarts("/script")) {
                inScript = false;
            }
            if (!inScript) {
                if (tagStarts("pre")) {
                    inPre = true;
                } else if (tagStarts("/pre")) {
                    inPre = false;
                }
            }
        } else if (inTag) {
            if (!(tagText.empty() && c == ' ')) {
                tagText += c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
            }
            if (tagText == "!--" && !inScript) {
                inTag = false;
                inComment = true;
            } else if (!inPhp && tagText == "?php") {
                inPhp = true;
            } else if (inScript) {
                if (tagText.size() < 7) {
                    inTag = std::string_view("/script").starts_with(tagText);
                } else {
                    inTag = false;
                    inScript = !tagStarts("/script");
                }
            }
        }
        if (!wasInTag) {
            if (c == '>' && inComment) {
                if (out.ends_with("-->") && !inQuote) {
                    inComment = false;
                }
            } else if (c == '<' && !inQuote && !inComment) {
                inTag = true;
                tagText.clear();
                atLineStart = true;
            }
        }
    }
    return out;
}

}  // namespace velmora::reference
