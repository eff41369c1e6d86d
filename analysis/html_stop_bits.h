#pragma once

// Where the white-space remover must look at a byte, found 64 bytes at a time. Between such
// bytes it only copies, so most of a page is passed over in whole blocks.

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace velmora::detail {

// The kinds of run that the remover copies whole. Where blanks are protected they are ordinary
// bytes; inside a tag quotes matter and '<' does not.
enum class RunKind { Text, ProtectedText, Tag, ProtectedTag };
inline constexpr std::size_t kRunKinds = 4;

// One bit per byte of a block of 64 (bit k is the byte at 64 * block + k). A block fills a cache
// line, so that finding a position's block takes a mask of the position and nothing more.
struct alignas(64) StopBlock {
    // Blanks and tabs; never set past the end of the text.
    std::uint64_t blanks = 0;
    // Per run kind, where such a run ends: at every stop byte (" \t\r\n<>" in text, " \t\r\n\"'>"
    // in a tag, blanks and tabs left out where they are protected), except a single blank that
    // is followed by a byte that is no stop; that blank stays as it is. Always set past the end.
    std::uint64_t runEnds[kRunKinds] = {};
};

// The most blocks that FindStops fills at once.
inline constexpr std::size_t kStopWindowBlocks = 64;

// The instructions the blocks are found with. Every choice gives the same bits.
enum class StopScan { Bytes, Sse2, Avx2 };

// The fastest choice that this processor runs.
StopScan FastestStopScan();
// Whether this processor runs the choice.
bool Supports(StopScan scan);

// Fills blocks (at most kStopWindowBlocks) with the bits of the blocks of text that start at
// block `first`. Blocks past the end of the text hold only the bits past its end.
void FindStops(std::string_view text, std::size_t first, std::span<StopBlock> blocks,
               StopScan scan);

// Finds the ends of runs and of blanks in a text, reading it forward only: each block of it is
// classified once, a window of blocks at a time, however many runs start inside it.
class StopFinder {
public:
    StopFinder(std::string_view text, StopScan scan) : text_(text), scan_(scan) {}

    // The end of the run of this kind that starts at i (i itself when that byte ends it); the
    // end of the text at the latest.
    std::size_t RunEnd(RunKind kind, std::size_t i) {
        for (;;) {
            const std::uint64_t ends = Block(i).runEnds[static_cast<std::size_t>(kind)] >> (i % 64);
            if (ends != 0) {
                return i + TrailingZeros(ends);
            }
            i = (i / 64 + 1) * 64;
        }
    }

    // The end of the blanks and tabs that start at i.
    std::size_t BlanksEnd(std::size_t i) {
        for (;;) {
            const std::uint64_t others = ~Block(i).blanks >> (i % 64);
            if (others != 0) {
                return i + TrailingZeros(others);
            }
            i = (i / 64 + 1) * 64;
        }
    }

private:
    // The index of the lowest set bit of a word that is not zero, as a 64-bit count: converted
    // from countr_zero's int it would cost one more instruction on the path from one run end to
    // the next. tzcnt runs as bsf where the processor lacks it, which agrees for such words.
    static std::size_t TrailingZeros(std::uint64_t word) {
#if defined(__x86_64__)
        std::size_t count;
        asm("tzcnt %1, %0" : "=r"(count) : "r"(word));
        return count;
#else
        return static_cast<std::size_t>(std::countr_zero(word));
#endif
    }

    static constexpr std::size_t kWindowBytes = 64 * kStopWindowBlocks;

    // The block that holds position i. Windows start at multiples of their size, so a block's
    // place in its window is its number's low bits: the next position depends on this one only
    // through a mask and a load, which is what bounds the speed of the scan.
    const StopBlock& Block(std::size_t i) {
        if (i / kWindowBytes != window_) {
            Fill(i / kWindowBytes);
        }
        return blocks_[i / 64 % kStopWindowBlocks];
    }

    void Fill(std::size_t window) {
        // The block that holds the end of the text is the last one ever asked for.
        const std::size_t last = text_.size() / 64;
        const std::size_t first = window * kStopWindowBlocks;
        window_ = window;
        FindStops(text_, first,
                  std::span(blocks_.data(), std::min(kStopWindowBlocks, last + 1 - first)), scan_);
    }

    std::string_view text_;
    StopScan scan_;
    // No window is filled at first.
    std::size_t window_ = ~std::size_t{0};
    std::array<StopBlock, kStopWindowBlocks> blocks_;
};

}  // namespace velmora::detail
