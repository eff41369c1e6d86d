#include "cli/report_format.h"

#include "cli/check_json.h"
#include "cli/github_report.h"
#include "cli/json_report.h"
#include "cli/text_report.h"

namespace velmora::cli {

std::optional<ReportFormat> ReportFormatNamed(std::string_view name) {
    if (name == "text") {
        return ReportFormat::Text;
    }
    if (name == "json") {
        return ReportFormat::Json;
    }
    if (name == "sarif") {
        return ReportFormat::Sarif;
    }
    if (name == "github") {
        return ReportFormat::Github;
    }
    return std::nullopt;
}

ReportStream::ReportStream(ReportFormat format, std::filesystem::path workingFolder)
    : format_(format), workingFolder_(workingFolder), sarif_(std::move(workingFolder)) {}

std::string ReportStream::Opening() const {
    return format_ == ReportFormat::Sarif ? sarif_.Opening() : std::string();
}

std::string ReportStream::Page(const PageReport& report) const {
    switch (format_) {
        case ReportFormat::Json:
            return ToJsonLine(report) + "\n";
        case ReportFormat::Sarif:
            return sarif_.PageResults(report);
        case ReportFormat::Github:
            return ToGithubAnnotations(report, workingFolder_);
        case ReportFormat::Text:
            break;
    }
    return ToText(report);
}

std::string ReportStream::Record(const std::string& file,
                                 const std::vector<page_checks::CheckResult>& checks) const {
    if (format_ == ReportFormat::Json) {
        JsonWriter json;
        json.BeginObject().Field("file", file);
        WriteChecks(json, checks);
        json.EndObject();
        return json.Take() + "\n";
    }
    if (format_ == ReportFormat::Text) {
        return ToRecordText(file, checks);
    }
    PageReport report;
    report.file = file;
    report.checks.checks = checks;
    report.checks.summary = page_checks::Summarize(checks);
    return Page(report);
}

std::string ReportStream::Next(std::string pageOutput) {
    switch (format_) {
        case ReportFormat::Sarif:
            return sarif_.Continue(std::move(pageOutput));
        case ReportFormat::Text:
            // A blank line parts the readable pages.
            return pageOutput.empty() ? pageOutput : pageOutput + "\n";
        case ReportFormat::Json:
        case ReportFormat::Github:
            break;
    }
    return pageOutput;
}

std::string ReportStream::Closing() const {
    return format_ == ReportFormat::Sarif ? SarifLog::Closing() : std::string();
}

}  // namespace velmora::cli
