#include "analysis/html_stop_bits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::detail {
namespace {

constexpr StopScan kScans[] = {StopScan::Bytes, StopScan::Sse2, StopScan::Avx2};

// Text made mostly of the bytes that stop runs, with letters, controls and bytes from 128 up.
std::string RandomText(std::mt19937& random, std::size_t length) {
    static constexpr std::string_view kBytes = " \t\r\n<>\"'  xy\x01\x80\xFF=";
    std::string text;
    for (std::size_t k = 0; k < length; ++k) {
        text += random() % 8 == 0 ? static_cast<char>(random() % 256)
                                  : kBytes[random() % kBytes.size()];
    }
    return text;
}

bool IsStop(RunKind kind, char c) {
    const bool blank = c == ' ' || c == '\t';
    const bool inTag = kind == RunKind::Tag || kind == RunKind::ProtectedTag;
    const bool keepsBlanks = kind == RunKind::ProtectedText || kind == RunKind::ProtectedTag;
    return c == '\r' || c == '\n' || c == '>' || (blank && !keepsBlanks) ||
           (inTag ? (c == '"' || c == '\'') : c == '<');
}

// Where a run ends, read byte by byte: at the first stop, except a single blank that a byte
// which is no stop follows; at the end of the text at the latest.
std::size_t RunEndByBytes(std::string_view text, RunKind kind, std::size_t i) {
    for (; i < text.size(); ++i) {
        const bool blankInRun = text[i] == ' ' && i + 1 < text.size() && !IsStop(kind, text[i + 1]);
        if (IsStop(kind, text[i]) && !blankInRun) {
            break;
        }
    }
    return i;
}

TEST(StopBits, EveryScanFindsTheBitsTheByteScanFinds) {
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        const std::string text = RandomText(random, random() % 700);
        const std::size_t blocks = text.size() / 64 + 2;
        std::vector<StopBlock> expected(blocks);
        FindStops(text, 0, expected, StopScan::Bytes);
        for (const StopScan scan : kScans) {
            if (!Supports(scan)) {
                continue;
            }
            // From every first block, so that each block is also the window's last.
            for (std::size_t first = 0; first < blocks; ++first) {
                std::vector<StopBlock> found(blocks - first);
                FindStops(text, first, found, scan);
                for (std::size_t j = 0; j < found.size(); ++j) {
                    const StopBlock& want = expected[first + j];
                    ASSERT_EQ(found[j].blanks, want.blanks) << round << " " << first << " " << j;
                    for (std::size_t kind = 0; kind < kRunKinds; ++kind) {
                        ASSERT_EQ(found[j].runEnds[kind], want.runEnds[kind])
                            << round << " " << first << " " << j << " kind " << kind;
                    }
                }
            }
        }
    }
}

TEST(StopBits, RunsAndBlanksEndWhereTheBytesSay) {
    std::mt19937 random(12);
    for (int round = 0; round < 60; ++round) {
        // Long enough that the finder fills its window of blocks more than once.
        const std::string text = RandomText(random, random() % 9000);
        for (const RunKind kind :
             {RunKind::Text, RunKind::ProtectedText, RunKind::Tag, RunKind::ProtectedTag}) {
            StopFinder finder(text, FastestStopScan());
            for (std::size_t i = 0; i <= text.size(); i += 1 + random() % 5) {
                ASSERT_EQ(finder.RunEnd(kind, i), RunEndByBytes(text, kind, i))
                    << round << " " << i;
            }
        }
        StopFinder finder(text, FastestStopScan());
        for (std::size_t i = 0; i <= text.size(); i += 1 + random() % 5) {
            std::size_t end = i;
            while (end < text.size() && (text[end] == ' ' || text[end] == '\t')) {
                ++end;
            }
            ASSERT_EQ(finder.BlanksEnd(i), end) << round << " " << i;
        }
    }
}

// The vector scans find stops by table look-ups on each half of a byte: every byte value, next
// to every other and at every place in its 16- and 32-byte chunk, must give the byte scan's bits.
TEST(StopBits, EveryByteValueGivesTheByteScansBits) {
    for (unsigned value = 0; value < 256; ++value) {
        std::string text;
        for (unsigned other = 0; other < 256; ++other) {
            text += static_cast<char>(value);
            text += static_cast<char>(other);
            text.append(other % 7, static_cast<char>(value));
        }
        const std::size_t blocks = text.size() / 64 + 1;
        std::vector<StopBlock> expected(blocks);
        FindStops(text, 0, expected, StopScan::Bytes);
        for (const StopScan scan : kScans) {
            if (!Supports(scan)) {
                continue;
            }
            std::vector<StopBlock> found(blocks);
            FindStops(text, 0, found, scan);
            for (std::size_t j = 0; j < blocks; ++j) {
                ASSERT_EQ(found[j].blanks, expected[j].blanks) << value << " block " << j;
                for (std::size_t kind = 0; kind < kRunKinds; ++kind) {
                    ASSERT_EQ(found[j].runEnds[kind], expected[j].runEnds[kind])
                        << value << " block " << j << " kind " << kind;
                }
            }
        }
    }
}

// The finder keeps one window of blocks at a time. Asked in any order, across windows and back,
// and on texts that end on either side of a window's edge, it still answers as the bytes do.
TEST(StopBits, PositionsAskedInAnyOrderAnswerAsTheBytesDo) {
    std::mt19937 random(13);
    constexpr std::size_t kWindow = 64 * kStopWindowBlocks;
    for (const std::size_t size : {kWindow - 1, kWindow, kWindow + 1, 3 * kWindow + 63,
                                   3 * kWindow + 64, 2 * kWindow + 200}) {
        const std::string text = RandomText(random, size);
        StopFinder finder(text, FastestStopScan());
        for (int ask = 0; ask < 3000; ++ask) {
            // Mostly near the end of a window, where a run's end lies in the next one.
            const std::size_t i =
                random() % 2 == 0
                    ? std::min(text.size(), (random() % 4 + 1) * kWindow - 1 - random() % 80)
                    : random() % (text.size() + 1);
            const auto kind = static_cast<RunKind>(random() % kRunKinds);
            ASSERT_EQ(finder.RunEnd(kind, i), RunEndByBytes(text, kind, i)) << size << " " << i;
            std::size_t end = i;
            while (end < text.size() && (text[end] == ' ' || text[end] == '\t')) {
                ++end;
            }
            ASSERT_EQ(finder.BlanksEnd(i), end) << size << " " << i;
        }
    }
}

TEST(StopBits, TheFastestScanIsOneThisProcessorRuns) {
    EXPECT_TRUE(Supports(FastestStopScan()));
    EXPECT_TRUE(Supports(StopScan::Bytes));
}

}  // namespace
}  // namespace velmora::detail
