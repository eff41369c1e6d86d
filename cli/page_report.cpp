#include "cli/page_report.h"

#include "core/page_encoding.h"
#include "core/text_rules.h"

namespace velmora::cli {

PageReport BuildPageReport(const std::string& file, const KelVelmoraData& document) {
    const ReviewResult& result = document.Result();
    const Encoding encoding = result.rules.encoding();
    const auto utf8 = [encoding](std::string_view bytes) {
        return PageBytesToUtf8(bytes, encoding);
    };
    const KeywordList& keywords = result.keywords;
    const TFileCheckList& checks = result.checks;

    PageReport report;
    report.file = file;
    report.encoding = encoding == Encoding::Utf8 ? "utf-8" : "windows-1252";
    report.asciiOnly = IsAscii(document.GetSavedText());
    report.lineBreak = LineBreakBytes(document.LineBreaks().kind);
    report.title = utf8(result.title);
    report.description = utf8(result.description);
    report.keywordsText = utf8(result.keywordsText);
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
    report.spaceToRemove = result.spaceToRemove;
    report.wordCount = result.wordCount;
    report.rating = checks.Rating;
    report.ratingText = result.ratingText;
    report.findings = checks.Findings;
    for (Finding& finding : report.findings) {
        // An advice line can quote the page (the spammed word), so it is decoded like the rest.
        finding.advice = utf8(finding.advice);
    }
    report.keywordDetails.reserve(keywords.size());
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        const KeywordResult& keyword = result.keywordResults[i];
        report.keywordDetails.push_back({report.keywords[i], keyword.occurrences, keyword.good,
                                         keyword.duplicate, keyword.score});
    }
    if (result.choice) {
        for (const CandidateResult& candidate : result.choice->candidates) {
            report.goodCandidates.push_back(
                {utf8(candidate.text), candidate.occurrences, candidate.isKeyword});
        }
        for (const std::string& keyword : result.choice->autoKeywords) {
            report.autoKeywords.push_back(utf8(keyword));
        }
    }
    return report;
}

}  // namespace velmora::cli
