#include "analysis/keyword_ordering.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "analysis/keyword_ordering_detail.h"

namespace velmora {
namespace {

using detail::FindWord;

// A word list holding each text `count` times.
WordList ListOf(std::initializer_list<std::pair<std::string, int>> counts,
                TextRules rules = TextRules()) {
    std::vector<std::string> occurrences;
    for (const auto& [text, count] : counts) {
        occurrences.insert(occurrences.end(), count, text);
    }
    return WordList::FromOccurrences(std::move(occurrences), rules);
}

KelVelmoraOptions OptionsWithCase(KeywordCaseMode keywordCase) {
    KelVelmoraOptions options;
    options.KeywordCase = keywordCase;
    return options;
}

class RecordingProgress : public ProgressIndicator {
public:
    void SetMinimum(int value) override { minimum = value; }
    void SetMaximum(int value) override { maximum = value; }
    int Maximum() const override { return maximum; }
    void SetPosition(int value) override { positions.push_back(value); }
    int Position() const override { return positions.empty() ? minimum : positions.back(); }

    int minimum = -1;
    int maximum = -1;
    std::vector<int> positions;
};

TEST(KeywordOrdering, FindWordAnswersTheSameWhateverWasAskedBefore) {
    const WordList words = ListOf({{"web", 1}, {"Web", 1}, {"WEB", 1}, {"apple", 1}});
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(FindWord("Web", words, KeywordCaseMode::CaseSensitive), 2);
        EXPECT_EQ(FindWord("WEB", words, KeywordCaseMode::CaseSensitive), 1);
        EXPECT_EQ(FindWord("web", words, KeywordCaseMode::CaseSensitive), 3);
        EXPECT_EQ(FindWord("wEb", words, KeywordCaseMode::CaseSensitive), -1);
        EXPECT_EQ(FindWord("wEb", words, KeywordCaseMode::CaseInsensitiveMixed), 1);
        EXPECT_EQ(FindWord("web", words, KeywordCaseMode::CaseInsensitiveLower), 1);
        EXPECT_EQ(FindWord("apple", words, KeywordCaseMode::CaseSensitive), 0);
        EXPECT_EQ(FindWord("pear", words, KeywordCaseMode::CaseInsensitiveMixed), -1);
    }
    // A stored case value outside 1 to 3 acts as case sensitive.
    EXPECT_EQ(FindWord("wEb", words, KeywordCaseMode{7}), -1);
    EXPECT_EQ(FindWord("web", WordList(), KeywordCaseMode::CaseInsensitiveMixed), -1);
}

TEST(KeywordOrdering, CountOccurrencesFollowsTheCaseMode) {
    const WordList words = ListOf({{"Web", 3}, {"web", 2}, {"website", 4}});
    EXPECT_EQ(CountOccurrences("Web", words, KeywordCaseMode::CaseSensitive), 3);
    EXPECT_EQ(CountOccurrences("web", words, KeywordCaseMode::CaseSensitive), 2);
    EXPECT_EQ(CountOccurrences("WEB", words, KeywordCaseMode::CaseSensitive), 0);
    EXPECT_EQ(CountOccurrences("Web", words, KeywordCaseMode::CaseInsensitiveMixed), 5);
    EXPECT_EQ(CountOccurrences("WEB", words, KeywordCaseMode::CaseInsensitiveLower), 5);
    EXPECT_EQ(CountOccurrences("pear", words, KeywordCaseMode::CaseInsensitiveMixed), 0);
}

TEST(KeywordOrdering, CountOnUtf8IsStableAcrossLookups) {
    const TextRules utf8(Encoding::Utf8);
    const WordList words = ListOf({{"\xC3\xA9mile", 2}}, utf8);
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(CountOccurrences("\xC3\x89MILE", words, KeywordCaseMode::CaseInsensitiveLower),
                  2);
        EXPECT_EQ(CountOccurrences("\xC3\x89mile", words, KeywordCaseMode::CaseInsensitiveMixed),
                  2);
    }
}

TEST(KeywordOrdering, KeywordScoreWeighsCountLengthAndTitle) {
    const KelVelmoraOptions options;
    const WordList words = ListOf({{"host", 3}, {"abcdefghijklmnopqrstuvwxy", 1}, {"web", 1}});
    EXPECT_EQ(KeywordScore("host", words, "Cheap host plans", options), 134);
    EXPECT_EQ(KeywordScore("abcdefghijklmnopqrstuvwxy", words, "Cheap host", options), 19);
    // Part of a longer title word still counts, ignoring case outside CaseSensitive.
    EXPECT_EQ(KeywordScore("web", words, "Best Website", options), 113);
    EXPECT_EQ(
        KeywordScore("web", words, "Best Website", OptionsWithCase(KeywordCaseMode::CaseSensitive)),
        13);
    EXPECT_EQ(KeywordScore("absent", words, "", options), 6);
    EXPECT_EQ(KeywordScore("", words, "title", options), 0);

    KelVelmoraOptions wide;
    wide.MaximumKeywordCount = 3;
    EXPECT_EQ(KeywordScore("host", words, "host", wide), 3 * 3 + 2 + 9);
}

TEST(KeywordOrdering, ScoreCountsCharactersOnUtf8Pages) {
    const TextRules utf8(Encoding::Utf8);
    const WordList words = ListOf({{"caf\xC3\xA9", 2}}, utf8);
    const KelVelmoraOptions options;
    EXPECT_EQ(KeywordScore("caf\xC3\xA9", words, "", options), 24);
    EXPECT_EQ(KeywordScore("CAF\xC3\x89", words, "Le caf\xC3\xA9", options), 124);
}

