#include "analysis/reviewed_html.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "analysis/compressed_html.h"
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

}  // namespace

void TReviewedHtml::Review(std::string text, const KelVelmoraOptions& options) {
    Html = std::move(text);
    Rules_ = TextRules::ForPage(Html);
    const bool lowerCase = options.CaseMode() == KeywordCaseMode::CaseInsensitiveLower;
    // The old candidates go first, so two lists of a large page are never held at once, and
    // the compressed copy of the page is gone before the new list is built.
    Candidates.reset();
    // Lone carriage returns become CR LF, so compression can lengthen a text: then nothing
    // is removable.
    const std::size_t compressed = CompressHtml(Html).size();
    const std::size_t removable = Html.size() > compressed ? Html.size() - compressed : 0;
    SpaceToRemove = static_cast<std::int32_t>(
        std::min<std::size_t>(removable, std::numeric_limits<std::int32_t>::max()));
    Candidates.emplace(Html, lowerCase, &options.StopWords, Rules_);
    KeywordsText = GetMetaKeywords(Html);
    Keywords = SplitKeywords(KeywordsText);
    CheckPage(options);
}

void TReviewedHtml::CheckPage(const KelVelmoraOptions& options) {
    CheckList.Reset();
    const std::string title = GetTitle(Html);
    CheckList.HasTitle = !title.empty();
    const std::string description = GetDescription(Html);
    CheckList.HasDescription = !description.empty();
    CheckList.LineBreakInDescription = description.find_first_of("\r\n") != std::string::npos;
    CheckList.KeywordCount = static_cast<std::int32_t>(
        std::min<std::size_t>(Keywords.size(), std::numeric_limits<std::int32_t>::max()));
    CheckList.MaximumRecommendedTags = options.MaximumRecommendedTags;
    CheckList.MinimumRecommendedTags = options.MinimumRecommendedTags;
    if (CheckList.KeywordCount > 0) {
        const WordList& words = GetCandidateList();
        // Each keyword is looked up once for both the classification and the order test.
        const std::vector<std::int32_t> counts =
            CountOccurrencesOfEach(Keywords, words, options.CaseMode());
        ClassifyKeywords(Keywords, counts, GetWordCount(), words.Rules(), CheckList.BadKeywordCount,
                         CheckList.GoodKeywordCount, options);
        CheckList.OptimalOrder = IsOrderOptimal(Keywords, counts, words, title, options);
        CheckList.DuplicateKeywords = HasDuplicateKeywords(Keywords, options.KeywordCase, Rules_);
        CheckList.SpammedWord = FindSpammedWord(Keywords, options.KeywordCountBeforeSpamming);
    }
    CheckList.SpaceToRemove = options.CompressionEnabled ? SpaceToRemove : 0;
    LocateHeadElements(Html, Rules_.encoding(), CheckList);
    CheckList.Evaluate();
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

}  // namespace velmora
