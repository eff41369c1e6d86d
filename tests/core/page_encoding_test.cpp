#include "core/page_encoding.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(PageBytesToUtf8, ConvertsWindows1252AndKeepsUtf8) {
    EXPECT_EQ(PageBytesToUtf8("caf\xE9 \x80", Encoding::Windows1252), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(PageBytesToUtf8("caf\xC3\xA9", Encoding::Utf8), "caf\xC3\xA9");
    EXPECT_EQ(PageBytesToUtf8("bad \xC3", Encoding::Utf8), "bad \xEF\xBF\xBD");
    EXPECT_EQ(PageBytesToUtf8("\x81", Encoding::Windows1252), "\xC2\x81");
}

TEST(TypedTextToPageBytes, FollowsThePagesEncoding) {
    const std::string cafe = "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x9C\x93";  // Café € ✓
    EXPECT_EQ(TypedTextToPageBytes(cafe, "<p>\xC3\xA0</p>"), cafe);
    EXPECT_EQ(TypedTextToPageBytes(cafe, "<p>\xE0</p>"), "Caf\xE9 \x80 &#10003;");
    EXPECT_EQ(TypedTextToPageBytes(cafe, "<p>ascii</p>"), "Caf&#233; &#8364; &#10003;");
    EXPECT_EQ(TypedTextToPageBytes("plain", ""), "plain");
}

}  // namespace
}  // namespace velmora
