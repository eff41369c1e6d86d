#include "page_checks/page_text.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <array>
#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/text_rules.h"

namespace velmora::page_checks {
namespace {

enum class CharClass { WordPart, Separator, Other };

constexpr std::array<bool, 128> kAsciiWordPart = [] {
    std::array<bool, 128> part{};
    for (int c = 0; c < 128; ++c) {
        part[static_cast<std::size_t>(c)] =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    }
    return part;
}();

// Letters, numbers and combining marks make words; white space and punctuation separate words
// that still stand next to each other; anything else (symbols, controls) parts them.
CharClass Classify(UChar32 c) {
    if (c < 0x80) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            return CharClass::WordPart;
        }
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
            return CharClass::Separator;
        }
    }
    const std::uint32_t mask = U_GET_GC_MASK(c);
    if ((mask & (U_GC_L_MASK | U_GC_N_MASK | U_GC_MN_MASK | U_GC_MC_MASK)) != 0) {
        return CharClass::WordPart;
    }
    if ((mask & (U_GC_P_MASK | U_GC_Z_MASK)) != 0) {
        return CharClass::Separator;
    }
    return CharClass::Other;
}

// Decodes one code point at text[at]; an invalid sequence gives a negative value and one byte.
UChar32 NextCodePoint(std::string_view text, std::size_t& at) {
    const auto* s = reinterpret_cast<const std::uint8_t*>(text.data());
    if (s[at] < 0x80) {
        return s[at++];
    }
    const auto window = static_cast<std::int32_t>(std::min<std::size_t>(text.size() - at, 4));
    std::int32_t used = 0;
    UChar32 c = 0;
    U8_NEXT(s + at, used, window, c);
    at += static_cast<std::size_t>(used);
    return c;
}

bool IsCollapsedSpace(std::string_view text, std::size_t at, std::size_t& length) {
    const char c = text[at];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        length = 1;
        return true;
    }
    if (c == '\xC2' && at + 1 < text.size() && text[at + 1] == '\xA0') {
        length = 2;
        return true;
    }
    return false;
}

}  // namespace

std::string CollapseWhiteSpace(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        std::size_t length = 0;
        if (IsCollapsedSpace(utf8, at, length)) {
            at += length;
            continue;
        }
        std::size_t end = at + 1;
        while (end < utf8.size() && !IsCollapsedSpace(utf8, end, length)) {
            ++end;
        }
        if (!out.empty()) {
            out.push_back(' ');
        }
        out.append(utf8.substr(at, end - at));
        at = end;
    }
    return out;
}

std::size_t CountCharacters(std::string_view utf8) {
    std::size_t count = 0;
    std::size_t at = 0;
    while (at < utf8.size()) {
        NextCodePoint(utf8, at);
        ++count;
    }
    return count;
}

std::vector<Word> SplitWords(std::string_view utf8, std::size_t limit) {
    std::vector<Word> words;
    std::size_t at = 0;
    std::size_t wordStart = 0;
    bool inWord = false;
    bool direct = false;  // nothing but separators since the last word
    while (at < utf8.size() && words.size() < limit) {
        const std::size_t start = at;
        const UChar32 c = NextCodePoint(utf8, at);
        const CharClass kind = c < 0 ? CharClass::Other : Classify(c);
        if (kind == CharClass::WordPart) {
            if (!inWord) {
                inWord = true;
                wordStart = start;
            }
            continue;
        }
        if (inWord) {
            words.push_back(Word{utf8.substr(wordStart, start - wordStart), direct});
            inWord = false;
            direct = true;
        }
        if (kind == CharClass::Other) {
            direct = false;
        }
    }
    if (inWord && words.size() < limit) {
        words.push_back(Word{utf8.substr(wordStart), direct});
    }
    return words;
}

namespace {

#if defined(__SSE2__)
// One bit per byte of the 16 at p: set where the byte is an ASCII letter or digit.
unsigned AsciiWordPartBits(const std::uint8_t* p) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    // Setting bit 5 maps 'A'..'Z' onto 'a'..'z' and nothing else onto them.
    const __m128i folded = _mm_or_si128(chunk, _mm_set1_epi8(0x20));
    const __m128i letter = _mm_and_si128(_mm_cmpgt_epi8(folded, _mm_set1_epi8('a' - 1)),
                                         _mm_cmplt_epi8(folded, _mm_set1_epi8('z' + 1)));
    const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(chunk, _mm_set1_epi8('0' - 1)),
                                        _mm_cmplt_epi8(chunk, _mm_set1_epi8('9' + 1)));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(letter, digit)));
}

// Sixteen bytes that are all ASCII: a word starts at each word part whose byte before is none.
bool CountAsciiChunk(const std::uint8_t* p, std::size_t& count, bool& inWord) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    if (_mm_movemask_epi8(chunk) != 0) {
        return false;
    }
    const unsigned part = AsciiWordPartBits(p);
    const unsigned before = ((part << 1) | (inWord ? 1u : 0u)) & 0xFFFFu;
    count += static_cast<std::size_t>(std::popcount(part & ~before));
    inWord = (part & 0x8000u) != 0;
    return true;
}
#endif

}  // namespace

std::size_t CountWords(std::string_view utf8) {
    std::size_t count = 0;
    bool inWord = false;
    std::size_t at = 0;
    const auto* s = reinterpret_cast<const std::uint8_t*>(utf8.data());
    while (at < utf8.size()) {
#if defined(__SSE2__)
        if (at + 16 <= utf8.size() && CountAsciiChunk(s + at, count, inWord)) {
            at += 16;
            continue;
        }
#endif
        // Byte by byte where the text is not ASCII, and for the last few bytes.
        if (s[at] < 0x80) {
            const bool part = kAsciiWordPart[s[at++]];
            count += part && !inWord ? 1 : 0;
            inWord = part;
            continue;
        }
        const UChar32 c = NextCodePoint(utf8, at);
        const bool part = c >= 0 && Classify(c) == CharClass::WordPart;
        count += part && !inWord ? 1 : 0;
        inWord = part;
    }
    return count;
}

std::string LowerCase(std::string_view utf8) {
    return TextRules(Encoding::Utf8).LocaleLower(utf8);
}

std::string ComparisonKey(std::string_view utf8) {
    return LowerCase(CollapseWhiteSpace(utf8));
}

}  // namespace velmora::page_checks
