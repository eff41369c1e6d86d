#include "core/html_functions_read.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/html_functions_read_detail.h"
#include "core/kel_string_functions.h"

namespace velmora {
namespace {

using detail::DecodeEntities;
using detail::FindMetaContent;
using detail::FindMetaTagParts;
using detail::FindTagEnd;
using detail::GetMetaContent;
using detail::GetTextBetween;
using detail::MetaContentPosition;
using detail::MetaTagParts;

using Keywords = std::vector<std::string>;

TEST(GetTitle, ReadsTheTitleElementInItsOwnCase) {
    EXPECT_EQ(GetTitle("<HEAD><TITLE>Cheap Web Hosting</TITLE></HEAD>"), "Cheap Web Hosting");
    EXPECT_EQ(GetTitle("<title> two\r\nlines </title>"), " two\r\nlines ");
    EXPECT_EQ(GetTitle("<title>Fish &amp; Chips &#39;</title>"), "Fish & Chips &#39;");
    EXPECT_EQ(GetTitle("<title>first</title><title>second</title>"), "first");
    // Empty when the element cannot be read.
    EXPECT_EQ(GetTitle("</title><title>x</title>"), "");
    EXPECT_EQ(GetTitle("<title></title>"), "");
    EXPECT_EQ(GetTitle("<title lang=\"en\">x</title>"), "");
    EXPECT_EQ(GetTextBetween("a<b>c</b>", "", "</b>"), "");
    EXPECT_EQ(GetTextBetween("a<B>c</b>", "<b>", "</B>"), "c");
}

TEST(FindTagEnd, SkipsQuotedParts) {
    EXPECT_EQ(FindTagEnd("<a href=\"x>y\">", 1, '>'), 14u);
    EXPECT_EQ(FindTagEnd("<a title='x\">y'>", 1, '>'), 16u);
    EXPECT_EQ(FindTagEnd("x<b>", 2, '>'), 4u);
    // No terminator outside quotes: the last byte of the text.
    EXPECT_EQ(FindTagEnd("<a b=\">\"", 1, '>'), 8u);
    EXPECT_EQ(FindTagEnd("", 1, '>'), 0u);
    EXPECT_EQ(FindTagEnd("<a>", 9, '>'), 3u);
}

TEST(FindMetaTag, MatchesOneOrTwoSpacesAndTheNameInAnyCase) {
    const std::string text = "x<META NAME=\"Keywords\" CONTENT=\"a, b\">y";
    const MetaTagPosition tag = FindMetaTag(text, "keywords");
    EXPECT_TRUE(tag.found);
    EXPECT_EQ(tag.TagStart, 2u);
    EXPECT_EQ(tag.TagEnd, text.size() - 1);

    EXPECT_TRUE(FindMetaTag("<meta  name=\"keywords\" content=\"a\">", "keywords").found);
    EXPECT_FALSE(FindMetaTag("<meta   name=\"keywords\" content=\"a\">", "keywords").found);
    EXPECT_FALSE(FindMetaTag("<meta content=\"a\" name=\"keywords\">", "keywords").found);
    EXPECT_FALSE(FindMetaTag("<meta name='keywords' content=\"a\">", "keywords").found);
    EXPECT_FALSE(FindMetaTag("<meta name=\"keywordsx\" content=\"a\">", "keywords").found);

    // A one-space tag anywhere wins over an earlier two-space tag.
    const std::string both =
        "<meta  name=\"keywords\" content=\"two\">\r\n<meta name=\"keywords\" content=\"one\">";
    EXPECT_EQ(FindMetaTag(both, "keywords").TagStart, 40u);
    EXPECT_EQ(FindMetaTag("<meta charset=\"x\"><meta  name=\"keywords\">", "keywords").TagStart,
              19u);
    EXPECT_EQ(GetMetaKeywords(both), "one");
}

TEST(FindMetaTag, TagWithoutClosingBracketEndsBeforeItsLineBreakOrNextTag) {
    const std::string text = "<meta name=\"keywords\" content=\"a\r\nrest";
    const MetaTagParts parts = FindMetaTagParts(text, "keywords");
    EXPECT_TRUE(parts.tag.found);
    EXPECT_FALSE(parts.closed);
    EXPECT_EQ(parts.tag.TagEnd, text.find('\r'));
    EXPECT_EQ(FindMetaTag("<meta name=\"keywords\" content=\"a<b>", "keywords").TagEnd, 32u);
    EXPECT_EQ(FindMetaTag("<meta name=\"keywords\"", "keywords").TagEnd, 21u);
}

TEST(FindMetaContent, LocatesTheDoubleQuotedValue) {
    const MetaContentPosition value =
        FindMetaContent("<meta name=\"description\" content=\"abc\">", "description");
    EXPECT_TRUE(value.found);
    EXPECT_EQ(value.ValueStart, 35u);
    EXPECT_EQ(value.ValueLength, 3u);

    const MetaContentPosition empty =
        FindMetaContent("<meta name=\"description\" content=\"\">", "description");
    EXPECT_TRUE(empty.found);
    EXPECT_EQ(empty.ValueLength, 0u);

    const MetaTagParts parts = FindMetaTagParts("<meta  name=\"DeScription\">", "description");
    EXPECT_EQ(parts.NameStart, 14u);
    EXPECT_EQ(parts.NameLength, 11u);
    EXPECT_FALSE(parts.content.found);
}

TEST(GetMetaContent, ReadsTheContentAttributeAfterTheName) {
    EXPECT_EQ(GetMetaContent("<meta name=\"description\" lang=\"en\" content = \"Web hosting\">",
                             "description"),
              "Web hosting");
    EXPECT_EQ(GetMetaContent("<meta name=\"description\" title=\"a > b\" content=\"after\">",
                             "description"),
              "after");
    EXPECT_EQ(GetMetaContent("<meta name=\"description\"\r\n  CONTENT=\"x\" />", "description"),
              "x");
    // "content" inside another attribute's name or value is not the content attribute.
    EXPECT_EQ(GetMetaContent("<meta name=\"d\" data-content=\"no\" content=\"yes\">", "d"), "yes");
    EXPECT_EQ(GetMetaContent("<meta name=\"d\" title='content=\"no\"' content=\"yes\">", "d"),
              "yes");
    EXPECT_EQ(GetMetaContent("<meta name=\"d\" x=a'content=\"no\"' content=\"yes\">", "d"), "yes");
}

TEST(GetMetaContent, EmptyForTagsWithoutAReadableValue) {
    // Without the word content the name itself must not be read as the value.
    EXPECT_EQ(GetMetaContent("<meta name=\"keywords\">", "keywords"), "");
    EXPECT_EQ(GetMetaContent("<meta name=\"contentx\" lang=\"en\">", "contentx"), "");
    EXPECT_EQ(GetMetaContent("<meta name=\"keywords\" lang=\"content\">", "keywords"), "");
    EXPECT_EQ(GetMetaContent("<meta name=\"keywords\" content>", "keywords"), "");
    EXPECT_EQ(GetMetaContent("<meta name=\"keywords\" content='a, b' lang=\"en\">", "keywords"),
              "");
    EXPECT_EQ(GetMetaContent("<meta name=\"keywords\" content=a lang=\"en\">", "keywords"), "");
    EXPECT_EQ(GetMetaContent("<meta name=\"keywords\" content=\"a>", "keywords"), "");
    EXPECT_EQ(GetMetaContent("<meta name=\"keywords\" content=\"a\r\n\"b\">", "keywords"), "");
}

TEST(GetMetaKeywordsAndDescription, DecodeTheirValues) {
    const std::string page =
        "<HEAD>\r\n<META NAME=\"KEYWORDS\" CONTENT=\"a, b\">\r\n"
        "<meta name=\"description\" content=\"Fish &amp; Chips &lt;2&gt;\">\r\n</HEAD>";
    EXPECT_EQ(GetMetaKeywords(page), "a, b");
    EXPECT_EQ(SplitKeywords(GetMetaKeywords(page)), (Keywords{"a", "b"}));
    EXPECT_EQ(GetDescription(page), "Fish & Chips <2>");
}

TEST(DecodeEntities, DecodesFiveEntitiesInOrder) {
    EXPECT_EQ(DecodeEntities("Fish &amp; Chips"), "Fish & Chips");
    EXPECT_EQ(DecodeEntities("&lt;&gt;&nbsp;&quot;"), "<> \"");
    EXPECT_EQ(DecodeEntities("&LT;&GT;&AMP;&NBSP;&QUOT;"), "&LT;&GT;&AMP;&NBSP;&QUOT;");
    EXPECT_EQ(DecodeEntities("&#39;&eacute;"), "&#39;&eacute;");
    EXPECT_EQ(DecodeEntities("&amp;lt;"), "&lt;");
    EXPECT_EQ(DecodeEntities("&amp;nbsp;"), " ");
    EXPECT_EQ(DecodeEntities("&amp;quot;"), "\"");
    EXPECT_EQ(DecodeEntities("&amp;amp;"), "&");
    EXPECT_EQ(DecodeEntities(std::string("a\0&lt;", 6)), std::string("a\0<", 3));
}

// The decoder must give exactly what ReplaceAll gives, step by step.
TEST(DecodeEntities, AgreesWithReplaceAllOnRandomTexts) {
    const std::string alphabet = "&&&;;amplgtnbsquo x";
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int i = round % 40; i > 0; --i) {
            text.push_back(alphabet[pick(rng)]);
        }
        std::string expected = ReplaceAll(text, "&lt;", "<");
        expected = ReplaceAll(expected, "&gt;", ">");
        expected = ReplaceAll(expected, "&amp;", "&");
        expected = ReplaceAll(expected, "&nbsp;", " ");
        expected = ReplaceAll(expected, "&quot;", "\"");
        ASSERT_EQ(DecodeEntities(text), expected) << text;
    }
}