TEST(KeywordOrdering, IsOrderOptimalAllowsEqualNeighbours) {
    const KelVelmoraOptions options;
    const WordList words = ListOf({{"ab", 4}, {"cd", 4}, {"efg", 5}});
    EXPECT_FALSE(IsOrderOptimal({"ab", "cd", "efg"}, words, "", options));
    EXPECT_TRUE(IsOrderOptimal({"efg", "ab", "cd"}, words, "", options));
    EXPECT_TRUE(IsOrderOptimal({"ab"}, words, "", options));
    EXPECT_TRUE(IsOrderOptimal({}, words, "", options));
}

TEST(KeywordOrdering, KnownCountsGiveTheSameOrderTest) {
    const WordList words = ListOf({{"ab", 4}, {"Ab", 1}, {"cd", 4}, {"efg", 5}, {"x y", 2}});
    const std::vector<std::string> pool{"ab", "AB", "cd", "efg", "x y", "none", "Efg"};
    std::mt19937 random(3);
    int optimal = 0;
    for (int round = 0; round < 400; ++round) {
        const KelVelmoraOptions options =
            OptionsWithCase(KeywordCaseMode{static_cast<std::uint8_t>(1 + random() % 4)});
        KeywordList keywords(random() % 5);
        for (std::string& keyword : keywords) {
            keyword = pool[random() % pool.size()];
        }
        const std::string title = random() % 2 == 0 ? "Ab cd" : "";
        const std::vector<std::int32_t> counts =
            CountOccurrencesOfEach(keywords, words, options.CaseMode());
        ASSERT_EQ(counts.size(), keywords.size());
        for (std::size_t i = 0; i < keywords.size(); ++i) {
            ASSERT_EQ(counts[i], CountOccurrences(keywords[i], words, options.KeywordCase));
        }
        const bool expected = IsOrderOptimal(keywords, words, title, options);
        ASSERT_EQ(IsOrderOptimal(keywords, counts, words, title, options), expected)
            << "round " << round;
        optimal += expected ? 1 : 0;
    }
    EXPECT_GT(optimal, 100);
    EXPECT_LT(optimal, 350);
}

TEST(KeywordOrdering, SortByScoreKeepsTheShellSortOrderOfEqualScores) {
    const KelVelmoraOptions options;
    const std::string long19 = "abcdefghijklmnopqrstuvwxy";
    const std::string long19b = "bcdefghijklmnopqrstuvwxyz";
    const WordList scored = ListOf({{"host", 3}, {"hose", 3}, {long19, 1}, {long19b, 1}});
    const KeywordList mixed = {long19, "host", long19b, "hose"};
    RecordingProgress progress;
    EXPECT_EQ(SortByScore(mixed, scored, "host hose", &progress, options),
              (KeywordList{"host", "hose", long19, long19b}));
    EXPECT_EQ(progress.minimum, 0);
    EXPECT_EQ(progress.maximum, 13);
    EXPECT_EQ(progress.positions, (std::vector<int>{9, 12}));

    // With five keywords the gap-4 pass moves the first one behind its equals; a stable sort
    // would not.
    const WordList five = ListOf({{"aa", 1}, {"bb", 1}, {"cc", 1}, {"dd", 1}, {"ee", 2}});
    EXPECT_EQ(SortByScore({"aa", "bb", "cc", "dd", "ee"}, five, "", nullptr, options),
              (KeywordList{"ee", "bb", "cc", "dd", "aa"}));

    RecordingProgress empty;
    EXPECT_TRUE(SortByScore({}, WordList(), "", &empty, options).empty());
    EXPECT_EQ(empty.maximum, 1);
    EXPECT_EQ(empty.positions, (std::vector<int>{1}));
}

TEST(KeywordOrdering, PreferredFormPicksTheMostUsedWrittenForm) {
    const WordList moreUpper = ListOf({{"Web", 3}, {"web", 2}});
    EXPECT_EQ(PreferredForm("web", moreUpper, KeywordCaseMode::CaseInsensitiveMixed), "Web");
    const WordList tie = ListOf({{"web", 2}, {"Web", 2}});
    EXPECT_EQ(PreferredForm("WEB", tie, KeywordCaseMode::CaseInsensitiveMixed), "Web");
    const WordList moreLower = ListOf({{"Web", 2}, {"web", 3}, {"WEB", 1}});
    EXPECT_EQ(PreferredForm("Web", moreLower, KeywordCaseMode::CaseInsensitiveMixed), "web");

    EXPECT_EQ(PreferredForm("WeB", moreUpper, KeywordCaseMode::CaseSensitive), "WeB");
    EXPECT_EQ(PreferredForm("WeB", moreUpper, KeywordCaseMode{4}), "WeB");
    EXPECT_EQ(PreferredForm("WeB", moreUpper, KeywordCaseMode::CaseInsensitiveLower), "web");
    EXPECT_EQ(PreferredForm("Pear", moreUpper, KeywordCaseMode::CaseInsensitiveMixed), "Pear");

    const WordList utf8 = ListOf({{"\xC3\x89t\xC3\xA9", 1}}, TextRules(Encoding::Utf8));
    EXPECT_EQ(PreferredForm("\xC3\x89T\xC3\x89", utf8, KeywordCaseMode::CaseInsensitiveLower),
              "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(PreferredForm("\xC3\xA9t\xC3\xA9", utf8, KeywordCaseMode::CaseInsensitiveMixed),
              "\xC3\x89t\xC3\xA9");
}

}  // namespace
}  // namespace velmora
