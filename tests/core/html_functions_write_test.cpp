#include "core/html_functions_write.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/head_lines.h"
#include "core/html_functions_read.h"
#include "core/html_functions_read_detail.h"
#include "core/html_functions_write_detail.h"

namespace velmora {
namespace {

using detail::EncodeEntities;
using detail::FindMetaTagParts;
using detail::FindTextInsensitive;
using detail::MetaTagParts;
using detail::RemoveMetaTag;
using detail::SetMetaContent;

using Keywords = std::vector<std::string>;

TEST(EncodeEntities, EncodesMarkupBytes) {
    EXPECT_EQ(EncodeEntities("Fish & Chips <2>"), "Fish &amp; Chips &lt;2&gt;");
    EXPECT_EQ(EncodeEntities("say \"hi\""), "say &quot;hi&quot;");
    EXPECT_EQ(EncodeEntities("it's caf\xE9  \r\n"), "it's caf\xE9  \r\n");
}

TEST(EncodeEntities, KeepsReferencesTheReaderLeavesAlone) {
    EXPECT_EQ(EncodeEntities("Caf&eacute; de Paris"), "Caf&eacute; de Paris");
    EXPECT_EQ(EncodeEntities("&#39;&#x41;&#X4f;&frac12;&AMP;"), "&#39;&#x41;&#X4f;&frac12;&AMP;");
    EXPECT_EQ(EncodeEntities("&lt;&gt;&amp;&nbsp;&quot;"),
              "&amp;lt;&amp;gt;&amp;amp;&amp;nbsp;&amp;quot;");
    EXPECT_EQ(EncodeEntities("&;&#;&#x;&#xg;&1a;&a-b;&a b;&#12&"),
              "&amp;;&amp;#;&amp;#x;&amp;#xg;&amp;1a;&amp;a-b;&amp;a b;&amp;#12&amp;");
}

TEST(SetTitle, ReplacesOnlyTheTextOfTheElement) {
    EXPECT_EQ(SetTitle("<HEAD><TITLE>Old</TITLE></HEAD>", "New"),
              "<HEAD><TITLE>New</TITLE></HEAD>");
    const std::string written = SetTitle("<title>x</title>", "Fish & Chips <2>");
    EXPECT_EQ(written, "<title>Fish &amp; Chips &lt;2&gt;</title>");
    EXPECT_EQ(GetTitle(written), "Fish & Chips <2>");
}

TEST(SetTitle, InsertsAMissingElementAfterTheHeadStartTag) {
    EXPECT_EQ(SetTitle("<html>\r\n<head>\r\n</head>", "New"),
              "<html>\r\n<head><title>New</title>\r\n</head>");
    EXPECT_EQ(SetTitle("<!DOCTYPE html>\r\n<html>", "New"),
              "<!DOCTYPE html>\r\n<html><title>New</title>");
    EXPECT_EQ(SetTitle("<head lang=\"en\">", "New"), "<title>New</title><head lang=\"en\">");

    const std::string empty = SetTitle("<head>\r\n<title></title>\r\n</head>", "New");
    EXPECT_EQ(empty, "<head><title>New</title>\r\n<title></title>\r\n</head>");
    EXPECT_EQ(GetTitle(empty), "New");
}

TEST(SetTitle, NewElementGoesInFrontWhenATitleTagPrecedesTheHead) {
    // After the head start tag the reader would meet the older tags first.
    EXPECT_EQ(SetTitle("<title></title><head></head>", "New"),
              "<title>New</title><title></title><head></head>");
    EXPECT_EQ(SetTitle("</title><head><title>x", "New"),
              "<title>New</title></title><head><title>x");
}

TEST(SetDescription, ReplacesTheValueAndKeepsTheTag) {
    EXPECT_EQ(
        SetDescription("<HEAD><META NAME=\"DESCRIPTION\" lang=\"en\"  CONTENT=\"old\"></HEAD>",
                       "New \"text\"\r\nline"),
        "<HEAD><META NAME=\"DESCRIPTION\" lang=\"en\"  CONTENT=\"New &quot;text&quot;\r\n"
        "line\"></HEAD>");
    EXPECT_EQ(SetDescription("<meta  name=\"description\" content=\"\">", "x"),
              "<meta  name=\"description\" content=\"x\">");
}

TEST(SetDescription, InsertsAMissingTagBeforeTheHeadEndTag) {
    EXPECT_EQ(
        SetDescription("<head>\r\n<title>t</title>\r\n</Head>", "New"),
        "<head>\r\n<title>t</title>\r\n<meta name=\"DESCRIPTION\" content=\"New\">\r\n</Head>");
    EXPECT_EQ(SetDescription("<html><body>", "New"),
              "<html><meta name=\"DESCRIPTION\" content=\"New\"><body>");
    EXPECT_EQ(SetDescription("<body>", "New"), "<meta name=\"DESCRIPTION\" content=\"New\"><body>");
}

TEST(SetKeywords, JoinsTheListWithCommas) {
    const std::string page = "<head>\r\n<meta name=\"keywords\" content=\"old, words\">\r\n</head>";
    EXPECT_EQ(SetKeywords(page, {"alpha", "beta gamma", "delta"}),
              "<head>\r\n<meta name=\"keywords\" content=\"alpha,beta gamma,delta\">\r\n</head>");
    EXPECT_EQ(SetKeywords(page, {}), "<head>\r\n<meta name=\"keywords\" content=\"\">\r\n</head>");
    EXPECT_EQ(SetKeywords("</head>", {}), "<meta name=\"KEYWORDS\" content=\"\">\r\n</head>");
    EXPECT_EQ(SetKeywords("</head>", {" a", "", "b&c"}),
              "<meta name=\"KEYWORDS\" content=\" a,,b&amp;c\">\r\n</head>");
}

TEST(SetMetaContent, RewritesATagWithoutReadableContentWhereItStands) {
    const std::string tail = "\r\n<title>t</title>\r\n</head>";
    const auto set = [&](const std::string& tag) {
        return SetKeywords("<head>\r\n" + tag + tail, {"a", "b"});
    };
    const std::string keywords = "<head>\r\n<meta name=\"keywords\" content=\"a,b\">" + tail;
    EXPECT_EQ(set("<meta name=\"keywords\" content>"), keywords);
    EXPECT_EQ(set("<meta name=\"keywords\" content='x' lang=\"en\">"), keywords);
    EXPECT_EQ(set("<meta name=\"keywords\" content=x>"), keywords);
    EXPECT_EQ(set("<meta name=\"keywords\" content=\"x>"), keywords);
    EXPECT_EQ(set("<meta name=\"keywords\" lang=\"content\">"), keywords);
    EXPECT_EQ(set("<meta  name=\"Keywords\" http-equiv=\"x\">"),
              "<head>\r\n<meta name=\"Keywords\" content=\"a,b\">" + tail);
    EXPECT_EQ(SetMetaContent("<meta name=\"contentx\" lang=\"en\">", "contentx", "v"),
              "<meta name=\"contentx\" content=\"v\">");
}

TEST(SetMetaContent, WrittenValueIsReadBackAheadOfALaterTagOfTheSameName) {
    const std::string page =
        "<head>\r\n<meta name=\"keywords\" content>\r\n"
        "<meta name=\"keywords\" content=\"old\">\r\n</head>";
    EXPECT_EQ(GetMetaKeywords(SetKeywords(page, {"new"})), "new");
}

TEST(RemoveMetaTag, CutsTheTagAndKeepsItsLineBreak) {
    EXPECT_EQ(RemoveMetaTag("<head>\r\n<META name=\"keywords\" a='>'>\r\n</head>", "keywords"),
              "<head>\r\n\r\n</head>");
    EXPECT_EQ(RemoveMetaTag("<head></head>", "keywords"), "<head></head>");
}

TEST(RemoveMetaTag, TagWithoutClosingBracketNeverTakesTheRestOfThePage) {
    const std::string rest = "\r\n</head>\r\n<body>It's here</body>";
    EXPECT_EQ(RemoveMetaTag("<head>\r\n<meta name=\"keywords\" content=\"a, b" + rest, "keywords"),
              "<head>\r\n" + rest);
    EXPECT_EQ(RemoveMetaTag("<meta name=\"keywords\" content=\"a<b>It's</b>", "keywords"),
              "<b>It's</b>");
    EXPECT_EQ(SetKeywords("<head>\r\n<meta name=\"keywords\" content=\"a\" x=\"" + rest, {"z"}),
              "<head>\r\n<meta name=\"keywords\" content=\"z\">" + rest);
}

// Without a head, a new tag must not go before the doctype (quirks mode) or before a leading PHP
// block (its header() calls would fail after output).
TEST(InsertIntoHead, WithoutAHeadTheTagGoesAfterTheLeadingPrologue) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"<!DOCTYPE html>\r\n<p>x", "<!DOCTYPE html><t>\r\n<p>x"},
        {"<!doctype HTML SYSTEM \"a>b\">\n<html lang=\"en\">\n<body>",
         "<!doctype HTML SYSTEM \"a>b\">\n<html lang=\"en\"><t>\n<body>"},
        {"<?php header('X: 1'); ?>\r\n<?php session_start(); ?>\r\n<!DOCTYPE html><HTML>x",
         "<?php header('X: 1'); ?>\r\n<?php session_start(); ?>\r\n<!DOCTYPE html><HTML><t>x"},
        {"<?xml version=\"1.0\"?>\n<html>", "<?xml version=\"1.0\"?>\n<html><t>"},
        {"\xEF\xBB\xBF  \r\n<!DOCTYPE html>", "\xEF\xBB\xBF  \r\n<!DOCTYPE html><t>"},
        {"<?php header('X: 1'); ?>\n<p>", "<?php header('X: 1'); ?><t>\n<p>"},
        {"<?php echo 1; ?><body>", "<?php echo 1; ?><t><body>"},
        // Not a doctype or an html start tag: the tag goes in front, as before.
        {"<body>", "<t><body>"},
        {"<htmlish><p>", "<t><htmlish><p>"},
        {"<p><!DOCTYPE html>", "<t><p><!DOCTYPE html>"},
        // A PHP block that never closes stops the skipping in front of it.
        {"<!DOCTYPE html>\n<?php echo 1;", "<!DOCTYPE html><t>\n<?php echo 1;"},
        {"  <?php echo 1;", "  <t><?php echo 1;"},
        {"  <body>", "<t>  <body>"},
        // Only one doctype and one html tag are passed over.
        {"<html><html>", "<html><t><html>"},
        {"", "<t>"},
    };
    for (const auto& [page, expected] : cases) {
        EXPECT_EQ(InsertIntoHead(page, "<t>"), expected) << page;
    }
    EXPECT_EQ(SetDescription("<?php header('X: 1'); ?>\n<!DOCTYPE html>\n<p>x", "d"),
              "<?php header('X: 1'); ?>\n<!DOCTYPE html><meta name=\"DESCRIPTION\" "
              "content=\"d\">\n<p>x");
    EXPECT_EQ(SetTitle("<?php header('X: 1'); ?>\n<p>x", "T"),
              "<?php header('X: 1'); ?><title>T</title>\n<p>x");
    // A title tag within what is passed over would be read before the new one.
    EXPECT_EQ(SetTitle("<?php $t = '<title>'; ?><p>", "T"),
              "<title>T</title><?php $t = '<title>'; ?><p>");
}

