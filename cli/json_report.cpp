#include "cli/json_report.h"

#include "cli/check_json.h"
#include "cli/json_writer.h"
#include "cli/report_rules.h"
#include "cli/site_json.h"
#include "cli/suppression_json.h"

namespace velmora::cli {

std::string ToJsonLine(const PageReport& report) {
    JsonWriter json;
    json.BeginObject()
        .Field("format", std::int64_t{kReportFormat})
        .Field("file", report.file)
        .Field("encoding", report.encoding)
        .Field("title", report.title)
        .Field("description", report.description)
        .Field("keywords_text", report.keywordsText)
        .Field("keywords", report.keywords)
        .Field("keyword_count", static_cast<std::int64_t>(report.keywords.size()))
        .Field("good_keywords", std::int64_t{report.goodKeywords})
        .Field("bad_keywords", std::int64_t{report.badKeywords})
        .Field("optimal_order", report.optimalOrder)
        .Field("duplicate_keywords", report.duplicateKeywords)
        .Field("spammed_word", report.spammedWord)
        .Field("line_break_in_description", report.lineBreakInDescription)
        .Field("space_to_remove", std::int64_t{report.spaceToRemove})
        .Field("word_count", std::int64_t{report.wordCount})
        .Key("rating")
        .Float(report.rating)
        .Field("rating_text", report.ratingText);

    json.Key("advice").BeginArray();
    for (const Finding& finding : report.findings) {
        json.String(finding.advice);
    }
    json.EndArray().Key("findings").BeginArray();
    for (const Finding& finding : report.findings) {
        json.BeginObject()
            .Field("id", ReportRules()[RuleIndex(finding.kind)].id)
            .Field("title", finding.title)
            .Field("advice", finding.advice);
        if (finding.position) {
            WritePosition(json, *finding.position);
        }
        json.EndObject();
    }
    json.EndArray().Key("keyword_details").BeginArray();
    for (const KeywordDetail& detail : report.keywordDetails) {
        json.BeginObject()
            .Field("keyword", detail.keyword)
            .Field("occurrences", std::int64_t{detail.occurrences})
            .Field("good", detail.good)
            .Field("duplicate", detail.duplicate)
            .Field("score", std::int64_t{detail.score})
            .EndObject();
    }
    json.EndArray().Key("good_candidates").BeginArray();
    for (const GoodCandidate& candidate : report.goodCandidates) {
        json.BeginObject()
            .Field("text", candidate.text)
            .Field("occurrences", std::int64_t{candidate.occurrences})
            .Field("is_keyword", candidate.isKeyword)
            .EndObject();
    }
    json.EndArray().Field("auto_keywords", report.autoKeywords);
    WriteCheckFields(json, report.checks);
    json.Key("site");
    WriteSiteObject(json, report.site);
    json.Field("suppressed", static_cast<std::int64_t>(report.suppressed))
        .Field("baselined", static_cast<std::int64_t>(report.baselined))
        .Key("suppressions");
    WriteSuppressions(json, report.suppressions);
    json.EndObject();
    return json.Take();
}

}  // namespace velmora::cli
