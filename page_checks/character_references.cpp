#include "page_checks/character_references.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "page_checks/html_chars.h"

namespace velmora::page_checks {
namespace {

struct NamedReference {
    std::string_view name;
    std::string_view utf8;
};

constexpr NamedReference kNamedReferences[] = {
#include "page_checks/named_character_references.inc"
};

// Numeric references to 0x80-0x9F mean the Windows-1252 characters; 0 means none.
constexpr std::array<char32_t, 32> kC1Replacements = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr std::size_t kLongestLegacyName = 6;
constexpr std::size_t kLongestName = 32;

bool IsAsciiAlphanumeric(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// For each first letter, where its names stand in the table: the search looks at few names.
constexpr std::array<Span, 128> kByFirstLetter = [] {
    std::array<Span, 128> spans{};
    const std::size_t count = std::size(kNamedReferences);
    for (std::size_t i = 0; i < count; ++i) {
        const auto letter = static_cast<unsigned char>(kNamedReferences[i].name[0]);
        if (spans[letter].end == 0) {
            spans[letter].begin = i;
        }
        spans[letter].end = i + 1;
    }
    return spans;
}();

const NamedReference* FindNamed(std::string_view name) {
    const auto letter = static_cast<unsigned char>(name[0]);
    if (letter >= kByFirstLetter.size()) {
        return nullptr;
    }
    const Span span = kByFirstLetter[letter];
    const auto* begin = std::begin(kNamedReferences) + span.begin;
    const auto* end = std::begin(kNamedReferences) + span.end;
    const auto* found = std::lower_bound(
        begin, end, name,
        [](const NamedReference& entry, std::string_view key) { return entry.name < key; });
    return found != end && found->name == name ? found : nullptr;
}

// Decodes the reference at raw[at] == '&'. Returns the bytes consumed, 0 when it is none.
std::size_t DecodeReference(std::string& out, std::string_view raw, std::size_t at,
                            ReferencePlace place) {
    std::size_t next = at + 1;
    if (next < raw.size() && raw[next] == '#') {
        ++next;
        const bool hex = next < raw.size() && (raw[next] == 'x' || raw[next] == 'X');
        if (hex) {
            ++next;
        }
        const std::size_t digitsStart = next;
        char32_t value = 0;
        while (next < raw.size()) {
            const int digit = hex ? HexDigitValue(raw[next])
                                  : (raw[next] >= '0' && raw[next] <= '9' ? raw[next] - '0' : -1);
            if (digit < 0) {
                break;
            }
            // Past U+10FFFF the value only has to stay too large.
            value = std::min<char32_t>(value * (hex ? 16 : 10) + static_cast<char32_t>(digit),
                                       0x110000);
            ++next;
        }
        if (next == digitsStart) {
            return 0;
        }
        if (next < raw.size() && raw[next] == ';') {
            ++next;
        }
        if (value >= 0x80 && value <= 0x9F && kC1Replacements[value - 0x80] != 0) {
            value = kC1Replacements[value - 0x80];
        }
        AppendCodePoint(out, value == 0 ? U'\uFFFD' : value);
        return next - at;
    }
    std::size_t run = next;
    while (run < raw.size() && run - next < kLongestName && IsAsciiAlphanumeric(raw[run])) {
        ++run;
    }
    if (run == next) {
        return 0;
    }
    if (run < raw.size() && raw[run] == ';') {
        const std::string_view name = raw.substr(next, run + 1 - next);
        if (const NamedReference* found = FindNamed(name)) {
            out.append(found->utf8);
            return run + 1 - at;
        }
    }
    // The legacy names, which need no ";": the longest one that the text starts with.
    for (std::size_t length = std::min(run - next, kLongestLegacyName); length >= 2; --length) {
        const NamedReference* found = FindNamed(raw.substr(next, length));
        if (found == nullptr) {
            continue;
        }
        const std::size_t after = next + length;
        if (place == ReferencePlace::Attribute && after < raw.size() &&
            (IsAsciiAlphanumeric(raw[after]) || raw[after] == '=')) {
            return 0;
        }
        out.append(found->utf8);
        return after - at;
    }
    return 0;
}

}  // namespace

void AppendCodePoint(std::string& out, char32_t c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        c = 0xFFFD;
    }
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

void AppendDecoded(std::string& out, std::string_view raw, ReferencePlace place) {
    std::size_t at = 0;
    while (at < raw.size()) {
        const void* found = std::memchr(raw.data() + at, '&', raw.size() - at);
        if (found == nullptr) {
            out.append(raw.substr(at));
            return;
        }
        const auto ampersand =
            static_cast<std::size_t>(static_cast<const char*>(found) - raw.data());
        out.append(raw.substr(at, ampersand - at));
        const std::size_t used = DecodeReference(out, raw, ampersand, place);
        if (used == 0) {
            out.push_back('&');
            at = ampersand + 1;
        } else {
            at = ampersand + used;
        }
    }
}

}  // namespace velmora::page_checks
