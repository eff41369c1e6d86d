#include "cli/page_report.h"

#include "analysis/keyword_choice.h"
#include "analysis/keyword_ordering.h"
#include "analysis/keyword_tests.h"
#include "core/html_functions_read.h"
#include "core/page_encoding.h"

namespace velmora::cli {

PageReport BuildPageReport(const std::string& file, const KelVelmoraData& document,
                           const KelVelmoraOptions& options) {
    const TextRules& rules = document.Rules();
    const Encoding encoding = rules.encoding();
    const auto utf8 = [encoding](std::string_view bytes) {
        return PageBytesToUtf8(bytes, encoding);
    };
    const KeywordCaseMode mode = options.CaseMode();
    const WordList& words = document.GetCandidateList();
    const std::int32_t wordCount = document.GetWordCount();
    const KeywordList& keywords = document.Keywords;
    const std::string title = GetTitle(document.Html);
    const TFileCheckList& checks = document.CheckList;

    PageReport report;
    report.file = file;
    report.encoding = encoding == Encoding::Utf8 ? "utf-8" : "windows-1252";
    report.title = utf8(title);
    report.description = utf8(GetDescription(document.Html));
    report.keywordsText = utf8(document.KeywordsText);
    report.keywords.reserve(keywords.size());
    for (const std::string& keyword : keywords) {
        report.keywords.push_back(utf8(keyword));
    }
    report.goodKeywords = checks.GoodKeywordCount;
    report.badKeywords = checks.BadKeywordCount;
    // The check computed both only for a page with keywords.
    report.optimalOrder = keywords.empty() || checks.OptimalOrder;
    report.duplicateKeywords = !keywords.empty() && checks.DuplicateKeywords;
    report.spammedWord = utf8(checks.SpammedWord);
    report.lineBreakInDescription = checks.LineBreakInDescription;
    report.spaceToRemove = document.SpaceToRemove;
    report.wordCount = wordCount;
    report.rating = checks.Rating;
    report.ratingText = document.GetRatingText();
    report.findings = checks.Findings;
    for (Finding& finding : report.findings) {
        // An advice line can quote the page (the spammed word), so it is decoded like the rest.
        finding.advice = utf8(finding.advice);
    }

    // Each keyword lower-cased once, so that long keyword lists stay linear.
    const KeywordKeys keys(keywords, mode, rules);
    const KeywordScorer scorer(words, title, options);
    report.keywordDetails.reserve(keywords.size());
    std::vector<std::int32_t> counts;
    counts.reserve(keywords.size());
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        const std::string& keyword = keywords[i];
        const bool duplicate = keys.Repeats(i);
        const std::int32_t occurrences = CountOccurrences(keyword, words, mode);
        counts.push_back(occurrences);
        report.keywordDetails.push_back(
            {report.keywords[i], occurrences,
             IsGoodKeyword(keyword, occurrences, wordCount, rules, options), duplicate,
             scorer.ReportedScore(keyword, occurrences)});
    }

    const PrimedKeywordChoice primed =
        PrimeKeywordChoice(keywords, counts, wordCount, words, title, options);
    for (std::size_t i = 0; i < primed.GoodCandidates.size(); ++i) {
        const std::string& candidate = primed.GoodCandidates[i];
        report.goodCandidates.push_back(
            {utf8(candidate), primed.GoodCandidateCounts[i], keys.Contains(candidate)});
    }
    for (const std::string& keyword : AutoKeywords(primed, words, title, options)) {
        report.autoKeywords.push_back(utf8(keyword));
    }
    return report;
}

}  // namespace velmora::cli
