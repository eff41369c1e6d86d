#include "analysis/reviewed_html.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "analysis/compressed_html.h"
#include "analysis/keyword_choice.h"
#include "analysis/keyword_ordering.h"
#include "analysis/keyword_tests.h"
#include "core/html_functions_read.h"
#include "core/kel_string_functions.h"
#include "core/line_index.h"

namespace velmora {
namespace {

// Where the head reader finds the title element and the description and keywords tags, as the
// line and column of their "<".
void LocateHeadElements(std::string_view html, Encoding encoding, TFileCheckList& list) {
    const std::size_t title = PositionIgnoringAsciiCase("<title>", html);
    const MetaTagPosition description = FindMetaTag(html, "description");
    const MetaTagPosition keywords = FindMetaTag(html, "keywords");
    if (title == 0 && !description.found && !keywords.found) {
        return;
    }
    // The three tags stand in the head: only the text up to the last of them is indexed, so a
    // check of a large page does not read the whole page again.
    const std::size_t end = std::max({title, description.found ? description.TagStart : 0,
                                      keywords.found ? keywords.TagStart : 0});
    const LineIndex index(html.substr(0, end), encoding == Encoding::Utf8
                                                   ? LineIndex::Unit::Utf8CodePoints
                                                   : LineIndex::Unit::Bytes);
    // The head reader's positions are 1-based.
    if (title != 0) {
        list.TitleAt = index.At(title - 1);
    }
    if (description.found) {
        list.DescriptionAt = index.At(description.TagStart - 1);
    }
    if (keywords.found) {
        list.KeywordsAt = index.At(keywords.TagStart - 1);
    }
}

std::int32_t Bounded(std::size_t count) {
    return static_cast<std::int32_t>(
        std::min<std::size_t>(count, std::numeric_limits<std::int32_t>::max()));
}

// Each keyword's count, class, duplicate mark and score, and the keyword results of the check
// list, for a page with keywords.
void JudgeKeywords(ReviewResult& result, const KeywordList& keywords, const WordList& words,
                   const KelVelmoraOptions& options) {
    TFileCheckList& checks = result.checks;
    // Each keyword is looked up once for the classification, the order test and the scores,
    // and lower-cased once for the duplicate marks.
    const std::vector<std::int32_t> counts =
        CountOccurrencesOfEach(keywords, words, options.CaseMode());
    const KeywordKeys keys(keywords, options.CaseMode(), result.rules);
    const KeywordScorer scorer(words, result.title, options);
    result.keywordResults.reserve(keywords.size());
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        const bool good =
            IsGoodKeyword(keywords[i], counts[i], result.wordCount, words.Rules(), options);
        ++(good ? checks.GoodKeywordCount : checks.BadKeywordCount);
        result.keywordResults.push_back(
            {counts[i], good, keys.Repeats(i), scorer.ReportedScore(keywords[i], counts[i])});
    }
    checks.OptimalOrder = IsOrderOptimal(keywords, counts, words, result.title, options);
    checks.DuplicateKeywords = keys.AnyRepeats();
    checks.SpammedWord = FindSpammedWord(keywords, options.KeywordCountBeforeSpamming);
}

// The good candidates and Auto's choice.
CandidateChoice ChooseCandidates(const ReviewResult& result, const KeywordList& keywords,
                                 const WordList& words, const KelVelmoraOptions& options,
                                 const std::function<void(std::size_t)>& advance) {
    std::vector<std::int32_t> counts;
    counts.reserve(result.keywordResults.size());
    for (const KeywordResult& keyword : result.keywordResults) {
        counts.push_back(keyword.occurrences);
    }
    const PrimedKeywordChoice primed = PrimeKeywordChoice(keywords, counts, result.wordCount, words,
                                                          result.title, options, advance);
    const KeywordKeys keys(keywords, options.CaseMode(), result.rules);
    CandidateChoice choice;
    choice.candidates.reserve(primed.GoodCandidates.size());
    for (std::size_t i = 0; i < primed.GoodCandidates.size(); ++i) {
        const std::string& candidate = primed.GoodCandidates[i];
        choice.candidates.push_back(
            {candidate, primed.GoodCandidateCounts[i], keys.Contains(candidate)});
    }
    choice.autoKeywords = AutoKeywords(primed, words, result.title, options);
    return choice;
}

}  // namespace

