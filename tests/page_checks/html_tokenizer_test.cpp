#include "page_checks/html_tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "page_checks/character_references.h"

namespace velmora::page_checks {
namespace {

// A token in a form that is easy to compare: "<a href=x title=y>", "</a>", "text", "#comment".
std::vector<std::string> Read(std::string_view page) {
    std::vector<std::string> out;
    HtmlTokenizer tokenizer(page);
    Token token;
    std::size_t expectedBegin = 0;
    while (tokenizer.Next(token)) {
        EXPECT_EQ(token.begin, expectedBegin) << "every byte belongs to one token";
        EXPECT_LT(token.begin, token.end);
        expectedBegin = token.end;
        std::string shown;
        switch (token.kind) {
            case TokenKind::Text:
                shown =
                    token.decodesReferences ? DecodeAttribute(token.text) : std::string(token.text);
                break;
            case TokenKind::StartTag:
                shown.append("<").append(token.text);
                for (const Attribute& attribute : token.attributes) {
                    shown.append(" ").append(attribute.name).append("=").append(attribute.value);
                }
                shown += token.selfClosing ? "/>" : ">";
                break;
            case TokenKind::EndTag:
                shown.append("</").append(token.text).append(">");
                break;
            case TokenKind::Comment:
                shown = "#comment";
                break;
            case TokenKind::Doctype:
                shown = "#doctype";
                break;
            case TokenKind::Dropped:
                shown = "#dropped";
                break;
        }
        if (token.inSvgOrMath) {
            shown.insert(0, "svg:");
        }
        out.push_back(shown);
    }
    EXPECT_EQ(expectedBegin, page.size());
    return out;
}

using Tokens = std::vector<std::string>;

TEST(HtmlTokenizer, ReadsEveryAttributeQuotingForm) {
    EXPECT_EQ(Read("<META NAME=\"a b\" content='c \"d\"' x=e/f checked data-y = z >"),
              (Tokens{"<meta name=a b content=c \"d\" x=e/f checked= data-y=z>"}));
    EXPECT_EQ(Read("<img src=a.png/>"), (Tokens{"<img src=a.png/>"}));
    EXPECT_EQ(Read("<br/><p/x>"), (Tokens{"<br/>", "<p x=>"}));
    // The first of two equal names counts; a stray "=" starts a name.
    EXPECT_EQ(Read("<a href=1 HREF=2 =x>"), (Tokens{"<a href=1 =x=>"}));
    // Quotes and "<" inside an unquoted name or value belong to it.
    EXPECT_EQ(Read("<a b\"c=d<e>"), (Tokens{"<a b\"c=d<e>"}));
}

TEST(HtmlTokenizer, CommentsDoctypeAndBogusComments) {
    EXPECT_EQ(Read("<!DOCTYPE html><!-- <title>x</title> -->a"),
              (Tokens{"#doctype", "#comment", "a"}));
    EXPECT_EQ(Read("<!-->a<!--->b<!-- -- --!>c"),
              (Tokens{"#comment", "a", "#comment", "b", "#comment", "c"}));
    EXPECT_EQ(Read("<?php echo 1 ?>a</ x>b<!x>c</>d"),
              (Tokens{"#comment", "a", "#comment", "b", "#comment", "c", "#dropped", "d"}));
    // In HTML, CDATA is a bogus comment up to the first ">".
    EXPECT_EQ(Read("<![CDATA[<b>]]>x"), (Tokens{"#comment", "]]>x"}));
}

TEST(HtmlTokenizer, TextThatIsNotATag) {
    EXPECT_EQ(Read("a < b <3 and 5<6 <"), (Tokens{"a < b <3 and 5<6 <"}));
    EXPECT_EQ(Read("x</"), (Tokens{"x</"}));
}

TEST(HtmlTokenizer, RawTextElementsHoldNoTags) {
    EXPECT_EQ(Read("<title>A <b>&amp; B</title>"), (Tokens{"<title>", "A <b>& B", "</title>"}));
    EXPECT_EQ(Read("<style>p>a{}</STYLE >x"), (Tokens{"<style>", "p>a{}", "</style>", "x"}));
    EXPECT_EQ(Read("<textarea></textareax></textarea>"),
              (Tokens{"<textarea>", "</textareax>", "</textarea>"}));
    EXPECT_EQ(Read("<noscript><h1>x</h1></noscript>"),
              (Tokens{"<noscript>", "<h1>x</h1>", "</noscript>"}));
    EXPECT_EQ(Read("<plaintext></plaintext><b>"), (Tokens{"<plaintext>", "</plaintext><b>"}));
    // Character references are decoded in title and textarea only.
    EXPECT_EQ(Read("<script>a&amp;b</script>"), (Tokens{"<script>", "a&amp;b", "</script>"}));
}

TEST(HtmlTokenizer, ScriptStringsAndEscapesHideTags) {
    EXPECT_EQ(Read("<script>var s = '<h1>x</h1>';</script><p>"),
              (Tokens{"<script>", "var s = '<h1>x</h1>';", "</script>", "<p>"}));
    // Inside "<!--", a "<script>" makes the next "</script>" part of the script.
    EXPECT_EQ(Read("<script><!-- <script></script> --></script>x"),
              (Tokens{"<script>", "<!-- <script></script> -->", "</script>", "x"}));
    EXPECT_EQ(Read("<script><!-- a </script>x"), (Tokens{"<script>", "<!-- a ", "</script>", "x"}));
    EXPECT_EQ(Read("<script><!--><script></script>x"),
              (Tokens{"<script>", "<!--><script>", "</script>", "x"}));
    EXPECT_EQ(Read("<script>a</scripts></script >"),
              (Tokens{"<script>", "a</scripts>", "</script>"}));
}

TEST(HtmlTokenizer, SvgAndMathContentIsForeign) {
    // <style> in SVG is no raw-text element, and <b> ends the SVG content.
    EXPECT_EQ(Read("<svg><title>Icon</title><style><b></style></svg><title>T</title>"),
              (Tokens{"svg:<svg>", "svg:<title>", "svg:Icon", "svg:</title>", "svg:<style>", "<b>",
                      "</style>", "</svg>", "<title>", "T", "</title>"}));
    // An HTML tag that cannot stand in SVG ends it; <foreignObject> holds HTML again.
    EXPECT_EQ(Read("<svg><g><p>x"), (Tokens{"svg:<svg>", "svg:<g>", "<p>", "x"}));
    EXPECT_EQ(Read("<svg><foreignObject><style><b></style></foreignObject></svg>"),
              (Tokens{"svg:<svg>", "svg:<foreignobject>", "svg:<style>", "svg:<b>", "svg:</style>",
                      "svg:</foreignobject>", "svg:</svg>"}));
    // HTML inside <mi> reads by HTML rules, yet it is still the formula's, not the page's.
    EXPECT_EQ(Read("<math><mi><style><b></style></mi></math><h1>"),
              (Tokens{"svg:<math>", "svg:<mi>", "svg:<style>", "svg:<b>", "svg:</style>",
                      "svg:</mi>", "svg:</math>", "<h1>"}));
    // CDATA is text in SVG.
    EXPECT_EQ(Read("<svg><![CDATA[<a>]]></svg>"), (Tokens{"svg:<svg>", "svg:<a>", "svg:</svg>"}));
    EXPECT_EQ(Read("<svg/><a>"), (Tokens{"svg:<svg/>", "<a>"}));
}

TEST(HtmlTokenizer, SelectIgnoresRawTextElementsButScript) {
    EXPECT_EQ(
        Read("<select><title><option>a</select><title>b</title>"),
        (Tokens{"<select>", "<title>", "<option>", "a", "</select>", "<title>", "b", "</title>"}));
    EXPECT_EQ(
        Read("<select><script>'<b>'</script><textarea><b></textarea>"),
        (Tokens{"<select>", "<script>", "'<b>'", "</script>", "<textarea>", "<b>", "</textarea>"}));
    EXPECT_EQ(Read("<select><svg><style><b></style>"),
              (Tokens{"<select>", "<svg>", "<style>", "<b>", "</style>"}));
}

TEST(HtmlTokenizer, PagesCutOffAnywhere) {
    EXPECT_EQ(Read("a<!-- never closed <b>"), (Tokens{"a", "#comment"}));
    EXPECT_EQ(Read("<script>if (a<b) {"), (Tokens{"<script>", "if (a<b) {"}));
    EXPECT_EQ(Read("<title>x</title"), (Tokens{"<title>", "x</title"}));
    EXPECT_EQ(Read("<title>x</title "), (Tokens{"<title>", "x", "#dropped"}));
    EXPECT_EQ(Read("<a href=\"x>y"), (Tokens{"#dropped"}));
    EXPECT_EQ(Read("<a b"), (Tokens{"#dropped"}));
}

TEST(HtmlTokenizer, HugePagesStayLinear) {
    std::string nested;
    for (int i = 0; i < 100000; ++i) {
        nested += "<div><svg><g>";
    }
    std::size_t count = 0;
    HtmlTokenizer deep(nested);
    Token token;
    while (deep.Next(token)) {
        ++count;
    }
    EXPECT_EQ(count, 300000u);

    const std::string attribute = "<a title=\"" + std::string(10 * 1024 * 1024, 'x') + "\">t</a>";
    HtmlTokenizer wide(attribute);
    ASSERT_TRUE(wide.Next(token));
    ASSERT_EQ(token.attributes.size(), 1u);
    EXPECT_EQ(token.attributes[0].value.size(), 10u * 1024 * 1024);

    std::string many = "<a";
    for (int i = 0; i < 200000; ++i) {
        many += " a" + std::to_string(i % 150000);
    }
    many += ">";
    HtmlTokenizer manyAttributes(many);
    ASSERT_TRUE(manyAttributes.Next(token));
    EXPECT_EQ(token.attributes.size(), 150000u);
}

}  // namespace
}  // namespace velmora::page_checks
