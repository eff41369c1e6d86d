#include "analysis/compressed_html.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <string_view>

#include "bench/page_generator.h"
#include "tests/analysis/compression_by_bytes.h"

namespace velmora {
namespace {

TEST(CompressHtml, PlainTextBlanksAndLines) {
    EXPECT_EQ(CompressHtml("  a  b  \r\n"), "a b\r\n");
    EXPECT_EQ(CompressHtml("a\r\n\r\n \t \r\nb\r\n"), "a\r\nb\r\n");
    EXPECT_EQ(CompressHtml("a\tb"), "a b");
    EXPECT_EQ(CompressHtml("a\t\r\n"), "a\r\n");
    EXPECT_EQ(CompressHtml("a  "), "a");
    EXPECT_EQ(CompressHtml("a\nb\n"), "ab");
    EXPECT_EQ(CompressHtml("a\rb"), "a\r\nb");
    EXPECT_EQ(CompressHtml(""), "");
    EXPECT_EQ(CompressHtml("\r\n  \r\n"), "");
}

TEST(CompressHtml, TagsAndQuotedValues) {
    EXPECT_EQ(CompressHtml("<img\r\n    src=\"x\">\r\n"), "<img src=\"x\">\r\n");
    EXPECT_EQ(CompressHtml("<  p  >"), "<p >");
    // A break inside a quoted value becomes one blank and the indentation after it stays.
    EXPECT_EQ(CompressHtml("<a title=\"x  y\r\n  z\">"), "<a title=\"x  y   z\">");
    EXPECT_EQ(CompressHtml("<a title=\"it's  ok\">  b"), "<a title=\"it's  ok\"> b");
    // An apostrophe in an unquoted value hides the tag's end until the next apostrophe.
    EXPECT_EQ(CompressHtml("<a href=x'y>  b  c'>  d  e"), "<a href=x'y>  b  c'> d e");
    EXPECT_EQ(CompressHtml("x  \"a  b\"  y"), "x \"a b\" y");
}

TEST(CompressHtml, ProtectedRegionsKeepBlanksButLoseLineEnds) {
    const std::string pre = "<pre>\r\na  b  \r\n   \r\n\r\nc\r\n</pre>\r\n  x  y";
    const std::string once = CompressHtml(pre);
    EXPECT_EQ(once, "<pre>\r\na  b\r\n\r\nc\r\n</pre>\r\nx y");
    EXPECT_EQ(CompressHtml(once), "<pre>\r\na  b\r\nc\r\n</pre>\r\nx y");
    // Only blanks are trimmed at a line end, never tabs.
    EXPECT_EQ(CompressHtml("<pre>a \t\r\n"), "<pre>a \t\r\n");
    // Any tag whose name begins with "pre" opens the region.
    EXPECT_EQ(CompressHtml("<prefix>  a  b"), "<prefix>  a  b");
    EXPECT_EQ(CompressHtml("<!--  a  \r\n  b  -->  c  d"), "<!--  a\r\n  b  --> c d");
}

TEST(CompressHtml, ScriptBlocks) {
    EXPECT_EQ(CompressHtml("<script>\r\nif (a  < b) x();\r\n</SCRIPT>\r\n  a  b"),
              "<script>\r\nif (a  < b) x();\r\n</SCRIPT>\r\na b");
    EXPECT_EQ(CompressHtml("<script type=\"text/javascript\">  a  b</script>  c  d"),
              "<script type=\"text/javascript\">  a  b</script> c d");
    // "<!--" inside a script opens no comment, so the closing tag is still seen.
    EXPECT_EQ(CompressHtml("<script><!--  x\r\n</script>  a  b"),
              "<script><!--  x\r\n</script> a b");
    // A pre tag inside a script changes nothing.
    EXPECT_EQ(CompressHtml("<script><pre>  a</script>  b  c"), "<script><pre>  a</script> b c");
    // A quote right after '<' in a script leaves the scanner in a quote for the rest of the page.
    EXPECT_EQ(CompressHtml("<script>x  <'a  >  </script>  b  c"),
              "<script>x  <'a  >  </script>  b  c");
}

TEST(CompressHtml, PhpBlocks) {
    const std::string php = "<?PHP\r\n\tif ($a) {\r\n\r\n\t\techo  'x';  \r\n\t}\r\n?>";
    EXPECT_EQ(CompressHtml(php), "<?PHP\r\n\tif ($a) {\r\n\t\techo  'x';\r\n\t}\r\n?>");
    // A '>' outside quotes ends the protected block early.
    EXPECT_EQ(CompressHtml("<?php\r\n  if ($a  >  1) {\r\n\r\n  echo 'x';  \r\n}\r\n?>\r\n"),
              "<?php\r\n  if ($a  > 1) {\r\necho 'x';\r\n}\r\n?>\r\n");
}

TEST(CompressHtml, LongRunsEndWhereShortOnesDo) {
    // Long runs are scanned in blocks; every block boundary must give the same result.
    for (std::size_t length = 1; length < 40; ++length) {
        const std::string word(length, 'x');
        const std::string text = "  " + word + " a  b <p  class='" + word + "  r'>  " + word +
                                 "\t\r\n<pre>" + word + "  a \r\n</pre>" + word + " ";
        const std::string expected = word + " a b <p class='" + word + "  r'> " + word +
                                     "\r\n<pre>" + word + "  a\r\n</pre>" + word;
        EXPECT_EQ(CompressHtml(text), expected) << length;
    }
}

TEST(CompressHtml, PendingBlankCountsInTagText) {
    // The blank owed for the break lands at the start of the tag text, so "/pre" is not seen.
    EXPECT_EQ(CompressHtml("<pre>x< \r\n/pre>  a  b"), "<pre>x<  /pre>  a  b");
}

// Pieces that switch every state of the scanner on and off, in any letter case, with runs of
// every length around the fast scanner's block sizes.
std::string RandomMarkup(std::mt19937& random) {
    static constexpr std::array<std::string_view, 34> kPieces = {
        "<",        ">",       "<p class=", "</p>", "<script>", "</script>", "</SCRIPT >",
        "<pre>",    "</pre>",  "<PRE",      "<!--", "-->",      "--",        "<?php",
        "<?PHP ",   "?>",      "\"",        "'",    " ",        "  ",        "\t",
        "\r\n",     "\r",      "\n",        "a",    "word",     "x = 1;",    "< /script>",
        "<scriptx", "/script", "&amp;",     "-",    "\r\n    ", "\x01",
    };
    std::string text;
    for (int pieces = static_cast<int>(random() % 120); pieces > 0; --pieces) {
        if (random() % 8 == 0) {
            text.append(random() % 70, random() % 2 == 0 ? 'x' : ' ');
        } else {
            text += kPieces[random() % kPieces.size()];
        }
    }
    return text;
}

TEST(CompressHtml, AgreesWithTheByteByByteScanner) {
    std::mt19937 random(3);
    for (int round = 0; round < 20000; ++round) {
        const std::string text = RandomMarkup(random);
        ASSERT_EQ(CompressHtml(text), reference::CompressByteByByte(text)) << "round " << round;
    }
    for (std::uint32_t seed = 1; seed <= 5; ++seed) {
        const std::string page = bench::GeneratePage(200 * 1024, seed);
        EXPECT_EQ(CompressHtml(page), reference::CompressByteByByte(page)) << seed;
    }
}

// Each piece that changes the scanner's state, at every position around the 16-, 32- and
// 64-byte blocks that the stops are found in, gives the same bytes with every scan.
TEST(CompressHtml, EveryScanAgreesWithTheByteByByteScannerAtEveryAlignment) {
    static constexpr std::string_view kPieces[] = {
        " ",
        "  ",
        "\t",
        "\r\n",
        "\r",
        "\n",
        "<",
        ">",
        "\"",
        "'",
        " a",
        "a ",
        "<p>",
        "</p>",
        "<pre>",
        "</pre>",
        "<script>",
        "</script>",
        "<!--",
        "-->",
        "<?php",
        "?>",
        "<a href=\"x\">",
        "<li>",
        "</li>",
        "<s>",
        "<PRE",
        "< p",
        "\r\n  ",
        "x y",
        "\x80",
        "</p\nre>",
        "<s\ncript>",
    };
    std::mt19937 random(5);
    for (const detail::StopScan scan :
         {detail::StopScan::Bytes, detail::StopScan::Sse2, detail::StopScan::Avx2}) {
        if (!detail::Supports(scan)) {
            continue;
        }
        for (std::size_t offset = 0; offset < 70; ++offset) {
            for (const std::string_view piece : kPieces) {
                for (const std::string_view after : kPieces) {
                    std::string text(offset, random() % 2 == 0 ? 'x' : ' ');
                    text.append(piece).append(after).append(random() % 40, 'y');
                    ASSERT_EQ(detail::CompressHtml(text, scan), reference::CompressByteByByte(text))
                        << "offset " << offset << " piece " << piece << after;
                }
            }
        }
        for (int round = 0; round < 3000; ++round) {
            const std::string text = RandomMarkup(random);
            ASSERT_EQ(detail::CompressHtml(text, scan), reference::CompressByteByByte(text))
                << "round " << round;
        }
        const std::string page = bench::GeneratePage(300 * 1024, 9);
        EXPECT_EQ(detail::CompressHtml(page, scan), reference::CompressByteByByte(page));
    }
}

// Runs are copied in 32-byte chunks that may read and write past their end, except near the end
// of the page. Runs and tags of every length, ending at every distance from the page's end, in
// pages that cross the finder's windows, give the byte-by-byte bytes with every scan.
TEST(CompressHtml, RunsOfEveryLengthNearThePageEndAgreeWithTheByteByByteScanner) {
    static constexpr std::string_view kEnds[] = {
        "",    " ",     "  ",    "\r\n", " \r\n  ", "<p>",  "</a></li>", "<a href=\"x\">",
        "\t<", "'  '>", "<pre>", ">",    "x",       "< b>", "<s\n",      "\"",
    };
    std::mt19937 random(21);
    for (const detail::StopScan scan :
         {detail::StopScan::Bytes, detail::StopScan::Sse2, detail::StopScan::Avx2}) {
        if (!detail::Supports(scan)) {
            continue;
        }
        for (std::size_t length = 0; length < 140; ++length) {
            for (const std::string_view end : kEnds) {
                for (const std::string_view start : {"", "<b>", "<i title='a  b'>", "x \r\n "}) {
                    std::string text(start);
                    for (std::size_t k = 0; k < length; ++k) {
                        text += random() % 6 == 0 ? ' ' : static_cast<char>('a' + random() % 26);
                    }
                    text += end;
                    ASSERT_EQ(detail::CompressHtml(text, scan), reference::CompressByteByByte(text))
                        << length << " " << start << "|" << end;
                }
            }
        }
        // Back-to-back tags, quoted values closed right before '>', single blanks before line
        // breaks, and runs longer than a window, on pages of several windows.
        for (int round = 0; round < 40; ++round) {
            std::string page;
            while (page.size() < 20000) {
                switch (random() % 6) {
                    case 0:
                        page += "<li><a href=\"/x\">a b</a></li>";
                        break;
                    case 1:
                        page += "word. \r\n    ";
                        break;
                    case 2:
                        page.append(random() % 5000, static_cast<char>('a' + random() % 26));
                        break;
                    case 3:
                        page += "<p class='c'><img alt=\"\">";
                        break;
                    case 4:
                        page += " </p> ";
                        break;
                    default:
                        page += RandomMarkup(random);
                }
            }
            ASSERT_EQ(detail::CompressHtml(page, scan), reference::CompressByteByByte(page))
                << round;
        }
    }
}

TEST(CompressHtml, TagsWhoseNamesBeginLikeScriptOrPreAreStillRead) {
    EXPECT_EQ(CompressHtml("<PREview>  a  b</x>  c  d"), "<PREview>  a  b</x>  c  d");
    EXPECT_EQ(CompressHtml("<p>  a  b  </p>  c"), "<p> a b </p> c");
    EXPECT_EQ(CompressHtml("<pr>  a  b"), "<pr> a b");
    EXPECT_EQ(CompressHtml("<Scripture>  a  b</script>  c  d"), "<Scripture>  a  b</script> c d");
    EXPECT_EQ(CompressHtml("<Scrip>  a  b</script>  c  d"), "<Scrip> a b</script> c d");
    EXPECT_EQ(CompressHtml("<scriptx>  a  b</script>  c  d"), "<scriptx>  a  b</script> c d");
    EXPECT_EQ(CompressHtml("<pre>  x</PRE>  a  b"), "<pre>  x</PRE> a b");
    EXPECT_EQ(CompressHtml("<a\r\nhref=x>  a  b"), "<a href=x> a b");
    EXPECT_EQ(CompressHtml("x <li>a</li>\r\n   <li>  b</li>"), "x <li>a</li>\r\n<li> b</li>");
}

// A line feed inside a tag leaves no trace, so a name split by one still opens or closes a block;
// a carriage return or a blank leaves a blank, which splits the name.
TEST(CompressHtml, LineFeedsInsideATagNameAreDropped) {
    EXPECT_EQ(CompressHtml("<pre>  x</p\nre>   a  b"), "<pre>  x</pre> a b");
    EXPECT_EQ(CompressHtml("<s\ncript>  a  b</script>  c"), "<script>  a  b</script> c");
    EXPECT_EQ(CompressHtml("<pre>  x</p\r\nre>   a"), "<pre>  x</p re>   a");
    for (const std::string_view text :
         {"<pre>\n  x</p\nre \n>   <script>", "<P\n\nRE>  a  b", "<sc\nr\nipt>  a"}) {
        EXPECT_EQ(CompressHtml(text), reference::CompressByteByByte(text)) << text;
    }
}

}  // namespace
}  // namespace velmora
