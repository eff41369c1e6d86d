#include "cli/report_format.h"

#include "cli/check_json.h"
#include "cli/compact_report.h"
#include "cli/github_report.h"
#include "cli/json_report.h"
#include "cli/text_report.h"

namespace velmora::cli {
namespace {

// Code scanning and CI annotations are for what needs doing; the other formats show all.
ResultLevel DefaultMinimum(ReportFormat format) {
    return format == ReportFormat::Sarif || format == ReportFormat::Github ? ResultLevel::Warning
                                                                           : ResultLevel::Note;
}

}  // namespace

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
    if (name == "compact") {
        return ReportFormat::Compact;
    }
    return std::nullopt;
}

ReportStream::ReportStream(ReportFormat format, ReportStyle style)
    : format_(format),
      style_(std::move(style)),
      sarif_(style_.baseFolder, style_.minimum.value_or(DefaultMinimum(format))) {}

ResultLevel ReportStream::Minimum() const {
    return style_.minimum.value_or(DefaultMinimum(format_));
}

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
            return ToGithubAnnotations(report, style_.baseFolder, Minimum());
        case ReportFormat::Compact:
            return ToCompactLines(report, Minimum(), style_.color);
        case ReportFormat::Text:
            break;
    }
    return ToText(report, TextStyle{style_.minimum, style_.quiet, style_.color});
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
        return ToRecordText(file, checks, TextStyle{style_.minimum, style_.quiet, style_.color});
    }
    PageReport report;
    report.file = file;
    report.checks.checks = checks;
    report.checks.summary = page_checks::Summarize(checks);
    return Page(report);
}

std::string ReportStream::NextRecord(const std::string& file,
                                     const std::vector<page_checks::CheckResult>& checks,
                                     bool isPage) {
    PageReport report;
    report.file = file;
    report.checks.checks = checks;
    report.checks.summary = page_checks::Summarize(checks);
    return Follow(Record(file, checks), &report, isPage);
}

std::string ReportStream::Next(std::string pageOutput, const PageReport* report) {
    return Follow(std::move(pageOutput), report, true);
}

std::string ReportStream::Follow(std::string pageOutput, const PageReport* report, bool isPage) {
    switch (format_) {
        case ReportFormat::Sarif:
            sarif_.Hold(std::move(pageOutput));
            return {};
        case ReportFormat::Github:
            if (report != nullptr) {
                github_.Hold(std::move(pageOutput), *report, isPage);
            }
            return {};
        case ReportFormat::Compact:
            if (report != nullptr) {
                compactPages_ += isPage ? 1 : 0;
                for (const ReportResult& result : PageResults(*report)) {
                    compactCounts_[static_cast<int>(result.level)] +=
                        AtLeast(result.level, Minimum()) ? 1 : 0;
                }
            }
            return pageOutput;
        case ReportFormat::Text:
            // A blank line parts the readable pages.
            return pageOutput.empty() ? pageOutput : pageOutput + "\n";
        case ReportFormat::Json:
            break;
    }
    return pageOutput;
}

std::string ReportStream::Closing(const std::vector<RunProblem>& problems) const {
    switch (format_) {
        case ReportFormat::Sarif:
            return sarif_.Closing(problems);
        case ReportFormat::Github:
            return github_.Closing();
        case ReportFormat::Compact:
            return CompactSummary(compactCounts_[0], compactCounts_[1], compactCounts_[2],
                                  compactPages_);
        case ReportFormat::Text:
        case ReportFormat::Json:
            break;
    }
    return {};
}

}  // namespace velmora::cli
