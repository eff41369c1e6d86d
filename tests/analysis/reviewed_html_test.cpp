#include "analysis/reviewed_html.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "analysis/keyword_choice.h"
#include "analysis/keyword_ordering.h"
#include "analysis/keyword_tests.h"
#include "analysis/keyword_tests_detail.h"
#include "core/html_functions_read.h"
#include "options/velmora_types.h"

namespace velmora {
namespace {

using Lines = std::vector<std::string>;

std::string Page(const std::string& head, const std::string& body) {
    return "<html>\r\n<head>\r\n" + head + "</head>\r\n<body>\r\n" + body +
           "</body>\r\n</html>\r\n";
}

std::string Keywords(const std::string& content) {
    return "<meta name=\"keywords\" content=\"" + content + "\">\r\n";
}

const std::string kHead =
    "<title>Cheap web hosting</title>\r\n"
    "<meta name=\"description\" content=\"Web hosting plans for everyone\">\r\n";
const std::string kBody =
    "<p>Cheap web hosting with daily backup.</p>\r\n<p>Our web hosting plans: cheap, fast and "
    "secure. Web hosting support every day.</p>\r\n<p>Backup of every site, every day.</p>\r\n";

bool HasAdvice(const TReviewedHtml& page, const std::string& line) {
    const Lines& advice = page.GetAdvice();
    return std::find(advice.begin(), advice.end(), line) != advice.end();
}

TEST(ReviewedHtml, BeforeTheFirstReview) {
    TReviewedHtml page;
    EXPECT_TRUE(page.GetCandidateList().empty());
    EXPECT_EQ(page.GetWordCount(), 0);
    EXPECT_EQ(page.GetRatingText(), "  0%");
    page.CheckPage(KelVelmoraOptions(), ReviewScope::WithCandidateChoice);
    EXPECT_EQ(page.GetAdvice(),
              (Lines{"Add a title", "Add a description", "Add some keywords or phrases."}));
    ASSERT_TRUE(page.Result().choice.has_value());
    EXPECT_TRUE(page.Result().choice->autoKeywords.empty());
}

// The document's compress command, which replaces the text without a new review.
class Compressible : public TReviewedHtml {
public:
    using TReviewedHtml::CompressKeepingAnalysis;
};

TEST(ReviewedHtml, EmptyText) {
    TReviewedHtml page;
    page.Review("", KelVelmoraOptions());
    EXPECT_EQ(page.GetSpaceToRemove(), 0);
    EXPECT_FALSE(page.HasSpaceToRemove());
    EXPECT_TRUE(page.GetKeywords().empty());
    EXPECT_EQ(page.GetCheckList().Rating, 0.0f);
    EXPECT_EQ(page.GetAdvice(),
              (Lines{"Add a title", "Add a description", "Add some keywords or phrases."}));
    EXPECT_EQ(page.GetRatingText(), "  0%");
}

TEST(ReviewedHtml, CompletePage) {
    TReviewedHtml page;
    page.Review(Page(kHead + Keywords("web hosting, cheap, backup, vitamin c"), kBody),
                KelVelmoraOptions());
    EXPECT_EQ(page.GetKeywords(), (Lines{"web hosting", "cheap", "backup", "vitamin c"}));
    EXPECT_EQ(page.Result().keywordsText, "web hosting, cheap, backup, vitamin c");
    EXPECT_EQ(page.GetGoodKeywordCount(), 3);
    EXPECT_EQ(page.GetBadKeywordCount(), 1);
    EXPECT_FALSE(page.HasSpaceToRemove());
    EXPECT_EQ(page.GetAdvice(), Lines{"Remove bad keywords"});
    EXPECT_EQ(page.GetRatingText(), " 90%");
    EXPECT_EQ(page.Rules().encoding(), Encoding::Windows1252);
}

TEST(ReviewedHtml, KeywordsMetaTag) {
    TReviewedHtml page;
    page.Review(Page(kHead + Keywords("a, b"), kBody), KelVelmoraOptions());
    EXPECT_EQ(page.GetKeywords(), (Lines{"a", "b"}));
    EXPECT_EQ(page.GetBadKeywordCount(), 2);

    page.Review(Page(kHead + Keywords(" , ,, "), kBody), KelVelmoraOptions());
    EXPECT_TRUE(page.GetKeywords().empty());
    EXPECT_EQ(page.GetAdvice(), Lines{"Add some keywords or phrases."});
    EXPECT_EQ(page.GetRatingText(), " 60%");
}

TEST(ReviewedHtml, LineBreakInDescription) {
    TReviewedHtml page;
    page.Review(Page("<title>Bakery</title>\r\n<meta name=\"description\" content=\"Fresh "
                     "bread,\r\nbaked daily\">\r\n" +
                         Keywords("bread, bakery"),
                     "<p>bread bread bakery bakery</p>\r\n"),
                KelVelmoraOptions());
    EXPECT_TRUE(page.GetCheckList().LineBreakInDescription);
    EXPECT_TRUE(HasAdvice(page, "Remove carriage return from description"));
}

TEST(ReviewedHtml, UnnecessarySpaceAndCompressionSwitch) {
    const std::string text =
        Page(kHead + Keywords("web hosting, cheap, backup"), "    <p>" + kBody + "</p>   \r\n");
    KelVelmoraOptions options;
    Compressible page;
    page.Review(text, options);
    ASSERT_GT(page.GetSpaceToRemove(), 0);
    EXPECT_EQ(static_cast<std::size_t>(page.GetSpaceToRemove()),
              text.size() - page.CompressedHtml().size());
    const std::string spaceAdvice =
        "File contains " + std::to_string(page.GetSpaceToRemove()) + " bytes of unnecessary space.";
    EXPECT_EQ(page.GetAdvice(), Lines{spaceAdvice});
    EXPECT_EQ(page.GetCheckList().Rating, 99.0f);

    options.CompressionEnabled = false;
    page.Review(text, options);
    EXPECT_TRUE(page.HasSpaceToRemove());
    EXPECT_EQ(page.GetCheckList().SpaceToRemove, 0);
    EXPECT_TRUE(page.GetAdvice().empty());
    EXPECT_EQ(page.GetCheckList().Rating, 100.0f);

    // Compression turns lone carriage returns into CR LF: a longer text has nothing to remove.
    page.Review("one\rtwo\rthree", options);
    EXPECT_GT(page.CompressedHtml().size(), page.GetHtml().size());
    EXPECT_EQ(page.GetSpaceToRemove(), 0);

    // The document's compress command: the text shrinks, the words stay.
    options.CompressionEnabled = true;
    page.Review(text, options);
    const std::int32_t good = page.GetGoodKeywordCount();
    page.CompressKeepingAnalysis();
    page.CheckPage(options);
    EXPECT_TRUE(page.GetAdvice().empty());
    EXPECT_EQ(page.GetGoodKeywordCount(), good);
}

TEST(ReviewedHtml, CheckPageWithOtherOptions) {
    KelVelmoraOptions lower;
    lower.KeywordCase = KeywordCaseMode::CaseInsensitiveLower;
    TReviewedHtml page;
    page.Review(Page(kHead + Keywords("Web hosting, web hosting, cheap"), kBody), lower);
    EXPECT_TRUE(page.GetCheckList().DuplicateKeywords);
    EXPECT_EQ(page.GetGoodKeywordCount(), 3);

    // The candidates stay lower-cased: "Web hosting" is no longer found, and is no duplicate.
    KelVelmoraOptions sensitive = lower;
    sensitive.KeywordCase = KeywordCaseMode::CaseSensitive;
    page.CheckPage(sensitive);
    EXPECT_FALSE(page.GetCheckList().DuplicateKeywords);
    EXPECT_EQ(page.GetGoodKeywordCount(), 2);
    EXPECT_EQ(page.GetBadKeywordCount(), 1);

    KelVelmoraOptions strict = lower;
    strict.MinimumKeywordCount = 4;
    strict.MinimumRecommendedTags = 5;
    page.CheckPage(strict);
    EXPECT_EQ(page.GetGoodKeywordCount(), 2);
    EXPECT_TRUE(HasAdvice(page, "Not enough good keywords"));
    EXPECT_EQ(page.GetCheckList().MinimumRecommendedTags, 5);

    KelVelmoraOptions noSpamming = lower;
    noSpamming.KeywordCountBeforeSpamming = 1;
    page.CheckPage(noSpamming);
    EXPECT_EQ(page.GetCheckList().SpammedWord, "Web");
}

TEST(ReviewedHtml, Utf8PageCountsCharactersNotBytes) {
    TReviewedHtml page;
    page.Review(Page("<title>Caf\xC3\xA9</title>\r\n" + Keywords("\xC3\xA9, caf\xC3\xA9"),
                     "<p>caf\xC3\xA9 caf\xC3\xA9 \xC3\xA9/\xC3\xA9 \xC3\xA9/\xC3\xA9</p>\r\n"),
                KelVelmoraOptions());
    EXPECT_EQ(page.Rules().encoding(), Encoding::Utf8);
    // "é" occurs four times as a slash part, but it is one character of two bytes.
    EXPECT_EQ(CountOccurrences("\xC3\xA9", page.GetCandidateList(),
                               KeywordCaseMode::CaseInsensitiveMixed),
              4);
    EXPECT_EQ(page.GetGoodKeywordCount(), 1);
    EXPECT_EQ(page.GetBadKeywordCount(), 1);
}

// A page of random words, with random keywords drawn from the same words.
std::string RandomPage(std::mt19937& random) {
    static const Lines kWords{"web",  "Web",    "hosting", "cheap", "the",    "plans", "a",
                              "shop", "design", "e-mail",  "3d",    "and/or", "SSL",   "fast"};
    auto word = [&] { return kWords[random() % kWords.size()]; };
    std::string keywords;
    for (unsigned k = random() % 30; k > 0; --k) {
        keywords += word();
        if (random() % 2) {
            keywords += ' ';
            keywords += word();
        }
        keywords += random() % 4 ? ", " : ",, ";
    }
    std::string body;
    for (unsigned w = random() % 2000; w > 0; --w) {
        body += word() + (random() % 9 ? " " : (random() % 2 ? ".\r\n" : " <b> "));
    }
    return Page("<title>" + word() + "</title>\r\n" + Keywords(keywords), body);
}

// Each finding's kind with its line and column, or 0, 0 for the whole page.
struct Located {
    FindingKind kind;
    std::size_t line;
    std::size_t column;
    bool operator==(const Located&) const = default;
};

std::vector<Located> Locations(const TReviewedHtml& page) {
    std::vector<Located> located;
    for (const Finding& finding : page.GetFindings()) {
        const TextPosition at = finding.position.value_or(TextPosition{0, 0});
        located.push_back({finding.kind, at.line, at.column});
    }
    return located;
}

TEST(ReviewedHtml, FindingsPointAtTheHeadElementsTheyConcern) {
    KelVelmoraOptions options;
    TReviewedHtml page;
    page.Review(Page("  <title></title>\r\n\t<meta name=\"description\" content=\"a\r\nb\">\r\n" +
                         Keywords("x, x"),
                     "<p>x  y</p>\r\n"),
                options);
    EXPECT_EQ(Locations(page), (std::vector<Located>{{FindingKind::NoTitle, 3, 3},
                                                     {FindingKind::LineBreakInDescription, 4, 2},
                                                     {FindingKind::BadKeywords, 6, 1},
                                                     {FindingKind::TooFewKeywords, 6, 1},
                                                     {FindingKind::DuplicateKeywords, 6, 1},
                                                     {FindingKind::UnnecessarySpace, 0, 0}}));

    // Without the elements, the findings concern the whole page.
    page.Review("<p>nothing</p>", options);
    EXPECT_EQ(Locations(page), (std::vector<Located>{{FindingKind::NoTitle, 0, 0},
                                                     {FindingKind::NoDescription, 0, 0},
                                                     {FindingKind::NoKeywords, 0, 0}}));
}

TEST(ReviewedHtml, FindingColumnsCountCharactersOfThePageEncoding) {
    KelVelmoraOptions options;
    options.CompressionEnabled = false;
    const std::string keywords = "<meta name=\"keywords\" content=\"\">";
    TReviewedHtml page;
    // "é" and "€" are one character each, in UTF-8 and in Windows-1252 bytes alike.
    page.Review("<p>\xC3\xA9\xE2\x82\xAC</p>" + keywords + "\r\n", options);
    ASSERT_EQ(page.GetFindings().size(), 3u);
    EXPECT_EQ(page.GetFindings()[2].position, (TextPosition{1, 10}));
    page.Review("<p>\xE9\x80</p>" + keywords + "\r\n", options);
    EXPECT_EQ(page.Rules().encoding(), Encoding::Windows1252);
    EXPECT_EQ(page.GetFindings()[2].position, (TextPosition{1, 10}));
}

// The result holds what the specified functions give, each asked on its own.
void ExpectResultMatchesTheSpecifiedFunctions(const TReviewedHtml& page,
                                              const KelVelmoraOptions& options) {
    const ReviewResult& result = page.Result();
    const KeywordList& keywords = page.GetKeywords();
    const WordList& words = page.GetCandidateList();
    const std::string title = GetTitle(page.GetHtml());
    EXPECT_EQ(result.title, title);
    EXPECT_EQ(result.description, GetDescription(page.GetHtml()));
    EXPECT_EQ(result.ratingText, page.GetCheckList().GetRatingText());
    ASSERT_EQ(result.keywordResults.size(), keywords.size());
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        const KeywordResult& judged = result.keywordResults[i];
        EXPECT_EQ(judged.occurrences, CountOccurrences(keywords[i], words, options.CaseMode()));
        EXPECT_EQ(judged.good, IsGoodKeyword(keywords[i], page.GetWordCount(), words, options));
        EXPECT_EQ(judged.duplicate,
                  detail::IsDuplicateKeyword(i, keywords, options.KeywordCase, page.Rules()));
        EXPECT_EQ(judged.score, KeywordScore(keywords[i], words, title, options));
    }
    ASSERT_TRUE(result.choice.has_value());
    EXPECT_EQ(result.choice->autoKeywords,
              AutoKeywords(keywords, page.GetWordCount(), words, title, options));
    const PrimedKeywordChoice primed =
        PrimeKeywordChoice(keywords, page.GetWordCount(), words, title, options);
    ASSERT_EQ(result.choice->candidates.size(), primed.GoodCandidates.size());
    for (std::size_t i = 0; i < primed.GoodCandidates.size(); ++i) {
        EXPECT_EQ(result.choice->candidates[i].text, primed.GoodCandidates[i]);
        EXPECT_EQ(result.choice->candidates[i].occurrences, primed.GoodCandidateCounts[i]);
    }
    // The Change Keywords dialog's lists, from the result alone.
    const PrimedKeywordChoice fromReview = PrimedFromReview(result);
    EXPECT_EQ(fromReview.Keywords, primed.Keywords);
    EXPECT_EQ(fromReview.Candidates, primed.Candidates);
    EXPECT_EQ(fromReview.GoodCandidates, primed.GoodCandidates);
    EXPECT_EQ(fromReview.OrderOptimal, primed.OrderOptimal);
}

TEST(ReviewedHtml, CountsAndRatingStayInRange) {
    std::mt19937 random(7);
    for (int i = 0; i < 12; ++i) {
        KelVelmoraOptions options;
        options.KeywordCase = static_cast<KeywordCaseMode>(1 + i % 3);
        TReviewedHtml page;
        page.Review(RandomPage(random), options, ReviewScope::WithCandidateChoice);
        const TFileCheckList& list = page.GetCheckList();
        EXPECT_EQ(list.GoodKeywordCount + list.BadKeywordCount, list.KeywordCount);
        EXPECT_EQ(static_cast<std::size_t>(list.KeywordCount), page.GetKeywords().size());
        EXPECT_GE(list.Rating, 0.0f);
        EXPECT_LE(list.Rating, 100.0f);
        for (const Finding& finding : list.Findings) {
            EXPECT_FALSE(finding.title.empty());
        }
        ExpectResultMatchesTheSpecifiedFunctions(page, options);
    }
}

}  // namespace
}  // namespace velmora
