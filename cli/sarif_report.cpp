#include "cli/sarif_report.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "cli/json_writer.h"
#include "cli/report_path.h"
#include "cli/report_results.h"
#include "cli/report_rules.h"

namespace velmora::cli {
namespace {

constexpr std::string_view kBaseId = "%SRCROOT%";

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

SarifLog::SarifLog(std::filesystem::path baseFolder, ResultLevel minimum, std::size_t resultLimit)
    : baseFolder_(std::move(baseFolder)), minimum_(minimum), resultLimit_(resultLimit) {}

std::string SarifLog::Opening() const {
    std::string folder = baseFolder_.lexically_normal().generic_string();
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
    const std::string path = PathFromWorkingFolder(report.file, baseFolder_);
    std::string out;
    for (const ReportResult& result : cli::PageResults(report)) {
        if (!AtLeast(result.level, minimum_)) {
            continue;
        }
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
        // JSON text holds no raw line break, so a line is one result.
        out += static_cast<char>('0' + static_cast<int>(result.level));
        out += json.Take();
        out += '\n';
    }
    return out;
}

void SarifLog::Hold(std::string pageResults) {
    for (std::size_t start = 0; start < pageResults.size();) {
        const std::size_t end = pageResults.find('\n', start);
        held_.push_back(pageResults.substr(start, end - start));
        start = end + 1;
    }
}

std::string SarifLog::Closing(const std::vector<RunProblem>& problems) const {
    // The most severe results fill the limit first; within a level the earlier pages stay.
    std::array<std::size_t, 3> perLevel{};
    for (const std::string& result : held_) {
        ++perLevel[static_cast<std::size_t>(result.front() - '0')];
    }
    std::array<std::size_t, 3> kept{};
    std::size_t room = resultLimit_;
    for (std::size_t level = 0; level < kept.size(); ++level) {
        kept[level] = std::min(perLevel[level], room);
        room -= kept[level];
    }
    std::string out;
    std::size_t left = 0;
    for (const std::string& result : held_) {
        std::size_t& keep = kept[static_cast<std::size_t>(result.front() - '0')];
        if (keep == 0) {
            ++left;
            continue;
        }
        --keep;
        out += out.empty() ? "" : ",";
        out.append(result, 1);
    }

    JsonWriter json;
    json.Key("invocations")
        .BeginArray()
        .BeginObject()
        .Field("executionSuccessful", problems.empty())
        .Key("toolExecutionNotifications")
        .BeginArray();
    for (const RunProblem& problem : problems) {
        const std::string path = PathFromWorkingFolder(problem.file, baseFolder_);
        json.BeginObject().Field("level", std::string_view("error"));
        WriteText(json, "message", problem.message);
        json.Key("locations").BeginArray().BeginObject().Key("physicalLocation").BeginObject();
        json.Key("artifactLocation").BeginObject().Field("uri", PathUri(path));
        if (!path.starts_with('/')) {
            json.Field("uriBaseId", kBaseId);
        }
        json.EndObject().EndObject().EndObject().EndArray().EndObject();
    }
    if (left > 0) {
        json.BeginObject().Field("level", std::string_view("warning"));
        WriteText(json, "message",
                  std::to_string(left) +
                      " results of the least severe levels were left out: code scanning takes "
                      "at most " +
                      std::to_string(resultLimit_) + " results from one run");
        json.EndObject();
    }
    json.EndArray().EndObject().EndArray();
    return out + "]," + json.Take() + "}]}\n";
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
