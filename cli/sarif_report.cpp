#include "cli/sarif_report.h"

#include <cstdint>

#include "cli/json_writer.h"
#include "cli/report_path.h"
#include "cli/report_results.h"
#include "cli/report_rules.h"

namespace velmora::cli {
namespace {

constexpr std::string_view kBaseId = "SRCROOT";

std::string_view LevelName(ResultLevel level) {
    switch (level) {
        case ResultLevel::Error:
            return "error";
        case ResultLevel::Warning:
            return "warning";
        case ResultLevel::Note:
            break;
    }
    return "note";
}

void WriteText(JsonWriter& json, std::string_view key, std::string_view text) {
    json.Key(key).BeginObject().Field("text", text).EndObject();
}

void WriteRules(JsonWriter& json) {
    json.Key("rules").BeginArray();
    for (const ReportRule& rule : ReportRules()) {
        json.BeginObject().Field("id", rule.id).Field("name", RuleName(rule.id));
        WriteText(json, "shortDescription", rule.title);
        WriteText(json, "fullDescription", rule.help);
        WriteText(json, "help", rule.help);
        json.Key("defaultConfiguration")
            .BeginObject()
            .Field("level", std::string_view("warning"))
            .EndObject()
            .EndObject();
    }
    json.EndArray();
}

void WriteLocation(JsonWriter& json, const std::string& path, const ReportResult& result) {
    json.Key("locations").BeginArray().BeginObject().Key("physicalLocation").BeginObject();
    json.Key("artifactLocation").BeginObject().Field("uri", PathUri(path));
    if (!path.starts_with('/')) {
        json.Field("uriBaseId", kBaseId);
    }
    json.EndObject();
    if (result.position) {
        json.Key("region")
            .BeginObject()
            .Field("startLine", static_cast<std::int64_t>(result.position->line))
            .Field("startColumn", static_cast<std::int64_t>(result.position->column))
            .EndObject();
    }
    json.EndObject().EndObject().EndArray();
}

}  // namespace

SarifLog::SarifLog(std::filesystem::path workingFolder)
    : workingFolder_(std::move(workingFolder)) {}

std::string SarifLog::Opening() const {
    std::string folder = workingFolder_.lexically_normal().generic_string();
    if (!folder.ends_with('/')) {
        folder += '/';
    }
    JsonWriter json;
    json.BeginObject()
        .Field("$schema", std::string_view("https://json.schemastore.org/sarif-2.1.0.json"))
        .Field("version", std::string_view("2.1.0"))
        .Key("runs")
        .BeginArray()
        .BeginObject()
        .Key("tool")
        .BeginObject()
        .Key("driver")
        .BeginObject()
        .Field("name", std::string_view("velmora-cli"))
        .Field("version", std::string_view(VELMORA_VERSION_TEXT));
    WriteRules(json);
    json.EndObject().EndObject().Key("originalUriBaseIds").BeginObject().Key(kBaseId).BeginObject();
    json.Field("uri", PathUri(folder)).EndObject().EndObject();
    // Columns count characters, as the other reports do.
    json.Field("columnKind", std::string_view("unicodeCodePoints")).Key("results").BeginArray();
    return json.Take();
}

std::string SarifLog::PageResults(const PageReport& report) const {
    const std::string path = PathFromWorkingFolder(report.file, workingFolder_);
    std::string out;
    for (const ReportResult& result : cli::PageResults(report)) {
        const std::string_view ruleId = ReportRules()[result.rule].id;
        JsonWriter json;
        json.BeginObject()
            .Field("ruleId", ruleId)
            .Field("ruleIndex", static_cast<std::int64_t>(result.rule))
            .Field("level", LevelName(result.level));
        WriteText(json, "message", result.message);
        WriteLocation(json, path, result);
        // Rule, file and the element's own identity, never the line: moving lines keeps it.
        json.Key("partialFingerprints")
            .BeginObject()
            .Field("velmoraResult/v1",
                   Fingerprint(std::string(ruleId) + '\n' + path + '\n' + result.identity))
            .EndObject()
            .EndObject();
        out += out.empty() ? "" : ",";
        out += json.Take();
    }
    return out;
}

std::string SarifLog::Continue(std::string pageResults) {
    if (pageResults.empty()) {
        return pageResults;
    }
    const bool comma = anyResult_;
    anyResult_ = true;
    return comma ? "," + pageResults : pageResults;
}

std::string SarifLog::Closing() {
    return "]}]}\n";
}

std::string Fingerprint(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    constexpr char kHex[] = "0123456789abcdef";
    std::string digits(16, '0');
    for (std::size_t i = 16; i-- > 0; hash >>= 4) {
        digits[i] = kHex[hash & 0xF];
    }
    return digits;
}

}  // namespace velmora::cli
