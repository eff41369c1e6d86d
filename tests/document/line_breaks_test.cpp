#include "document/line_breaks.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace velmora {
namespace {

TEST(LineBreaks, TheFirstLineDecidesAndTheLastLineTellsWhetherABreakEndsIt) {
    const std::pair<std::string_view, LineBreakStyle> cases[] = {
        {"a\nb\r\n", {LineBreak::Lf, true}}, {"a\r\nb\n", {LineBreak::CrLf, true}},
        {"a\rb", {LineBreak::Cr, false}},    {"a\r", {LineBreak::Cr, true}},
        {"a", {LineBreak::CrLf, false}},     {"", {LineBreak::CrLf, true}},
        {"a\n\x1A", {LineBreak::Lf, true}},  {"a\x1A", {LineBreak::CrLf, false}},
    };
    for (const auto& [bytes, style] : cases) {
        EXPECT_EQ(DetectLineBreaks(bytes), style) << bytes;
    }
}

TEST(LineBreaks, WritingConvertsEveryCrLfAndDropsTheFinalOneWhenThePageHadNone) {
    EXPECT_EQ(FileBytesFromText("a\r\nb\r\n", {LineBreak::Lf, true}), "a\nb\n");
    EXPECT_EQ(FileBytesFromText("a\r\nb\r\n", {LineBreak::Cr, false}), "a\rb");
    EXPECT_EQ(FileBytesFromText("a\r\nb\r\n", {LineBreak::CrLf, false}), "a\r\nb");
    // A lone CR or LF that an edit brought in stays as it is.
    EXPECT_EQ(FileBytesFromText("a\rb\nc\r\r\n", {LineBreak::Lf, true}), "a\rb\nc\r\n");
    EXPECT_EQ(FileBytesFromText("a", {LineBreak::Lf, false}), "a");
}

// Any file whose breaks are all of one kind reads and writes back byte for byte.
TEST(LineBreaks, PagesOfOneBreakRoundTripOnRandomContent) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> letter('a', 'e');
    std::uniform_int_distribution<int> lineLength(0, 6);
    for (const std::string_view lineBreak : {"\n", "\r\n", "\r"}) {
        for (int round = 0; round < 200; ++round) {
            std::string bytes;
            const int lines = round % 7;
            for (int line = 0; line < lines; ++line) {
                for (int i = lineLength(random); i > 0; --i) {
                    bytes += static_cast<char>(letter(random));
                }
                if (line + 1 < lines || round % 2 == 0) {
                    bytes += lineBreak;
                }
            }
            const std::string text = TextFromFileBytes(bytes);
            EXPECT_EQ(FileBytesFromText(text, DetectLineBreaks(bytes)), bytes);
            EXPECT_TRUE(FileBytesMatch(text, DetectLineBreaks(bytes), bytes));
        }
    }
}

TEST(LineBreaks, MixedBreaksAndEndMarksCannotComeBack) {
    for (const std::string_view bytes : {"a\nb\r\nc\n", "a\nb\rc\n", "a\r\n\x1A", "a\r\nb\rc"}) {
        EXPECT_NE(FileBytesFromText(TextFromFileBytes(bytes), DetectLineBreaks(bytes)), bytes)
            << bytes;
        EXPECT_FALSE(FileBytesMatch(TextFromFileBytes(bytes), DetectLineBreaks(bytes), bytes))
            << bytes;
    }
}

}  // namespace
}  // namespace velmora
