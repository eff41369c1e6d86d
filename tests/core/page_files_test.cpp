#include "core/page_files.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(IsPageFileName, PageExtensionsInAnyLetterCase) {
    for (const char* page : {"index.htm", "INDEX.HTML", "a/b.Php", "/srv/x.y.html"}) {
        EXPECT_TRUE(IsPageFileName(page)) << page;
    }
    for (const char* other : {"index.html.bak", ".htm", "dir.htm/readme", "page", "x.phtml", ""}) {
        EXPECT_FALSE(IsPageFileName(other)) << other;
    }
}

}  // namespace
}  // namespace velmora
