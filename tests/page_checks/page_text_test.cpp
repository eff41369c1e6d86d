#include "page_checks/page_text.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora::page_checks {
namespace {

// Counting takes sixteen ASCII bytes at a time; at every alignment, and with words and accented
// letters across the sixteen-byte steps, it must count the words that splitting finds.
TEST(CountWords, AgreesWithSplitWordsAtEveryAlignment) {
    const std::string samples[] = {
        "hello world",
        "Caf\xC3\xA9 cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
        "e, and more",
        "a-b_c@d[e`f{g}h 9z ZZ 0",
        "longwordthatcrossesmorethansixteenbytes and another",
        "\xE2\x80\x94words\xE2\x80\x94"
        "between\xE2\x80\x94"
        "dashes\xE2\x80\x94",
        "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 greek and latin",
        "\xFF\xFE invalid bytes \xC3 stay apart",
    };
    for (const std::string& sample : samples) {
        for (std::size_t pad = 0; pad < 20; ++pad) {
            for (const std::string& lead : {std::string(pad, ' '), std::string(pad, 'x')}) {
                const std::string text = lead + sample + lead;
                EXPECT_EQ(CountWords(text), SplitWords(text).size()) << '[' << text << ']';
            }
        }
    }
}

TEST(CountWords, EmptyAndSeparatorsOnly) {
    EXPECT_EQ(CountWords(""), 0u);
    EXPECT_EQ(CountWords(std::string(40, ' ')), 0u);
    EXPECT_EQ(CountWords(std::string(40, 'a')), 1u);
    EXPECT_EQ(CountWords("a" + std::string(31, '.') + "b"), 2u);
}

}  // namespace
}  // namespace velmora::page_checks
