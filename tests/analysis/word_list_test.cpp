#include "analysis/word_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <tuple>

namespace velmora {
namespace {

std::vector<std::string> TextsOf(const WordList& words) {
    std::vector<std::string> texts;
    for (const WordForm& form : words.Forms()) {
        texts.emplace_back(form.text);
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

// Enough forms for the sort's split by the first two bytes, with beginnings longer than the sort
// keys of either width (tied over many steps of sixteen bytes), capitals, UTF-8 letters whose
// lower-casing changes their length, NUL bytes that look like a key's padding, and texts too long
// to wait in the counter's queue; checked against a plain count sorted by Compare.
TEST(WordList, LargeListsMatchAPlainCountSortedByCompare) {
    const std::vector<std::string> pieces = {"hosting plans for ",
                                             "Hosting Plans For ",
                                             "\xC3\x89t\xC3\xA9 ",
                                             "\xC3\xA9t\xC3\xA9 ",
                                             "\xC8\xBA",
                                             "a",
                                             "B",
                                             std::string("\0x", 2),
                                             std::string(300, 'w')};
    std::mt19937 random(11);
    std::vector<std::string> occurrences;
    std::map<std::string, std::int32_t> counts;
    for (int i = 0; i < 80000; ++i) {
        std::string text;
        for (int n = std::uniform_int_distribution<int>(1, 3)(random); n > 0; --n) {
            text +=
                pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        }
        text += std::to_string(std::uniform_int_distribution<int>(0, 9999)(random));
        occurrences.push_back(text);
        ++counts[text];
    }
    // Compare's order: the lower-cased bytes, then the bytes.
    const TextRules rules(Encoding::Utf8);
    struct Expected {
        std::string lower, text;
        std::int32_t count;
    };
    std::vector<Expected> expected;
    for (const auto& [text, count] : counts) {
        expected.push_back({rules.LocaleLower(text), text, count});
    }
    std::sort(expected.begin(), expected.end(), [](const Expected& a, const Expected& b) {
        return std::tie(a.lower, a.text) < std::tie(b.lower, b.text);
    });
    ASSERT_GT(expected.size(), 65536u);

    for (const auto keys : {WordList::SortKeys::BySize, WordList::SortKeys::Short}) {
        const WordList words = WordList::FromOccurrences(occurrences, rules, keys);
        EXPECT_EQ(words.OccurrenceCount(), occurrences.size());
        ASSERT_EQ(words.Forms().size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const WordForm form = words.Forms()[i];
            ASSERT_EQ(form.text, expected[i].text) << i;
            ASSERT_EQ(form.count, expected[i].count) << i;
            ASSERT_EQ(form.lower, expected[i].lower) << i;
            ASSERT_EQ(form.startsGroup, i == 0 || expected[i].lower != expected[i - 1].lower) << i;
            if (form.startsGroup) {
                ASSERT_EQ(words.FindGroup(form.lower), static_cast<int>(i));
                ASSERT_EQ(words.FindGroup(expected[i].lower + " "), -1);
            }
        }
        EXPECT_EQ(words.FindGroup(""), -1);
        EXPECT_EQ(words.FindGroup("\xFF"), -1);
    }
}

// A form's length is stored in one byte up to 254 and in four more bytes from 255 on; forms of
// each length around that change keep their texts and counts, in a table small enough to count
// at once and one large enough to queue its occurrences.
TEST(WordList, FormsAroundTheLongLengthKeepTheirTextsAndCounts) {
    for (const int padding : {0, 40000}) {
        std::vector<std::string> occurrences;
        for (int i = 0; i < padding; ++i) {
            occurrences.push_back("pad" + std::to_string(i));
        }
        for (std::size_t length = 250; length <= 260; ++length) {
            for (std::size_t n = 0; n < length - 249; ++n) {
                occurrences.push_back(std::string(length, 'x'));
                occurrences.push_back(std::string(length - 1, 'y') + "Y");
            }
        }
        const WordList words = WordList::FromOccurrences(occurrences, TextRules());
        ASSERT_EQ(words.Forms().size(), static_cast<std::size_t>(padding) + 22);
        for (const WordForm& form : words.Forms()) {
            if (form.text.starts_with("pad")) {
                EXPECT_EQ(form.count, 1);
                continue;
            }
            EXPECT_EQ(static_cast<std::size_t>(form.count), form.text.size() - 249) << form.text;
            EXPECT_EQ(form.lower, std::string(form.text.size(), form.text[0] == 'x' ? 'x' : 'y'));
        }
    }
}

}  // namespace
}  // namespace velmora
