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
constexpr unsigned kAllStops = kTextStopClass | kTagStopClass;

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

// Each block is finished as soon as it is classified, with the byte after it read from the text;
// the byte after the last block is not read, its classes are given.
void Store(const RawBits& raw, const char* block, bool last, unsigned lastNext, StopBlock* out) {
    *out =
        Finish(raw, last ? lastNext : kByteClasses[static_cast<unsigned char>(block[kBlockBytes])]);
}

// The reference that the vector versions must agree with.
RawBits BlockBits(const char* p) {
    RawBits bits{};
    for (std::size_t k = 0; k < kBlockBytes; ++k) {
        const unsigned classes = kByteClasses[static_cast<unsigned char>(p[k])];
        const auto bit = [&](unsigned mask) { return std::uint64_t{(classes & mask) != 0} << k; };
        bits.space |= bit(kSpaceClass);
        bits.blanks |= bit(kBlankClass);
        bits.textStops |= bit(kTextStopClass);
        bits.tagStops |= bit(kTagStopClass);
    }
    return bits;
}

void StopsByBytes(const char* p, std::size_t blocks, unsigned lastNext, StopBlock* out) {
    for (std::size_t block = 0; block < blocks; ++block, p += kBlockBytes) {
        Store(BlockBits(p), p, block + 1 == blocks, lastNext, out + block);
    }
}

#if defined(VELMORA_X86)
std::uint64_t Bits16(__m128i matches) {
    return std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(matches))};
}

// The stops of both kinds are built from the same few comparisons, 16 bytes at a time.
void StopsSse2(const char* p, std::size_t blocks, unsigned lastNext, StopBlock* out) {
    const auto equal = [](__m128i v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
    for (std::size_t block = 0; block < blocks; ++block, p += kBlockBytes) {
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
        Store(bits, p, block + 1 == blocks, lastNext, out + block);
    }
}

// With byte shuffles each byte gets one bit per stop byte from two table look-ups, one by its
// low half and one by its high half; bytes from 128 up find nothing in either table. Fewer
// instructions than a comparison per stop byte.
constexpr std::uint8_t kSpaceBit = 0x01;
constexpr std::uint8_t kTabBit = 0x02;
constexpr std::uint8_t kCrBit = 0x04;
constexpr std::uint8_t kLfBit = 0x08;
constexpr std::uint8_t kLessBit = 0x10;
constexpr std::uint8_t kGreaterBit = 0x20;
constexpr std::uint8_t kQuoteBit = 0x40;
constexpr std::uint8_t kApostropheBit = 0x80;

[[gnu::target("avx2")]] __m256i Table(const std::array<std::uint8_t, 16>& table) {
    const __m128i half = _mm_loadu_si128(reinterpret_cast<const __m128i*>(table.data()));
    return _mm256_broadcastsi128_si256(half);
}

// Bit 7 of each byte is set where the byte has any of the bits in mask.
[[gnu::target("avx2")]] std::uint64_t Any32(__m256i classes, std::uint8_t mask) {
    const __m256i masked = _mm256_and_si256(classes, _mm256_set1_epi8(static_cast<char>(mask)));
    const __m256i top = _mm256_adds_epu8(masked, _mm256_set1_epi8(0x7F));
    return std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(top))};
}

// The same, 32 bytes at a time; only called where the processor has AVX2.
[[gnu::target("avx2")]] void StopsAvx2(const char* p, std::size_t blocks, unsigned lastNext,
                                       StopBlock* out) {
    constexpr auto byLow = [] {
        std::array<std::uint8_t, 16> table{};
        table[' ' & 15] = kSpaceBit;
        table['\t' & 15] = kTabBit;
        table['\r' & 15] = kCrBit;
        table['\n' & 15] = kLfBit;
        table['<' & 15] = kLessBit;
        table['>' & 15] = kGreaterBit;
        table['"' & 15] = kQuoteBit;
        table['\'' & 15] = kApostropheBit;
        return table;
    }();
    constexpr auto byHigh = [] {
        std::array<std::uint8_t, 16> table{};
        table[0] = kTabBit | kCrBit | kLfBit;
        table[2] = kSpaceBit | kQuoteBit | kApostropheBit;
        table[3] = kLessBit | kGreaterBit;
        return table;
    }();
    const __m256i low = Table(byLow);
    const __m256i high = Table(byHigh);
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    constexpr std::uint8_t kBlanks = kSpaceBit | kTabBit;
    constexpr std::uint8_t kCommon = kBlanks | kCrBit | kLfBit | kGreaterBit;
    for (std::size_t block = 0; block < blocks; ++block, p += kBlockBytes) {
        RawBits bits{};
        for (std::size_t offset = 0; offset < kBlockBytes; offset += 32) {
            const __m256i chunk = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + offset));
            const __m256i highHalf = _mm256_and_si256(_mm256_srli_epi16(chunk, 4), nibble);
            const __m256i classes = _mm256_and_si256(_mm256_shuffle_epi8(low, chunk),
                                                     _mm256_shuffle_epi8(high, highHalf));
            // The space bit is bit 0: moved to bit 7 of its byte.
            const auto space =
                static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_slli_epi16(classes, 7)));
            bits.space |= std::uint64_t{space} << offset;
            bits.blanks |= Any32(classes, kBlanks) << offset;
            bits.textStops |= Any32(classes, kCommon | kLessBit) << offset;
            bits.tagStops |= Any32(classes, kCommon | kQuoteBit | kApostropheBit) << offset;
        }
        Store(bits, p, block + 1 == blocks, lastNext, out + block);
    }
}
#endif

using StopsOfBlocks = void (*)(const char*, std::size_t, unsigned, StopBlock*);

StopsOfBlocks StopsFor(StopScan scan) {
    switch (scan) {
#if defined(VELMORA_X86)
        case StopScan::Avx2:
            return StopsAvx2;
        case StopScan::Sse2:
            return StopsSse2;
#else
        case StopScan::Avx2:
        case StopScan::Sse2:
#endif
        case StopScan::Bytes:
            break;
    }
    return StopsByBytes;
}

// The block that holds the end of the text, shorter than 64 bytes or empty, and those past it:
// the end of the text is a stop of every kind.
StopBlock TailStops(std::string_view text, std::size_t start) {
    std::array<char, kBlockBytes> tail{};
    const std::size_t length = start < text.size() ? text.size() - start : 0;
    if (length > 0) {
        std::memcpy(tail.data(), text.data() + start, length);
    }
    RawBits raw = BlockBits(tail.data());
    const std::uint64_t inText = length == 0 ? 0 : ~std::uint64_t{0} >> (kBlockBytes - length);
    raw.space &= inText;
    raw.blanks &= inText;
    raw.textStops |= ~inText;
    raw.tagStops |= ~inText;
    return Finish(raw, kAllStops);
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
    const std::size_t n = text.size();
    const std::size_t fullBlocks = n / kBlockBytes;
    const std::size_t count = blocks.size();
    const std::size_t full = first < fullBlocks ? std::min(count, fullBlocks - first) : 0;
    if (full > 0) {
        const std::size_t after = (first + full) * kBlockBytes;
        // Past the end of the text everything is a stop.
        const unsigned lastNext =
            after < n ? kByteClasses[static_cast<unsigned char>(text[after])] : kAllStops;
        StopsFor(scan)(text.data() + first * kBlockBytes, full, lastNext, blocks.data());
    }
    for (std::size_t j = full; j < count; ++j) {
        blocks[j] = TailStops(text, (first + j) * kBlockBytes);
    }
}

}  // namespace velmora::detail
