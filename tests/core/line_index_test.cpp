#include "core/line_index.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora {
namespace {

using Unit = LineIndex::Unit;

TextPosition PositionOf(std::string_view text, std::string_view marker,
                        Unit unit = Unit::Utf8CodePoints) {
    return LineIndex(text, unit).At(text.find(marker));
}

TEST(LineIndex, EveryKindOfLineBreakEndsOneLine) {
    // The same third line behind LF, CR LF, lone CR and a mix of the three.
    for (const std::string_view text : {"a\nbb\n  X", "a\r\nbb\r\n  X", "a\rbb\r  X",
                                        "a\rbb\r\n  X", "a\r\nbb\n  X", "a\nbb\r  X"}) {
        EXPECT_EQ(PositionOf(text, "X"), (TextPosition{3, 3})) << testing::PrintToString(text);
    }
    // Empty lines count, including a lone CR right before a CR LF.
    EXPECT_EQ(PositionOf("\n\r\n\r\rX", "X"), (TextPosition{5, 1}));
    EXPECT_EQ(PositionOf("a\r\r\nX", "X"), (TextPosition{3, 1}));
}

TEST(LineIndex, HeldTextAndFileBytesNumberLinesAlike) {
    // A page is analysed with CR LF breaks; its file may use any of them.
    const std::string held = "<html>\r\n\r\n<head>\r\n <title>T</title>\r\n";
    for (const std::string_view file : {"<html>\n\n<head>\n <title>T</title>\n",
                                        "<html>\r\r<head>\r <title>T</title>\r",
                                        "<html>\r\n\n<head>\r <title>T</title>"}) {
        EXPECT_EQ(PositionOf(file, "<title>"), PositionOf(held, "<title>"));
    }
    EXPECT_EQ(PositionOf(held, "<title>"), (TextPosition{4, 2}));
}

TEST(LineIndex, ColumnsCountCharacters) {
    // "é" is two bytes in UTF-8, "€" three and "😀" four: one column each.
    EXPECT_EQ(PositionOf("x\n\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80<img>", "<img>"),
              (TextPosition{2, 4}));
    // In a Windows-1252 page every byte is a character.
    EXPECT_EQ(PositionOf("x\n\xE9\x80<img>", "<img>", Unit::Bytes), (TextPosition{2, 3}));
    // A byte-order mark is no character of the first line only.
    EXPECT_EQ(PositionOf("\xEF\xBB\xBF<html>", "<html>"), (TextPosition{1, 1}));
    EXPECT_EQ(PositionOf("\xEF\xBB\xBF\n\xEF\xBB\xBF<p>", "<p>"), (TextPosition{2, 2}));
}

TEST(LineIndex, EdgesOfTheText) {
    const LineIndex empty("", Unit::Bytes);
    EXPECT_EQ(empty.At(0), (TextPosition{1, 1}));
    const LineIndex index("ab\r\n", Unit::Utf8CodePoints);
    EXPECT_EQ(index.At(0), (TextPosition{1, 1}));
    EXPECT_EQ(index.At(2), (TextPosition{1, 3}));
    EXPECT_EQ(index.At(4), (TextPosition{2, 1}));
    EXPECT_EQ(index.At(99), (TextPosition{2, 1}));
    // Inside the byte-order mark itself.
    EXPECT_EQ(LineIndex("\xEF\xBB\xBFx", Unit::Utf8CodePoints).At(1), (TextPosition{1, 1}));
}

}  // namespace
}  // namespace velmora
