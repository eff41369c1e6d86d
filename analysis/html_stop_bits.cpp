#include "analysis/html_stop_bits.h"

#include <array>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VELMORA_X86 1
#endif

namespace velmora::detail {
namespace {

constexpr std::size_t kBlockBytes = 64;

// The bits of one block before the look at the byte after it. Where blanks are protected the
// stops are the same less the blanks, so two sets of stops say everything.
struct RawBits {
    std::uint64_t space;
    std::uint64_t blanks;
    std::uint64_t textStops;  // " \t\r\n<>"
    std::uint64_t tagStops;   // " \t\r\n\"'>"
};

constexpr unsigned kSpaceClass = 1;
constexpr unsigned kBlankClass = 2;
constexpr unsigned kTextStopClass = 4;
constexpr unsigned kTagStopClass = 8;

constexpr std::array<std::uint8_t, 256> MakeByteClasses() {
    std::array<std::uint8_t, 256> classes{};
    const auto add = [&](std::string_view bytes, unsigned bits) {
        for (const char c : bytes) {
            classes[static_cast<unsigned char>(c)] |= static_cast<std::uint8_t>(bits);
        }
    };
    add(" ", kSpaceClass);
    add(" \t", kBlankClass);
    add(" \t\r\n<>", kTextStopClass);
    add(" \t\r\n\"'>", kTagStopClass);
    return classes;
}

constexpr std::array<std::uint8_t, 256> kByteClasses = MakeByteClasses();

// The reference that the vector versions must agree with.
void ClassifyBytes(const char* p, std::size_t blocks, RawBits* raw) {
    for (std::size_t block = 0; block < blocks; ++block, p += kBlockBytes) {
        RawBits bits{};
        for (std::size_t k = 0; k < kBlockBytes; ++k) {
            const unsigned classes = kByteClasses[static_cast<unsigned char>(p[k])];
            const auto bit = [&](unsigned mask) {
                return std::uint64_t{(classes & mask) != 0} << k;
            };
            bits.space |= bit(kSpaceClass);
            bits.blanks |= bit(kBlankClass);
            bits.textStops |= bit(kTextStopClass);
            bits.tagStops |= bit(kTagStopClass);
        }
        raw[block] = bits;
    }
}

#if defined(VELMORA_X86)
std::uint64_t Bits16(__m128i matches) {
    return std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(matches))};
}

// The stops of both kinds are built from the same few comparisons, 16 bytes at a time.
void ClassifySse2(const char* p, std::size_t blocks, RawBits* raw) {
    const auto equal = [](__m128i v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
    for (std::size_t block = 0; block < blocks; ++block) {
        RawBits bits{};
        for (std::size_t offset = 0; offset < kBlockBytes; offset += 16) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + offset));
            const __m128i space = equal(chunk, ' ');
            const __m128i blank = _mm_or_si128(space, equal(chunk, '\t'));
            const __m128i common =
                _mm_or_si128(_mm_or_si128(blank, equal(chunk, '>')),
                             _mm_or_si128(equal(chunk, '\r'), equal(chunk, '\n')));
            const __m128i quote = _mm_or_si128(equal(chunk, '"'), equal(chunk, '\''));
            bits.space |= Bits16(space) << offset;
            bits.blanks |= Bits16(blank) << offset;
            bits.textStops |= Bits16(_mm_or_si128(common, equal(chunk, '<'))) << offset;
            bits.tagStops |= Bits16(_mm_or_si128(common, quote)) << offset;
        }
        raw[block] = bits;
        p += kBlockBytes;
    }
}

[[gnu::target("avx2")]] __m256i Equal32(__m256i chunk, char c) {
    return _mm256_cmpeq_epi8(chunk, _mm256_set1_epi8(c));
}

[[gnu::target("avx2")]] std::uint64_t Bits32(__m256i matches) {
    return std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(matches))};
}

// The same, 32 bytes at a time; only called where the processor has AVX2.
[[gnu::target("avx2")]] void ClassifyAvx2(const char* p, std::size_t blocks, RawBits* raw) {
    for (std::size_t block = 0; block < blocks; ++block) {
        RawBits bits{};
        for (std::size_t offset = 0; offset < kBlockBytes; offset += 32) {
            const __m256i chunk = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + offset));
            const __m256i space = Equal32(chunk, ' ');
            const __m256i blank = _mm256_or_si256(space, Equal32(chunk, '\t'));
            const __m256i common =
                _mm256_or_si256(_mm256_or_si256(blank, Equal32(chunk, '>')),
                                _mm256_or_si256(Equal32(chunk, '\r'), Equal32(chunk, '\n')));
            const __m256i quote = _mm256_or_si256(Equal32(chunk, '"'), Equal32(chunk, '\''));
            bits.space |= Bits32(space) << offset;
            bits.blanks |= Bits32(blank) << offset;
            bits.textStops |= Bits32(_mm256_or_si256(common, Equal32(chunk, '<'))) << offset;
            bits.tagStops |= Bits32(_mm256_or_si256(common, quote)) << offset;
        }
        raw[block] = bits;
        p += kBlockBytes;
    }
}
#endif

