#include "options/velmora_types.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace velmora {
namespace {

TEST(KelVelmoraOptions, NewRecordHoldsTheDefaults) {
    const KelVelmoraOptions options;
    EXPECT_EQ(options.KeywordCountBeforeSpamming, 3);
    EXPECT_EQ(options.MinimumKeywordCount, 2);
    EXPECT_EQ(options.MaximumKeywordCount, 10);
    EXPECT_EQ(options.KeywordOneInEvery, 10);
    EXPECT_EQ(options.MinimumRecommendedTags, 2);
    EXPECT_EQ(options.MaximumRecommendedTags, 20);
    EXPECT_EQ(options.KeywordCase, KeywordCaseMode::CaseInsensitiveMixed);
    EXPECT_TRUE(options.CompressionEnabled);
    EXPECT_TRUE(options.WarnBeforeCompressing);
}

TEST(StopWordList, HoldsTheSortedWordsAndFindsThemIgnoringCase) {
    const StopWordList stopWords;
    ASSERT_EQ(stopWords.size(), 130u);
    EXPECT_EQ(stopWords.Words().front(), "after");
    EXPECT_EQ(stopWords.Words().back(), "yet");
    EXPECT_TRUE(std::is_sorted(stopWords.Words().begin(), stopWords.Words().end()));
    for (const std::string& word : stopWords.Words()) {
        EXPECT_TRUE(stopWords.Contains(word)) << word;
    }
    EXPECT_TRUE(stopWords.Contains("the"));
    EXPECT_TRUE(stopWords.Contains("THE"));
    EXPECT_TRUE(stopWords.Contains("tHe"));
    EXPECT_FALSE(stopWords.Contains("html"));
    EXPECT_FALSE(stopWords.Contains(""));
    EXPECT_FALSE(stopWords.Contains("th"));
    EXPECT_FALSE(stopWords.Contains("thee"));
    EXPECT_FALSE(stopWords.Contains("zzz"));
    EXPECT_FALSE(stopWords.Contains("aaa"));
}

// The lookup is a hashed table: every word of up to three letters must get the list's answer.
TEST(StopWordList, AnswersAsTheListForEveryShortWord) {
    const StopWordList stopWords;
    const std::set<std::string> listed(stopWords.Words().begin(), stopWords.Words().end());
    std::string word;
    for (int length = 1; length <= 3; ++length) {
        word.assign(static_cast<std::size_t>(length), 'a');
        for (bool more = true; more;) {
            EXPECT_EQ(stopWords.Contains(word), listed.count(word) == 1) << word;
            more = false;
            for (auto c = word.rbegin(); c != word.rend() && !more; ++c) {
                more = *c != 'z';
                *c = more ? static_cast<char>(*c + 1) : 'a';
            }
        }
    }
}

// Letters are lowered eight bytes at a time; any byte at any place of a stop word must be told
// apart from a capital unless it is one (bytes from 128 up share their low bits with letters).
TEST(StopWordList, LowersOnlyCapitalsAtEveryPlace) {
    const StopWordList stopWords;
    const std::set<std::string> listed(stopWords.Words().begin(), stopWords.Words().end());
    for (const std::string& stopWord : stopWords.Words()) {
        for (std::size_t place = 0; place < stopWord.size(); ++place) {
            std::string word = stopWord;
            for (int byte = 0; byte < 256; ++byte) {
                word[place] = static_cast<char>(byte);
                std::string lowered = word;
                if (byte >= 'A' && byte <= 'Z') {
                    lowered[place] = static_cast<char>(byte - 'A' + 'a');
                }
                EXPECT_EQ(stopWords.Contains(word), listed.count(lowered) == 1)
                    << stopWord << " with byte " << byte << " at " << place;
            }
        }
    }
}

TEST(KelVelmoraOptions, AssignCopiesTheNineSettingsAndKeepsItsStopWords) {
    KelVelmoraOptions source;
    source.KeywordCountBeforeSpamming = 7;
    source.MinimumKeywordCount = 4;
    source.MaximumKeywordCount = 40;
    source.KeywordOneInEvery = 50;
    source.MinimumRecommendedTags = 5;
    source.MaximumRecommendedTags = 60;
    source.KeywordCase = KeywordCaseMode::CaseInsensitiveLower;
    source.CompressionEnabled = false;
    source.WarnBeforeCompressing = false;

    KelVelmoraOptions target;
    const std::string* firstStopWord = target.StopWords.Words().data();
    target.Assign(source);

    EXPECT_EQ(target.KeywordCountBeforeSpamming, 7);
    EXPECT_EQ(target.MinimumKeywordCount, 4);
    EXPECT_EQ(target.MaximumKeywordCount, 40);
    EXPECT_EQ(target.KeywordOneInEvery, 50);
    EXPECT_EQ(target.MinimumRecommendedTags, 5);
    EXPECT_EQ(target.MaximumRecommendedTags, 60);
    EXPECT_EQ(target.KeywordCase, KeywordCaseMode::CaseInsensitiveLower);
    EXPECT_FALSE(target.CompressionEnabled);
    EXPECT_FALSE(target.WarnBeforeCompressing);
    EXPECT_EQ(target.StopWords.Words().data(), firstStopWord);
    EXPECT_EQ(target.StopWords.size(), 130u);
}

TEST(KelVelmoraOptions, CaseModeOutsideOneToThreeIsCaseSensitive) {
    KelVelmoraOptions options;
    const auto modeOf = [&options](std::uint8_t value) {
        options.KeywordCase = KeywordCaseMode{value};
        return options.CaseMode();
    };
    EXPECT_EQ(modeOf(1), KeywordCaseMode::CaseSensitive);
    EXPECT_EQ(modeOf(2), KeywordCaseMode::CaseInsensitiveMixed);
    EXPECT_EQ(modeOf(3), KeywordCaseMode::CaseInsensitiveLower);
    EXPECT_EQ(modeOf(0), KeywordCaseMode::CaseSensitive);
    EXPECT_EQ(modeOf(4), KeywordCaseMode::CaseSensitive);
    EXPECT_EQ(modeOf(255), KeywordCaseMode::CaseSensitive);
    EXPECT_EQ(options.KeywordCase, KeywordCaseMode{255});
    EXPECT_EQ(CaseModeOf(KeywordCaseMode{7}), KeywordCaseMode::CaseSensitive);
    EXPECT_EQ(CaseModeOf(KeywordCaseMode::CaseInsensitiveLower),
              KeywordCaseMode::CaseInsensitiveLower);
}

}  // namespace
}  // namespace velmora
