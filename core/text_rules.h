#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// How a page's bytes are read. The bytes decide, never a declared charset.
enum class Encoding { Utf8, Windows1252 };

// UTF-8 when the bytes are valid UTF-8 (a leading byte-order mark allowed) and hold at least one
// byte of 128 or more; Windows-1252 otherwise.
Encoding DetectEncoding(std::string_view bytes);

// True when every byte is below 128.
bool IsAscii(std::string_view bytes);

// Lowers A to Z only; every byte keeps its position. Inline: the scans call it for every byte.
constexpr char AsciiLowerByte(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}
std::string AsciiLower(std::string_view text);

// The lower-casing and ordering of one page. Every comparison "ignoring letter case" in the
// program goes through this class, so the analysis, the window and the command-line tool agree.
class TextRules {
public:
    explicit TextRules(Encoding encoding = Encoding::Windows1252) : encoding_(encoding) {}
    static TextRules ForPage(std::string_view page) { return TextRules(DetectEncoding(page)); }

    Encoding encoding() const { return encoding_; }

    // Every letter of the page's character set lowered. On UTF-8 pages the length may change;
    // a byte that is not part of a valid sequence is copied unchanged.
    std::string LocaleLower(std::string_view text) const;
    void AppendLocaleLower(std::string& out, std::string_view text) const;

    bool EqualIgnoringCase(std::string_view a, std::string_view b) const;

    // Orders by the locale-lower-cased bytes (unsigned), then by the bytes themselves, so that
    // entries equal but for letter case stand together, upper case first. Returns <0, 0 or >0.
    int Compare(std::string_view a, std::string_view b) const;

    // Length in characters: code points on UTF-8 pages, bytes otherwise.
    std::size_t CharacterCount(std::string_view text) const;

private:
    Encoding encoding_;
};

}  // namespace velmora