using Classifier = void (*)(const char*, std::size_t, RawBits*);

Classifier ClassifierFor(StopScan scan) {
    switch (scan) {
#if defined(VELMORA_X86)
        case StopScan::Avx2:
            return ClassifyAvx2;
        case StopScan::Sse2:
            return ClassifySse2;
#else
        case StopScan::Avx2:
        case StopScan::Sse2:
#endif
        case StopScan::Bytes:
            break;
    }
    return ClassifyBytes;
}

// A single blank before a byte that is no stop is copied with the run. `next` holds the classes
// of the byte after the block.
StopBlock Finish(const RawBits& raw, unsigned next) {
    const auto ends = [&](std::uint64_t stops, bool nextStops) {
        const std::uint64_t stopAfter = (stops >> 1) | (std::uint64_t{nextStops} << 63);
        return stops & ~(raw.space & ~stopAfter);
    };
    StopBlock block;
    block.blanks = raw.blanks;
    // No blank is a stop where blanks are protected, so no blank stays in such a run.
    block.runEnds[static_cast<std::size_t>(RunKind::Text)] =
        ends(raw.textStops, (next & kTextStopClass) != 0);
    block.runEnds[static_cast<std::size_t>(RunKind::ProtectedText)] = raw.textStops & ~raw.blanks;
    block.runEnds[static_cast<std::size_t>(RunKind::Tag)] =
        ends(raw.tagStops, (next & kTagStopClass) != 0);
    block.runEnds[static_cast<std::size_t>(RunKind::ProtectedTag)] = raw.tagStops & ~raw.blanks;
    return block;
}

// The stop classes of the first byte of a block, from its bits.
unsigned FirstByteStops(const RawBits& raw) {
    return static_cast<unsigned>((raw.textStops & 1) * kTextStopClass |
                                 (raw.tagStops & 1) * kTagStopClass);
}

// The block that holds the end of the text, shorter than 64 bytes or empty: the end of the
// text is a stop of every kind.
RawBits TailBits(std::string_view text, std::size_t start, Classifier classify) {
    std::array<char, kBlockBytes> tail{};
    const std::size_t length = start < text.size() ? text.size() - start : 0;
    if (length > 0) {
        std::memcpy(tail.data(), text.data() + start, length);
    }
    RawBits raw;
    classify(tail.data(), 1, &raw);
    const std::uint64_t inText = length == 0 ? 0 : ~std::uint64_t{0} >> (kBlockBytes - length);
    raw.space &= inText;
    raw.blanks &= inText;
    raw.textStops |= ~inText;
    raw.tagStops |= ~inText;
    return raw;
}

}  // namespace

bool Supports(StopScan scan) {
    switch (scan) {
        case StopScan::Bytes:
            return true;
#if defined(VELMORA_X86)
        case StopScan::Sse2:
            return __builtin_cpu_supports("sse2");
        case StopScan::Avx2:
            return __builtin_cpu_supports("avx2");
#else
        case StopScan::Sse2:
        case StopScan::Avx2:
            return false;
#endif
    }
    return false;
}

StopScan FastestStopScan() {
    for (const StopScan scan : {StopScan::Avx2, StopScan::Sse2}) {
        if (Supports(scan)) {
            return scan;
        }
    }
    return StopScan::Bytes;
}

void FindStops(std::string_view text, std::size_t first, std::span<StopBlock> blocks,
               StopScan scan) {
    const Classifier classify = ClassifierFor(scan);
    const std::size_t n = text.size();
    const std::size_t fullBlocks = n / kBlockBytes;
    const std::size_t count = blocks.size();
    std::array<RawBits, kStopWindowBlocks> raw;
    const std::size_t full = first < fullBlocks ? std::min(count, fullBlocks - first) : 0;
    if (full > 0) {
        classify(text.data() + first * kBlockBytes, full, raw.data());
    }
    for (std::size_t j = full; j < count; ++j) {
        raw[j] = TailBits(text, (first + j) * kBlockBytes, classify);
    }
    for (std::size_t j = 0; j < count; ++j) {
        const std::size_t after = (first + j + 1) * kBlockBytes;
        // Past the end of the text everything is a stop.
        unsigned next = kTextStopClass | kTagStopClass;
        if (j + 1 < count) {
            next = FirstByteStops(raw[j + 1]);
        } else if (after < n) {
            next = kByteClasses[static_cast<unsigned char>(text[after])];
        }
        blocks[j] = Finish(raw[j], next);
    }
}

}  // namespace velmora::detail
