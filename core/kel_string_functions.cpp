#include "core/kel_string_functions.h"

#include <algorithm>
#include <cstring>

#include "core/text_rules.h"

namespace velmora {

std::string Substring(std::string_view text, std::int64_t start, std::int64_t count) {
    if (start < 1) {
        start = 1;
    }
    if (count <= 0 || text.empty() || static_cast<std::uint64_t>(start) > text.size()) {
        return {};
    }
    return std::string(
        text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count)));
}

std::size_t Position(std::string_view find, std::string_view text) {
    if (find.empty()) {
        return 0;
    }
    const std::size_t at = text.find(find);
    return at == std::string_view::npos ? 0 : at + 1;
}

std::size_t PositionIgnoringAsciiCase(std::string_view find, std::string_view text) {
    if (find.empty() || find.size() > text.size()) {
        return 0;
    }
    const std::string pattern = AsciiLower(find);
    const auto matchesAt = [&](std::size_t i) {
        std::size_t k = 1;
        while (k < pattern.size() && AsciiLowerByte(text[i + k]) == pattern[k]) {
            ++k;
        }
        return k == pattern.size();
    };
    const char first = pattern.front();
    const std::size_t last = text.size() - pattern.size();
    if (!IsLetter(first)) {
        // Tag patterns start with "<": jump between those bytes instead of testing each one.
        const char* const begin = text.data();
        for (std::size_t i = 0; i <= last;) {
            const void* hit = std::memchr(begin + i, first, last - i + 1);
            if (hit == nullptr) {
                return 0;
            }
            i = static_cast<std::size_t>(static_cast<const char*>(hit) - begin);
            if (matchesAt(i)) {
                return i + 1;
            }
            ++i;
        }
        return 0;
    }
    const char firstUpper = static_cast<char>(first - ('a' - 'A'));
    for (std::size_t i = 0; i <= last; ++i) {
        if ((text[i] == first || text[i] == firstUpper) && matchesAt(i)) {
            return i + 1;
        }
    }
    return 0;
}

bool IsWhiteSpace(char c) {
    return c == '\r' || c == '\n' || c == ' ' || c == '\t';
}

std::string PluralSuffix(std::int64_t count, std::string_view suffix) {
    return count == 1 ? std::string() : std::string(suffix);
}

std::string AppendWithSeparator(std::string_view text, std::string_view separator,
                                std::string_view addition) {
    if (text.empty()) {
        return std::string(addition);
    }
    if (addition.empty()) {
        return std::string(text);
    }
    std::string out(text);
    if (!text.ends_with(separator)) {
        out.append(separator);
    }
    out.append(addition);
    return out;
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string RestOf(std::string_view text, std::int64_t position) {
    return Substring(text, position, static_cast<std::int64_t>(text.size()) - position + 1);
}

std::string LeftOf(std::string_view text, std::int64_t count) {
    const auto length = static_cast<std::int64_t>(text.size());
    if (count >= 0) {
        return std::string(text.substr(0, static_cast<std::size_t>(std::min(count, length))));
    }
    if (-count >= length) {
        return {};
    }
    return std::string(text.substr(0, static_cast<std::size_t>(length + count)));
}

std::string RightOf(std::string_view text, std::int64_t count) {
    const auto length = static_cast<std::int64_t>(text.size());
    if (count <= 0) {
        return {};
    }
    return Substring(text, length - count + 1, count);
}

std::string TextAfter(std::string_view text, std::string_view separator) {
    const std::size_t p = Position(separator, text);
    return p == 0 ? std::string() : std::string(text.substr(p - 1 + separator.size()));
}

std::string TextBefore(std::string_view text, std::string_view separator) {
    const std::size_t p = Position(separator, text);
    return p == 0 ? std::string(text) : std::string(text.substr(0, p - 1));
}

std::string ZeroPad(std::uint16_t value, std::uint16_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    return digits;
}

std::string TakeFirstWord(std::string& text) {
    std::size_t begin = 0;
    while (begin < text.size() && IsWhiteSpace(text[begin])) {
        ++begin;
    }
    std::size_t end = begin;
    while (end < text.size() && !IsWhiteSpace(text[end])) {
        ++end;
    }
    std::string word = text.substr(begin, end - begin);
    std::size_t next = end;
    while (next < text.size() && IsWhiteSpace(text[next])) {
        ++next;
    }
    text.erase(0, next);
    return word;
}

std::size_t WordIndex(std::string_view word, std::string_view wordList) {
    std::string rest(wordList);
    std::size_t counter = 0;
    while (!rest.empty()) {
        ++counter;
        if (TakeFirstWord(rest) == word) {
            return counter;
        }
    }
    return 0;
}

bool StartsWith(std::string_view text, std::string_view prefix, bool ignoreCase) {
    if (prefix.size() > text.size()) {
        return false;
    }
    if (!ignoreCase) {
        return text.starts_with(prefix);
    }
    return std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return AsciiLowerByte(a) == AsciiLowerByte(b); });
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
    if (find.empty()) {
        return std::string(text);
    }
    if (Position(find, replacement) != 0) {
        // Single pass: inserted text is never searched again, so the call always ends.
        std::string out;
        out.reserve(text.size());
        std::size_t from = 0;
        for (std::size_t at = text.find(find); at != std::string_view::npos;
             at = text.find(find, from)) {
            out.append(text.substr(from, at - from));
            out.append(replacement);
            from = at + find.size();
        }
        out.append(text.substr(from));
        return out;
    }
    // Rescanning: an occurrence formed by a replacement with the bytes around it is replaced too.
    // Occurrences of one length are found leftmost-first exactly when they are found by their
    // last byte, so the result is built like a stack: push each byte, and whenever the result
    // ends with Find, pop it and push the replacement's bytes the same way. Linear for the
    // short patterns the program uses, instead of rescanning from the start.
    std::string out;
    out.reserve(text.size());
    std::string pending;
    const auto push = [&](char c) {
        out.push_back(c);
        if (out.size() >= find.size() &&
            std::string_view(out).substr(out.size() - find.size()) == find) {
            out.resize(out.size() - find.size());
            pending.insert(0, replacement);
        }
    };
    for (const char c : text) {
        push(c);
        while (!pending.empty()) {
            const char next = pending.front();
            pending.erase(0, 1);
            push(next);
        }
    }
    return out;
}

}  // namespace velmora
