#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/page_encoding.h"
#include "core/text_rules.h"
#include "tests/page_checks/gumbo_reference.h"

namespace velmora::page_checks::testing {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The pages as the checks read them: Windows-1252 pages converted to UTF-8.
std::string AsUtf8(const std::string& bytes) {
    if (!IsAscii(bytes) && DetectEncoding(bytes) == Encoding::Windows1252) {
        return PageBytesToUtf8(bytes, Encoding::Windows1252);
    }
    return bytes;
}

void ExpectAgreementIn(const std::filesystem::path& folder) {
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    std::size_t pages = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        const std::string page = AsUtf8(ReadFile(entry.path()));
        for (const std::string& difference : CompareWithGumbo(page)) {
            ADD_FAILURE() << entry.path() << ": " << difference;
        }
        ++pages;
    }
    EXPECT_GT(pages, 2u);
}

TEST(GumboAgreement, SamplePages) {
    ExpectAgreementIn(VELMORA_EXAMPLES_DIR);
}

TEST(GumboAgreement, FuzzSeeds) {
    ExpectAgreementIn(VELMORA_FUZZ_CORPUS);
}

// Small pages with the parts where tokenizers go wrong.
TEST(GumboAgreement, TrickyParts) {
    const char* const pages[] = {
        "<!DOCTYPE html><html lang=en><head><title>A &amp; B &lt;c&gt;</title>"
        "<meta name=description content='x &quot;y&quot; &copy=1 &copy 2'></head>"
        "<body><h1 class=a class=b>T&eacute;st &#233;&#x20AC;&#128;&notit;</h1></body></html>",
        "<p>a<!-- <b>x</b> -->b<!-->c<!--->d<? pi ?>e</ x>f<![CDATA[g]]>h</p>",
        "<script>var a = '<b>'; if (a<b) {}</script><script><!-- <script></script> --></script>",
        "<style>a > b { }</style><textarea><b>&amp;</b></textarea><xmp><b></xmp>",
        "<svg viewBox='0 0 1 1'><title>Icon</title><a href=x><text>t</text></a>"
        "<![CDATA[<b>]]><foreignObject><p>x</p></foreignObject></svg><p>y",
        "<math><mi>x</mi><annotation-xml encoding='text/html'><b>z</b></annotation-xml></math>",
        "<a href=\"1\" title='2' data-x=3 checked/><img src=a.png alt=\"\"/>",
        "<table><tr><td>a</td></tr></table><select><option>b</select>",
        "<div>unclosed <span>tags <b>everywhere",
        "<select><title><option>a</select><p>b<select><svg><style><b></style><input><style>c",
        "<meta name=\"a\"\n<title?x</title></><ad></></></><b>x</b>",
        "<p><svg></p><![CDATA[><img src=a.png>",
        "<div><svg></div><img src=a.png>",
        "<div><svg></div><style><b></style>",
        "<svg></div><style><b></style>",
        "<svg></p><style><b></style>",
        "<p><div><svg></p><style><b></style>",
        "<svg></br><style><b></style>",
        "<div><svg><foreignObject><svg></div><style><b></style>",
        "<p><math><mi><svg></p><style><b></style>",
        "<span><b><svg><g></b><style><x></style>",
        "<p>a<blockquote><svg></p><style><b></style>",
        "<ul><li><svg></li></ul><style><b></style>",
        "<select><div><svg></div></select><style><b></style>",
        "<math><mi><p><![CDATA[><v>",
        "<svg><desc><p><li></p><![CDATA[><v>",
        "<math><mi><c></c></mi><title><g>",
        "<svg><desc><p><select></p><![CDATA[><select><g>",
        "<svg><desc><blockquote></blockquote><![CDATA[><b>]]><figcaption><![CDATA[><v>",
        "<svg><desc><li>a<li>b</li><![CDATA[><v><h1><h2></h1><![CDATA[><v>",
        "<svg><foreignObject><div></foreignObject><style><b></style></div><style><b></style>",
        "<svg><g><desc><p><svg></p><style><b></style></desc></g><style><b></style>",
        "<svg><desc><select><title><select><g>",
        "<svg><desc><select><style><select><g>",
        "<svg><desc><select><plaintext><select><b>",
        "<svg><desc><select><svg><style><b></style>",
        "<svg><desc><select><svg></select><![CDATA[<b>]]><i>",
        "<svg><desc><select><input><style><b></style>",
        "<select><table><title><select><b>",
        "<select><td><title><select><b>",
        "<table><tr><td><select><td><title><b>",
        "<table><td><select></td><title><b>",
        "<table><td><svg><desc><select><td><title><b>",
        "<svg><desc><p><s><h1></h2>><![CDATA[><l>",
        "<svg><desc><div><b></div>x<![CDATA[<l>",
        "<svg><desc><div><b><i></div>x</b><![CDATA[<l>",
        "<svg><desc><a><a>x</a>y<![CDATA[<l>",
        "<svg><desc><object><b></object>x<![CDATA[<l>",
        "<svg><desc><b><b><b><b><p>x</p><![CDATA[<l>",
        "<p><b></p><svg></b><style><i></style>",
    };
    for (const char* page : pages) {
        for (const std::string& difference : CompareWithGumbo(page)) {
            ADD_FAILURE() << page << "\n  " << difference;
        }
    }
}

}  // namespace
}  // namespace velmora::page_checks::testing
