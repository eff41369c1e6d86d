#include "analysis/file_check_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora {
namespace {

using Lines = std::vector<std::string>;

Lines Titles(const TFileCheckList& list) {
    Lines titles;
    for (const Finding& finding : list.Findings) {
        titles.push_back(finding.title);
    }
    return titles;
}

// A page with a title, a description and good, well ordered keywords: no finding.
TFileCheckList CompletePage() {
    TFileCheckList list;
    list.HasTitle = true;
    list.HasDescription = true;
    list.KeywordCount = 5;
    list.GoodKeywordCount = 5;
    list.MinimumRecommendedTags = 2;
    list.MaximumRecommendedTags = 20;
    list.OptimalOrder = true;
    return list;
}

TEST(FileCheckList, EmptyPageRatesZeroWithThreeFindings) {
    TFileCheckList list;
    list.Evaluate();
    EXPECT_EQ(list.Rating, 0.0f);
    EXPECT_EQ(list.AdviceLines(),
              (Lines{"Add a title", "Add a description", "Add some keywords or phrases."}));
    EXPECT_EQ(Titles(list), (Lines{"No title", "No description", "No keywords"}));
    EXPECT_EQ(list.GetRatingText(), "  0%");
}

TEST(FileCheckList, CompletePageRatesHundred) {
    TFileCheckList list = CompletePage();
    list.Evaluate();
    EXPECT_EQ(list.Rating, 100.0f);
    EXPECT_TRUE(list.AdviceLines().empty());
    EXPECT_TRUE(Titles(list).empty());
    EXPECT_EQ(list.GetRatingText(), "100%");
}

TEST(FileCheckList, WorkedRatings) {
    TFileCheckList oneBad = CompletePage();
    oneBad.BadKeywordCount = 1;
    oneBad.GoodKeywordCount = 4;
    oneBad.Evaluate();
    EXPECT_EQ(oneBad.Rating, 90.25f);
    EXPECT_EQ(oneBad.GetRatingText(), " 90%");
    EXPECT_EQ(oneBad.AdviceLines(), Lines{"Remove bad keywords"});
    EXPECT_EQ(Titles(oneBad), Lines{"Bad keyword"});

    TFileCheckList twoBad = CompletePage();
    twoBad.BadKeywordCount = 2;
    twoBad.GoodKeywordCount = 3;
    twoBad.Evaluate();
    EXPECT_NEAR(twoBad.Rating, 85.7375f, 1e-4);
    EXPECT_EQ(twoBad.GetRatingText(), " 86%");
    EXPECT_EQ(Titles(twoBad), Lines{"Bad keywords"});

    TFileCheckList titleAndKeywords = CompletePage();
    titleAndKeywords.HasDescription = false;
    titleAndKeywords.OptimalOrder = false;
    titleAndKeywords.Evaluate();
    EXPECT_EQ(titleAndKeywords.Rating, static_cast<float>(70.0L * 0.99L));
    EXPECT_EQ(titleAndKeywords.GetRatingText(), " 69%");
    EXPECT_EQ(titleAndKeywords.AdviceLines(),
              (Lines{"Add a description", "Keyword ordering not optimal"}));

    TFileCheckList spammed = CompletePage();
    spammed.DuplicateKeywords = true;
    spammed.SpammedWord = "Web";
    spammed.Evaluate();
    EXPECT_EQ(spammed.Rating, 81.0f);
    EXPECT_EQ(spammed.AdviceLines(),
              (Lines{"Remove duplicate keywords.",
                     "Keyword \"Web\" used too often, reduce usage (keyword spamming)"}));
    EXPECT_EQ(Titles(spammed), (Lines{"Duplicate keywords", "Keyword spamming"}));
}

TEST(FileCheckList, EveryFindingInTableOrder) {
    TFileCheckList list;
    list.KeywordCount = 22;
    list.BadKeywordCount = 22;
    list.MinimumRecommendedTags = 2;
    list.MaximumRecommendedTags = 20;
    list.LineBreakInDescription = true;
    list.DuplicateKeywords = true;
    list.SpammedWord = "cheap";
    list.SpaceToRemove = 1234;
    list.Evaluate();
    EXPECT_EQ(
        list.AdviceLines(),
        (Lines{"Add a title", "Add a description", "Remove carriage return from description",
               "Remove bad keywords", "Not enough good keywords", "Too many keywords",
               "Remove duplicate keywords.",
               "Keyword \"cheap\" used too often, reduce usage (keyword spamming)",
               "Keyword ordering not optimal", "File contains 1234 bytes of unnecessary space."}));
    EXPECT_EQ(Titles(list),
              (Lines{"No title", "No description", "Line feed in description", "Bad keywords",
                     "Too few keywords", "Too many keywords", "Duplicate keywords",
                     "Keyword spamming", "Sub-optimal keyword ordering", "Unnecessary space"}));
}

TEST(FileCheckList, KeywordFindingsNeedKeywords) {
    // Results that were never computed for an empty keyword list give no finding.
    TFileCheckList list = CompletePage();
    list.KeywordCount = 0;
    list.GoodKeywordCount = 0;
    list.OptimalOrder = false;
    list.DuplicateKeywords = true;
    list.Evaluate();
    EXPECT_EQ(list.AdviceLines(), Lines{"Add some keywords or phrases."});
    EXPECT_EQ(list.Rating, 60.0f);
}

TEST(FileCheckList, TooFewAndTooManyFactors) {
    TFileCheckList three = CompletePage();
    three.KeywordCount = 3;
    three.GoodKeywordCount = 0;
    three.BadKeywordCount = 3;
    three.MinimumRecommendedTags = 2;
    three.Evaluate();
    // Four bad-keyword factors and none for "too few" (2 - 3 + 1 = 0).
    TFileCheckList fourBad = CompletePage();
    fourBad.BadKeywordCount = 3;
    fourBad.Evaluate();
    EXPECT_EQ(three.AdviceLines(), (Lines{"Remove bad keywords", "Not enough good keywords"}));
    EXPECT_EQ(three.Rating, fourBad.Rating);

    TFileCheckList one = CompletePage();
    one.KeywordCount = 1;
    one.GoodKeywordCount = 1;
    one.MinimumRecommendedTags = 2;
    one.Evaluate();
    EXPECT_EQ(one.Rating, static_cast<float>(static_cast<float>(100 * 0.96L) * 0.96L));

    // Exactly the minimum, one of them bad: one "too few" factor on top of two bad ones.
    TFileCheckList atMinimum = CompletePage();
    atMinimum.KeywordCount = 2;
    atMinimum.GoodKeywordCount = 1;
    atMinimum.BadKeywordCount = 1;
    atMinimum.MinimumRecommendedTags = 2;
    atMinimum.Evaluate();
    EXPECT_EQ(atMinimum.AdviceLines(), (Lines{"Remove bad keywords", "Not enough good keywords"}));
    EXPECT_EQ(atMinimum.GetRatingText(), " 87%");

    TFileCheckList many = CompletePage();
    many.KeywordCount = 21;
    many.GoodKeywordCount = 21;
    many.Evaluate();
    EXPECT_EQ(many.AdviceLines(), Lines{"Too many keywords"});
    EXPECT_EQ(many.Rating, 90.25f);
}

TEST(FileCheckList, HugeCountsEndAtZero) {
    TFileCheckList list = CompletePage();
    list.KeywordCount = 1;
    list.GoodKeywordCount = 0;
    list.BadKeywordCount = 2'000'000'000;
    list.MinimumRecommendedTags = 2'147'483'647;
    list.MaximumRecommendedTags = -2'147'483'647;
    list.Evaluate();
    EXPECT_LT(list.Rating, 1e-30f);
    EXPECT_EQ(list.GetRatingText(), "  0%");
}

TEST(FileCheckList, EvaluateTwiceGivesTheSameFindings) {
    TFileCheckList list = CompletePage();
    list.BadKeywordCount = 1;
    list.SpaceToRemove = 7;
    list.Evaluate();
    const Lines advice = list.AdviceLines();
    const float rating = list.Rating;
    list.Evaluate();
    EXPECT_EQ(list.AdviceLines(), advice);
    EXPECT_EQ(Titles(list).size(), advice.size());
    EXPECT_EQ(list.Rating, rating);
}

TEST(FileCheckList, RatingTextRoundsHalfUp) {
    TFileCheckList list;
    list.Rating = 89.5f;
    EXPECT_EQ(list.GetRatingText(), " 90%");
    list.Rating = 89.49f;
    EXPECT_EQ(list.GetRatingText(), " 89%");
    list.Rating = 9.5f;
    EXPECT_EQ(list.GetRatingText(), " 10%");
    list.Rating = 0.4f;
    EXPECT_EQ(list.GetRatingText(), "  0%");
}

}  // namespace
}  // namespace velmora
