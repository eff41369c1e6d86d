#include "cli/json_report.h"

#include <cstdint>
#include <nlohmann/json.hpp>
#include <vector>

namespace velmora::cli {
namespace {

// Fields stay in the documented order, and the rating is held as a 32-bit float so that it is
// written with the fewest digits that read back to the same float.
using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool,
                                  std::int64_t, std::uint64_t, float>;

}  // namespace

std::string ToJsonLine(const PageReport& report) {
    Json findings = Json::array();
    Json advice = Json::array();
    for (const Finding& finding : report.findings) {
        advice.push_back(finding.advice);
        findings.push_back({{"title", finding.title}, {"advice", finding.advice}});
    }
    Json details = Json::array();
    for (const KeywordDetail& detail : report.keywordDetails) {
        details.push_back({{"keyword", detail.keyword},
                           {"occurrences", detail.occurrences},
                           {"good", detail.good},
                           {"duplicate", detail.duplicate},
                           {"score", detail.score}});
    }
    Json candidates = Json::array();
    for (const GoodCandidate& candidate : report.goodCandidates) {
        candidates.push_back({{"text", candidate.text},
                              {"occurrences", candidate.occurrences},
                              {"is_keyword", candidate.isKeyword}});
    }

    Json line;
    line["format"] = kReportFormat;
    line["file"] = report.file;
    line["encoding"] = report.encoding;
    line["title"] = report.title;
    line["description"] = report.description;
    line["keywords_text"] = report.keywordsText;
    line["keywords"] = report.keywords;
    line["keyword_count"] = report.keywords.size();
    line["good_keywords"] = report.goodKeywords;
    line["bad_keywords"] = report.badKeywords;
    line["optimal_order"] = report.optimalOrder;
    line["duplicate_keywords"] = report.duplicateKeywords;
    line["spammed_word"] = report.spammedWord;
    line["line_break_in_description"] = report.lineBreakInDescription;
    line["space_to_remove"] = report.spaceToRemove;
    line["word_count"] = report.wordCount;
    line["rating"] = report.rating;
    line["rating_text"] = report.ratingText;
    line["advice"] = std::move(advice);
    line["findings"] = std::move(findings);
    line["keyword_details"] = std::move(details);
    line["good_candidates"] = std::move(candidates);
    line["auto_keywords"] = report.autoKeywords;
    // Every text is UTF-8 already; a file name that is not (paths are bytes) is not refused.
    return line.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace velmora::cli