TEST(SplitKeywords, SplitsAtCommasAndDropsEmptyItems) {
    EXPECT_EQ(SplitKeywords("alpha, beta ,,gamma ,"), (Keywords{"alpha", "beta", "gamma"}));
    EXPECT_EQ(SplitKeywords(" \t\r\n "), Keywords{});
    EXPECT_EQ(SplitKeywords(",a;b,c\r\nd, Web ,web,Web"),
              (Keywords{"a;b", "c\r\nd", "Web", "web", "Web"}));
    EXPECT_EQ(SplitKeywords(std::string("\0x\x1F,\x7F", 5)), (Keywords{"x", "\x7F"}));
}

TEST(HeadReader, OddTextsGiveDefinedResults) {
    for (const std::string text : {"", "<", "'\"'", "<meta name=\"", "<meta name=\"keywords\" '",
                                   "<meta name=\"keywords\" content=\"", "</title><title>"}) {
        EXPECT_EQ(GetTitle(text), "") << text;
        EXPECT_EQ(GetMetaKeywords(text), "") << text;
    }
    EXPECT_EQ(GetMetaKeywords(std::string("<meta name=\"keywords\" content=\"a\0b\">\0", 37)),
              std::string("a\0b", 3));
}

TEST(HeadReader, LargeTextsOfOneByteEnd) {
    for (const char c : {'<', '\'', '>', '\0'}) {
        const std::string text(2 << 20, c);
        EXPECT_EQ(GetTitle(text), "");
        EXPECT_EQ(GetMetaKeywords(text), "");
        EXPECT_EQ(FindTagEnd(text, 1, '>'), c == '>' ? 1u : text.size());
    }
    const std::string open = "<meta name=\"keywords\" content=\"" + std::string(2 << 20, '"');
    EXPECT_EQ(GetMetaKeywords(open), "");
    std::string entities = "<meta name=\"description\" content=\"";
    for (int i = 0; i < (1 << 18); ++i) {
        entities += "&amp;lt;";
    }
    entities += "\">";
    EXPECT_EQ(GetDescription(entities).size(), 1u << 20);
}

}  // namespace
}  // namespace velmora