TReviewedHtml::TReviewedHtml() {
    result_.ratingText = result_.checks.GetRatingText();
}

void TReviewedHtml::Review(std::string text, const KelVelmoraOptions& options, ReviewScope scope) {
    Html = std::move(text);
    const bool lowerCase = options.CaseMode() == KeywordCaseMode::CaseInsensitiveLower;
    // The old candidates go first, so two lists of a large page are never held at once, and
    // the compressed copy of the page is gone before the new list is built.
    Candidates.reset();
    result_ = ReviewResult();
    result_.rules = TextRules::ForPage(Html);
    // Lone carriage returns become CR LF, so compression can lengthen a text: then nothing
    // is removable.
    const std::size_t compressed = CompressHtml(Html).size();
    SpaceToRemove = Bounded(Html.size() > compressed ? Html.size() - compressed : 0);
    Candidates.emplace(Html, lowerCase, &options.StopWords, result_.rules);
    result_.keywordsText = GetMetaKeywords(Html);
    result_.keywords = SplitKeywords(result_.keywordsText);
    CheckPage(options, scope);
}

void TReviewedHtml::CheckPage(const KelVelmoraOptions& options, ReviewScope scope,
                              const std::function<void(std::size_t)>& advance) {
    const KeywordList& keywords = result_.keywords;
    ReviewResult next;
    next.rules = result_.rules;
    next.title = GetTitle(Html);
    next.description = GetDescription(Html);
    next.wordCount = GetWordCount();
    next.spaceToRemove = SpaceToRemove;
    TFileCheckList& checks = next.checks;
    checks.HasTitle = !next.title.empty();
    checks.HasDescription = !next.description.empty();
    checks.LineBreakInDescription = next.description.find_first_of("\r\n") != std::string::npos;
    checks.KeywordCount = Bounded(keywords.size());
    checks.MaximumRecommendedTags = options.MaximumRecommendedTags;
    checks.MinimumRecommendedTags = options.MinimumRecommendedTags;
    if (checks.KeywordCount > 0) {
        JudgeKeywords(next, keywords, GetCandidateList(), options);
    }
    checks.SpaceToRemove = options.CompressionEnabled ? SpaceToRemove : 0;
    LocateHeadElements(Html, next.rules.encoding(), checks);
    checks.Evaluate();
    next.ratingText = checks.GetRatingText();
    if (scope == ReviewScope::WithCandidateChoice) {
        next.choice = ChooseCandidates(next, keywords, GetCandidateList(), options, advance);
    }
    // The keyword list is the review's, not the check's: it moves over whole, after everything
    // that could fail.
    next.keywordsText = std::move(result_.keywordsText);
    next.keywords = std::move(result_.keywords);
    result_ = std::move(next);
}

std::string TReviewedHtml::CompressedHtml() const {
    return CompressHtml(Html);
}

const WordList& TReviewedHtml::GetCandidateList() const {
    static const WordList kNoWords;
    return Candidates ? Candidates->Words : kNoWords;
}

std::int32_t TReviewedHtml::GetWordCount() const {
    return Candidates ? Candidates->WordCount : 0;
}

void TReviewedHtml::ReplaceUnreviewed(std::string text) {
    Html = std::move(text);
    Candidates.reset();
}

void TReviewedHtml::CompressKeepingAnalysis() {
    Html = CompressHtml(Html);
    SpaceToRemove = 0;
}

}  // namespace velmora
