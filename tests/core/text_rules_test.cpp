#include "core/text_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace velmora {
namespace {

TEST(DetectEncoding, BytesDecide) {
    EXPECT_EQ(DetectEncoding(""), Encoding::Windows1252);
    EXPECT_EQ(DetectEncoding("plain ascii <meta charset=utf-8>"), Encoding::Windows1252);
    EXPECT_EQ(DetectEncoding("caf\xC3\xA9"), Encoding::Utf8);
    EXPECT_EQ(DetectEncoding("caf\xE9"), Encoding::Windows1252);  // lone Latin-1 byte
    EXPECT_EQ(DetectEncoding("\xEF\xBB\xBF"
                             "abc"),
              Encoding::Utf8);  // byte-order mark
    EXPECT_EQ(DetectEncoding("ok \xC3\xA9 then \xFF"), Encoding::Windows1252);
    EXPECT_EQ(DetectEncoding("truncated \xE2\x82"), Encoding::Windows1252);
    EXPECT_EQ(DetectEncoding("overlong \xC0\xAF"), Encoding::Windows1252);
    // One byte beyond ASCII anywhere, within the first eight, the second or the tail.
    for (std::size_t at = 0; at < 19; ++at) {
        std::string bytes(19, 'a');
        EXPECT_TRUE(IsAscii(bytes));
        bytes[at] = '\x80';
        EXPECT_FALSE(IsAscii(bytes)) << at;
    }
}

TEST(AsciiLower, OnlyAToZAndPositionsKept) {
    EXPECT_EQ(AsciiLower("<TITLE>Caf\xC9</TITLE>"), "<title>caf\xC9</title>");
    EXPECT_EQ(AsciiLower(std::string("A\0B", 3)), std::string("a\0b", 3));
}

TEST(LocaleLower, Windows1252Table) {
    const TextRules rules(Encoding::Windows1252);
    EXPECT_EQ(rules.LocaleLower("ABC\xC0\xD6\xD7\xDE\xDF"), "abc\xE0\xF6\xD7\xFE\xDF");
    EXPECT_EQ(rules.LocaleLower("\x8A\x8C\x8E\x9F"), "\x9A\x9C\x9E\xFF");
    EXPECT_EQ(rules.LocaleLower("\x80\x9A\xFF"), "\x80\x9A\xFF");
}

TEST(LocaleLower, Utf8SimpleMappingNeverCorrupts) {
    const TextRules rules(Encoding::Utf8);
    EXPECT_EQ(rules.LocaleLower("\xC3\x89T\xC3\x89"), "\xC3\xA9t\xC3\xA9");  // ÉTÉ -> été
    EXPECT_EQ(rules.LocaleLower("\xD0\x9C\xD0\x98\xD0\xA0"), "\xD0\xBC\xD0\xB8\xD1\x80");  // МИР
    // Kelvin sign (3 bytes) lowers to k (1 byte): the length may change.
    EXPECT_EQ(rules.LocaleLower("\xE2\x84\xAA"), "k");
    // A byte that starts no valid sequence is copied, never half-lowered.
    EXPECT_EQ(rules.LocaleLower("A\xC3"), "a\xC3");
}

TEST(Ordering, CaseGroupsStayTogetherUpperCaseFirst) {
    const TextRules rules(Encoding::Windows1252);
    std::vector<std::string> words = {"zebra", "Zebra", "apple", "Web", "web", "WEB", "Zebra"};
    std::sort(words.begin(), words.end(),
              [&](const auto& a, const auto& b) { return rules.Compare(a, b) < 0; });
    EXPECT_EQ(words,
              (std::vector<std::string>{"apple", "WEB", "Web", "web", "Zebra", "Zebra", "zebra"}));
    EXPECT_TRUE(rules.EqualIgnoringCase("WeB", "web"));
    EXPECT_FALSE(rules.EqualIgnoringCase("web", "webs"));
    EXPECT_EQ(rules.Compare("a", "a"), 0);
    // Compared as unsigned bytes: an accented letter sorts after z.
    EXPECT_LT(rules.Compare("z", "\xE9"), 0);
}

TEST(Ordering, Utf8AccentedCapitalsGroupWithTheirLowerCase) {
    const TextRules rules(Encoding::Utf8);
    EXPECT_TRUE(rules.EqualIgnoringCase("\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89"));
    EXPECT_LT(rules.Compare("\xC3\x89t\xC3\xA9", "\xC3\xA9t\xC3\xA9"), 0);
}

TEST(CharacterCount, CodePointsOnUtf8Pages) {
    EXPECT_EQ(TextRules(Encoding::Utf8).CharacterCount("caf\xC3\xA9"), 4u);
    EXPECT_EQ(TextRules(Encoding::Windows1252).CharacterCount("caf\xC3\xA9"), 5u);
}

}  // namespace
}  // namespace velmora
