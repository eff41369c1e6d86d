#include "options/page_check_options.h"

#include <gtest/gtest.h>

#include <set>

namespace velmora {
namespace {

TEST(PageCheckOptions, DefaultsAndEveryCheckOn) {
    const PageCheckOptions options;
    EXPECT_EQ(options.TitleMinimumCharacters, 30);
    EXPECT_EQ(options.TitleMaximumCharacters, 60);
    EXPECT_EQ(options.TitleMaximumPixels, 600);
    EXPECT_EQ(options.DescriptionMinimumCharacters, 70);
    EXPECT_EQ(options.DescriptionMaximumCharacters, 160);
    EXPECT_EQ(options.DescriptionMaximumPixels, 920);
    EXPECT_EQ(options.ContentMinimumWords, 100);
    EXPECT_EQ(options.ContentGoodWords, 300);
    EXPECT_TRUE(options.FocusKeyphrase.empty());
    for (std::size_t i = 0; i < kCheckCount; ++i) {
        EXPECT_TRUE(options.Enabled(static_cast<CheckId>(i)));
    }
}

TEST(PageCheckOptions, IdsReadBackAndSwitchNamesAreDistinct) {
    std::set<std::string_view> switches;
    for (std::size_t i = 0; i < kCheckCount; ++i) {
        const auto id = static_cast<CheckId>(i);
        EXPECT_EQ(CheckIdFromName(CheckIdName(id)), id);
        switches.insert(CheckSwitchName(id));
    }
    EXPECT_EQ(switches.size(), kCheckCount);
    EXPECT_EQ(CheckIdName(CheckId::StructuredData), "structured-data");
    EXPECT_EQ(CheckIdName(CheckId::DuplicateDescription), "duplicate-description");
    EXPECT_EQ(CheckIdName(CheckId::HreflangReturn), "hreflang-return");
    EXPECT_EQ(CheckIdFromName("Title"), std::nullopt);
    EXPECT_EQ(CheckIdFromName(""), std::nullopt);
}

TEST(PageCheckOptions, EveryDefaultLiesInItsRange) {
    const PageCheckOptions defaults;
    ASSERT_EQ(PageCheckNumbers().size(), 8u);
    for (const PageCheckNumber& number : PageCheckNumbers()) {
        EXPECT_TRUE(number.Accepts(defaults.*number.field)) << number.name;
        EXPECT_FALSE(number.Accepts(number.minimum - 1)) << number.name;
        EXPECT_FALSE(number.Accepts(static_cast<std::int64_t>(number.maximum) + 1)) << number.name;
    }
}

TEST(PageCheckOptions, MinimumsComeDownToTheirMaximums) {
    PageCheckOptions options;
    options.TitleMinimumCharacters = 80;
    options.DescriptionMinimumCharacters = 150;
    options.ContentMinimumWords = 400;
    OrderLimitPairs(options);
    EXPECT_EQ(options.TitleMinimumCharacters, 60);
    EXPECT_EQ(options.DescriptionMinimumCharacters, 150);
    EXPECT_EQ(options.ContentMinimumWords, 300);
}

}  // namespace
}  // namespace velmora
