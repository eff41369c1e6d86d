#include "page_checks/character_references.h"

#include <gtest/gtest.h>

namespace velmora::page_checks {
namespace {

std::string Text(std::string_view raw) {
    std::string out;
    AppendDecoded(out, raw, ReferencePlace::Text);
    return out;
}

TEST(CharacterReferences, NamedReferences) {
    EXPECT_EQ(Text("&amp;&lt;&gt;&quot;&apos;&nbsp;"), "&<>\"'\u00A0");
    EXPECT_EQ(Text("&eacute;t&eacute; &Omega;&mu;&epsilon;&gamma;&alpha;"), "été Ωμεγα");
    EXPECT_EQ(Text("&NotEqualTilde; &fjlig;"), "\u2242\u0338 fj");  // two code points each
    EXPECT_EQ(Text("&unknown; & &;"), "&unknown; & &;");
}

TEST(CharacterReferences, LegacyNamesWithoutSemicolon) {
    // The longest legacy name that the text starts with counts.
    EXPECT_EQ(Text("&copy 2024 &ampx &notit; &notin;"), "© 2024 &x ¬it; ∉");
    // In attribute values they stay as written before a letter, a digit or "=".
    EXPECT_EQ(DecodeAttribute("?a=1&copy=2&amp=3&ampx&amp;"), "?a=1&copy=2&amp=3&ampx&");
    EXPECT_EQ(DecodeAttribute("&copy 2024 &copy"), "© 2024 ©");
}

TEST(CharacterReferences, NumericReferences) {
    EXPECT_EQ(Text("&#233;&#xE9;&#XE9&#x1F600;"), "ééé\U0001F600");
    // 0x80 to 0x9F name the Windows-1252 characters.
    EXPECT_EQ(Text("&#128;&#x92;&#x81;"), "€’\u0081");
    // Nothing, surrogates and numbers past U+10FFFF become U+FFFD.
    EXPECT_EQ(Text("&#0;&#xD800;&#x110000;&#99999999999999999999;"), "\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Text("&#;&#x;&#xg;"), "&#;&#x;&#xg;");
}

TEST(CharacterReferences, TextWithoutReferencesIsCopied) {
    EXPECT_EQ(Text("a\r\nb\rc\nd"), "a\r\nb\rc\nd");
    EXPECT_EQ(Text(""), "");
    EXPECT_EQ(Text("&"), "&");
}

}  // namespace
}  // namespace velmora::page_checks
