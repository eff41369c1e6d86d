#include "cli/github_report.h"

#include "cli/report_path.h"
#include "cli/report_results.h"
#include "cli/report_rules.h"

namespace velmora::cli {
namespace {

std::string_view CommandName(ResultLevel level) {
    switch (level) {
        case ResultLevel::Error:
            return "error";
        case ResultLevel::Warning:
            return "warning";
        case ResultLevel::Note:
            break;
    }
    return "notice";
}

std::string Escape(std::string_view text, bool property) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '%':
                out += "%25";
                break;
            case '\r':
                out += "%0D";
                break;
            case '\n':
                out += "%0A";
                break;
            case ':':
                out += property ? "%3A" : ":";
                break;
            case ',':
                out += property ? "%2C" : ",";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

std::string EscapeCommandData(std::string_view text) {
    return Escape(text, false);
}

std::string EscapeCommandProperty(std::string_view text) {
    return Escape(text, true);
}

std::string ToGithubAnnotations(const PageReport& report,
                                const std::filesystem::path& workingFolder) {
    const std::string file =
        EscapeCommandProperty(PathFromWorkingFolder(report.file, workingFolder));
    std::string out;
    for (const ReportResult& result : PageResults(report)) {
        out += "::";
        out += CommandName(result.level);
        out += " file=" + file;
        if (result.position) {
            out += ",line=" + std::to_string(result.position->line) +
                   ",col=" + std::to_string(result.position->column);
        }
        out += ",title=" + EscapeCommandProperty(ReportRules()[result.rule].title);
        out += "::" + EscapeCommandData(result.message) + "\n";
    }
    return out;
}

}  // namespace velmora::cli
