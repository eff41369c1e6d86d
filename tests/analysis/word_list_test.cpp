#include "analysis/word_list.h"

#include <gtest/gtest.h>

#include <random>

namespace velmora {
namespace {

std::vector<std::string> TextsOf(const WordList& words) {
    std::vector<std::string> texts;
    for (const WordForm& form : words.Forms()) {
        texts.push_back(form.text);
    }
    return texts;
}

TEST(WordList, OneFormPerWrittenFormInTextRuleOrder) {
    const WordList words = WordList::FromOccurrences(
        {"Zebra", "web", "zebra", "Web", "Zebra", "apple", "web"}, TextRules());
    EXPECT_EQ(TextsOf(words), (std::vector<std::string>{"apple", "Web", "web", "Zebra", "zebra"}));
    EXPECT_EQ(words.Forms()[2].count, 2);
    EXPECT_EQ(words.Forms()[3].count, 2);
    EXPECT_EQ(words.Forms()[3].lower, "zebra");
    EXPECT_EQ(words.OccurrenceCount(), 7u);

    EXPECT_EQ(words.FindGroup("web"), 1);
    EXPECT_EQ(words.FindGroup("zebra"), 3);
    EXPECT_EQ(words.FindGroup("Web"), -1);
    EXPECT_EQ(words.FindGroup("we"), -1);
    EXPECT_EQ(WordList().FindGroup("web"), -1);
}

TEST(WordList, GroupsLongTextsAndUtf8FormsLikeCompare) {
    const TextRules utf8(Encoding::Utf8);
    const WordList words =
        WordList::FromOccurrences({"\xC3\x89t\xC3\xA9", "\xC3\xA9t\xC3\xA9", "hosting plans",
                                   "hosting planS", "hosting", "etc"},
                                  utf8);
    EXPECT_EQ(TextsOf(words),
              (std::vector<std::string>{"etc", "hosting", "hosting planS", "hosting plans",
                                        "\xC3\x89t\xC3\xA9", "\xC3\xA9t\xC3\xA9"}));
    EXPECT_EQ(words.FindGroup("\xC3\xA9t\xC3\xA9"), 4);
}

TEST(WordList, SortedByCompareForRandomTexts) {
    std::mt19937 random(7);
    const std::string alphabet = "aAbB \xC9\xE9/-";
    std::vector<std::string> occurrences;
    for (int i = 0; i < 3000; ++i) {
        std::string text;
        for (int n = std::uniform_int_distribution<int>(0, 12)(random); n > 0; --n) {
            text += alphabet[std::uniform_int_distribution<std::size_t>(0, 9)(random)];
        }
        occurrences.push_back(text);
    }
    const TextRules rules;
    const WordList words = WordList::FromOccurrences(occurrences, rules);
    EXPECT_EQ(words.OccurrenceCount(), occurrences.size());
    for (std::size_t i = 1; i < words.Forms().size(); ++i) {
        EXPECT_LT(rules.Compare(words.Forms()[i - 1].text, words.Forms()[i].text), 0);
    }
}

}  // namespace
}  // namespace velmora