TEST(InsertIntoHead, PutsTheTagOnItsOwnLineBeforeTheHeadEndTag) {
    EXPECT_EQ(InsertIntoHead("<head></HeAd></head>", "<t>"), "<head><t>\r\n</HeAd></head>");
    EXPECT_EQ(InsertIntoHead("<head>\r\n  <title>t</title>\r\n  </head>", "<t>"),
              "<head>\r\n  <title>t</title>\r\n  <t>\r\n  </head>");
    EXPECT_EQ(InsertIntoHead("<head>\r\n<title>t</title>\r\n</head>", "<t>"),
              "<head>\r\n<title>t</title>\r\n<t>\r\n</head>");
    EXPECT_EQ(InsertIntoHead("<body>", "<t>"), "<t><body>");
    EXPECT_EQ(FindTextInsensitive("x<Head>", "<HEAD>"), 2u);
    EXPECT_EQ(FindTextInsensitive("x<Head>", "</HEAD>"), 0u);
}

// Random pages built from fragments that trouble the reader: what is written is read back, and
// nothing outside the replaced or inserted bytes changes.
class WriterProperty : public ::testing::Test {
protected:
    std::string RandomText(const std::vector<std::string>& fragments, int count) {
        std::uniform_int_distribution<std::size_t> pick(0, fragments.size() - 1);
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += fragments[pick(rng_)];
        }
        return text;
    }

    std::string RandomValue() {
        static const std::vector<std::string> pieces = {
            "a", "B c", "&", "&lt;", "&eacute;", "&#39;", "<", ">", "\"", "'", ";", "\r\n", ",",
        };
        std::string value = RandomText(pieces, static_cast<int>(rng_() % 6));
        for (const char* bad : {"&amp;", "&nbsp;", "&quot;"}) {
            if (value.find(bad) != std::string::npos) {
                return "plain";
            }
        }
        return value;
    }

    std::mt19937 rng_{11};
};

