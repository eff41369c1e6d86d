#include "core/kel_string_functions.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace velmora {
namespace {

TEST(Substring, ClampsLikeEveryHelperExpects) {
    EXPECT_EQ(Substring("abcdef", 0, 2), "ab");
    EXPECT_EQ(Substring("abcdef", -3, 2), "ab");
    EXPECT_EQ(Substring("abcdef", 5, 10), "ef");
    EXPECT_EQ(Substring("abcdef", 7, 1), "");
    EXPECT_EQ(Substring("abcdef", 2, -1), "");
    EXPECT_EQ(Substring("", 1, 1), "");
}

TEST(Position, OneBasedAndZeroWhenAbsent) {
    EXPECT_EQ(Position("c", "abc"), 3u);
    EXPECT_EQ(Position("x", "abc"), 0u);
    EXPECT_EQ(Position("", "abc"), 0u);
    EXPECT_EQ(PositionIgnoringAsciiCase("<TITLE>", "x<Title>"), 2u);
    EXPECT_EQ(PositionIgnoringAsciiCase("<title>", "<titl"), 0u);
    EXPECT_EQ(PositionIgnoringAsciiCase("", "abc"), 0u);
}

TEST(Cutting, LeftRightRestBeforeAfter) {
    EXPECT_EQ(LeftOf("abcdef", -1), "abcde");
    EXPECT_EQ(LeftOf("abc", -5), "");
    EXPECT_EQ(LeftOf("abc", 10), "abc");
    EXPECT_EQ(RightOf("abcdef", 3), "def");
    EXPECT_EQ(RightOf("abc", 10), "abc");
    EXPECT_EQ(RightOf("", -1), "");
    EXPECT_EQ(RestOf("abcdef", 3), "cdef");
    EXPECT_EQ(RestOf("abcdef", 0), "abcdef");
    EXPECT_EQ(RestOf("abc", 4), "");
    EXPECT_EQ(TextAfter("key=value", "="), "value");
    EXPECT_EQ(TextAfter("keyvalue", "="), "");
    EXPECT_EQ(TextBefore("key=value", "="), "key");
    EXPECT_EQ(TextBefore("keyvalue", "="), "keyvalue");
    EXPECT_EQ(TextBefore("keyvalue", ""), "keyvalue");
}

TEST(Words, TakeFirstWordAndWordIndex) {
    std::string text = "\r\n  alpha\tbeta ";
    EXPECT_EQ(TakeFirstWord(text), "alpha");
    EXPECT_EQ(text, "beta ");
    std::string blank = " \t ";
    EXPECT_EQ(TakeFirstWord(blank), "");
    EXPECT_EQ(blank, "");
    EXPECT_EQ(WordIndex("beta", "alpha beta beta"), 2u);
    EXPECT_EQ(WordIndex("Beta", "alpha beta"), 0u);
    EXPECT_EQ(WordIndex("beta", ""), 0u);
    EXPECT_EQ(WordIndex("", "  "), 1u);
}

TEST(StartsWith, WithAndWithoutCase) {
    EXPECT_TRUE(StartsWith("/SCRIPT>", "/script", true));
    EXPECT_FALSE(StartsWith("/SCRIPT>", "/script", false));
    EXPECT_FALSE(StartsWith("/scr", "/script", true));
    EXPECT_TRUE(StartsWith("anything", "", false));
}

TEST(ReplaceAll, BothModes) {
    EXPECT_EQ(ReplaceAll("a&lt;b", "&lt;", "<"), "a<b");
    EXPECT_EQ(ReplaceAll("&amp;amp;", "&amp;", "&"), "&");        // rescans
    EXPECT_EQ(ReplaceAll("a&b&", "&", "&amp;"), "a&amp;b&amp;");  // one pass, always ends
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "a"), "a");
    EXPECT_EQ(ReplaceAll("xaab", "ab", "b"), "xb");
}

// The rescanning mode as the rule states it: replace the first occurrence in the whole current
// result until none is left.
std::string NaiveRescanningReplace(std::string text, const std::string& find,
                                   const std::string& replacement) {
    for (std::size_t at = text.find(find); at != std::string::npos; at = text.find(find)) {
        text.replace(at, find.size(), replacement);
    }
    return text;
}

TEST(ReplaceAll, RescanningMatchesTheRuleOnRandomTexts) {
    std::mt19937 rng(7);
    const std::string alphabet = "&amp;lt";
    const std::pair<std::string, std::string> cases[] = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"  ", " "}, {"ab", "b"}, {"aa", "ba"}, {"la", "l"}};
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (int i = std::uniform_int_distribution<int>(0, 24)(rng); i > 0; --i) {
            text.push_back(
                alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)]);
        }
        for (const auto& [find, replacement] : cases) {
            ASSERT_EQ(ReplaceAll(text, find, replacement),
                      NaiveRescanningReplace(text, find, replacement))
                << text << " / " << find;
        }
    }
}

TEST(SmallHelpers, PluralAppendLetterZeroPad) {
    EXPECT_EQ(PluralSuffix(1, "s"), "");
    EXPECT_EQ(PluralSuffix(0, "s"), "s");
    EXPECT_EQ(PluralSuffix(2, "s"), "s");
    EXPECT_EQ(AppendWithSeparator("", "\r\n", "x"), "x");
    EXPECT_EQ(AppendWithSeparator("a\r\n", "\r\n", "x"), "a\r\nx");
    EXPECT_EQ(AppendWithSeparator("a", "\r\n", "x"), "a\r\nx");
    EXPECT_EQ(AppendWithSeparator("a", "\r\n", ""), "a");
    EXPECT_EQ(ZeroPad(2006, 4), "2006");
    EXPECT_EQ(ZeroPad(7, 2), "07");
    EXPECT_EQ(ZeroPad(0, 4), "0000");
    EXPECT_EQ(ZeroPad(2006, 2), "2006");
    EXPECT_FALSE(IsLetter('5'));
    EXPECT_FALSE(IsLetter('_'));
    for (int b = 128; b < 256; ++b) {
        EXPECT_FALSE(IsLetter(static_cast<char>(b)));
    }
    EXPECT_TRUE(IsLetter('q'));
}

}  // namespace
}  // namespace velmora
