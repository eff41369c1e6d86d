#include "document/line_breaks.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

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

// Text read in blocks of 64 bytes must be taken as held exactly when converting it would give
// it back unchanged, wherever its line breaks fall.
TEST(LineBreaks, BytesAreHeldTextExactlyWhenConvertingThemChangesNothing) {
    std::mt19937 random(8);
    for (int round = 0; round < 4000; ++round) {
        std::string bytes;
        for (int lines = static_cast<int>(random() % 6); lines > 0; --lines) {
            bytes.append(random() % 140, 'x');
            bytes += "\r\n";
        }
        if (!bytes.empty() && round % 2 == 1) {
            // One stray byte anywhere: a lone CR or LF, a CR LF turned round, or an end mark.
            static constexpr std::string_view kStrays[] = {"\r", "\n", "\n\r", "\x1A"};
            bytes.insert(random() % (bytes.size() + 1), kStrays[random() % 4]);
        }
        EXPECT_EQ(IsHeldText(bytes), TextFromFileBytes(bytes) == bytes) << round;
    }
    EXPECT_TRUE(IsHeldText(""));
    EXPECT_FALSE(IsHeldText("a"));
    EXPECT_FALSE(IsHeldText("a\r\n\x1A"));
}

// A text given in pieces is written as the same text given whole.
TEST(LineBreaks, PiecesAreWrittenAsTheWholeText) {
    std::mt19937 random(9);
    static constexpr std::string_view kParts[] = {"a", "\r\n", "\r", "\n", "bc"};
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (int parts = static_cast<int>(random() % 12); parts > 0; --parts) {
            text += kParts[random() % 5];
        }
        // Cut anywhere except between the CR and the LF of a CR LF.
        std::vector<std::string_view> pieces;
        std::size_t start = 0;
        for (std::size_t cut = 0; cut <= text.size(); ++cut) {
            const bool insideCrLf =
                cut > 0 && cut < text.size() && text[cut - 1] == '\r' && text[cut] == '\n';
            if (cut == text.size() || (!insideCrLf && random() % 4 == 0)) {
                pieces.push_back(std::string_view(text).substr(start, cut - start));
                start = cut;
            }
        }
        pieces.push_back({});
        for (const LineBreak kind : {LineBreak::CrLf, LineBreak::Lf, LineBreak::Cr}) {
            for (const bool finalBreak : {true, false}) {
                const LineBreakStyle style{kind, finalBreak};
                std::string written;
                EXPECT_TRUE(WriteFileBytes(pieces, style, [&](std::string_view piece) {
                    written += piece;
                    return true;
                }));
                EXPECT_EQ(written, FileBytesFromText(text, style)) << round;
            }
        }
    }
    const std::string_view pieces[] = {"a\r\n", "b"};
    int calls = 0;
    EXPECT_FALSE(WriteFileBytes(pieces, {LineBreak::CrLf, true}, [&](std::string_view) {
        ++calls;
        return false;
    }));
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace velmora
