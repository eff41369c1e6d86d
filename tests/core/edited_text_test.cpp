#include "core/edited_text.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(CleanEditedText, LineBreaksBecomeSpacesAndRunsCollapse) {
    EXPECT_EQ(CleanEditedText("fish\r\nchips"), "fish chips");
    EXPECT_EQ(CleanEditedText(" a    b\tc "), " a b\tc ");
    EXPECT_EQ(CleanEditedText("\r\n\r\n"), " ");
    EXPECT_EQ(CleanEditedText("caf\xC3\xA9\n\xC3\xA0"), "caf\xC3\xA9 \xC3\xA0");
    EXPECT_EQ(CleanEditedText(""), "");
}

}  // namespace
}  // namespace velmora