// The inserted bytes sit at one place: cutting them out gives the old text back.
void ExpectInsertedOnly(const std::string& before, const std::string& after,
                        const std::string& inserted) {
    for (std::size_t at = after.find(inserted); at != std::string::npos;
         at = after.find(inserted, at + 1)) {
        if (after.substr(0, at) + after.substr(at + inserted.size()) == before) {
            return;
        }
    }
    ADD_FAILURE() << "inserted " << inserted << " into " << before << " gives " << after;
}

TEST_F(WriterProperty, WrittenValuesReadBackAndNothingElseChanges) {
    const std::vector<std::string> fragments = {
        "<head>",
        "</head>",
        "<HEAD>",
        "<title>",
        "</TITLE>",
        "text ",
        "\r\n",
        "\"",
        "'",
        ">",
        "<",
        "<meta name=\"keywords\" content=\"a, b\">",
        "<meta  name=\"keywords\"",
        "<meta name=\"description\"",
        " content=",
        " content='x'",
        " content=\"d\"",
        " lang=\"en\"",
        "<META NAME=\"DESCRIPTION\" CONTENT=\"D\">",
        "<meta name=\"keywords\" content>",
    };
    for (int round = 0; round < 3000; ++round) {
        const std::string text = RandomText(fragments, 1 + round % 12);
        const std::string value = RandomValue();

        const std::string titled = SetTitle(text, value);
        EXPECT_EQ(GetTitle(titled), value) << text;

        const MetaTagParts parts = FindMetaTagParts(text, "DESCRIPTION");
        const std::string described = SetDescription(text, value);
        EXPECT_EQ(GetDescription(described), value) << text;
        if (!parts.tag.found) {
            // Before a head end tag the new tag takes a line of its own, indented as the line
            // above when the end tag begins its line.
            std::string inserted =
                "<meta name=\"DESCRIPTION\" content=\"" + EncodeEntities(value) + "\">";
            if (const std::size_t headEnd = FindTextInsensitive(text, "</head>"); headEnd != 0) {
                const TagPlacement place = PlaceBeforeHeadEnd(text, headEnd - 1);
                inserted =
                    place.after.empty() ? inserted + "\r\n" : place.before + inserted + place.after;
            }
            ExpectInsertedOnly(text, described, inserted);
        } else {
            const std::string head = text.substr(0, parts.tag.TagStart - 1);
            const std::string tail = text.substr(parts.tag.TagEnd);
            EXPECT_TRUE(described.starts_with(head) && described.ends_with(tail)) << text;
            EXPECT_EQ(described.substr(parts.NameStart - 1, parts.NameLength),
                      text.substr(parts.NameStart - 1, parts.NameLength));
        }

        const Keywords keywords = SplitKeywords(RandomText({"a", "b", " ", ",", "&", "<"}, 8));
        EXPECT_EQ(SplitKeywords(GetMetaKeywords(SetKeywords(text, keywords))), keywords) << text;
    }
}

TEST(HeadWriter, OddAndLargeTextsGiveDefinedResults) {
    const std::vector<std::string> texts = {
        "",
        "<",
        "\"'",
        "<meta name=\"keywords\"",
        "<meta name=\"keywords\" content=\"",
        std::string("<head>\0</head>", 14),
        std::string(2 << 20, '<'),
        std::string(2 << 20, '"'),
        "<meta name=\"keywords\" content=\"" + std::string(2 << 20, '\''),
    };
    for (const std::string& text : texts) {
        EXPECT_EQ(GetTitle(SetTitle(text, "T")), "T");
        EXPECT_EQ(GetDescription(SetDescription(text, "D")), "D");
        EXPECT_EQ(GetMetaKeywords(SetKeywords(text, {"k"})), "k");
        EXPECT_LE(RemoveMetaTag(text, "keywords").size(), text.size());
    }
}

}  // namespace
}  // namespace velmora
