#include "cli/github_report.h"

#include <algorithm>
#include <tuple>

#include "cli/count_text.h"
#include "cli/escaped_text.h"
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

// A file name as table text: Markdown's own characters are taken literally.
std::string MarkdownText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (std::string_view("\\`*_[]<>|#!~").find(c) != std::string_view::npos) {
            out += '\\';
        }
        out += c;
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

std::string ToGithubAnnotations(const PageReport& report, const std::filesystem::path& baseFolder,
                                ResultLevel minimum) {
    // Page text and file names may hold control characters, which a log would show raw.
    const std::string file =
        EscapeCommandProperty(EscapeControls(PathFromWorkingFolder(report.file, baseFolder)));
    std::string out;
    for (const ReportResult& result : PageResults(report)) {
        if (!AtLeast(result.level, minimum)) {
            continue;
        }
        out += static_cast<char>('0' + static_cast<int>(result.level));
        out += "::";
        out += CommandName(result.level);
        out += " file=" + file;
        if (result.position) {
            out += ",line=" + std::to_string(result.position->line) +
                   ",col=" + std::to_string(result.position->column);
        }
        out += ",title=" + EscapeCommandProperty(ReportRules()[result.rule].title);
        out += "::" + EscapeCommandData(EscapeControls(result.message)) + "\n";
    }
    return out;
}

void GithubAnnotations::Hold(std::string pageAnnotations, const PageReport& report, bool isPage) {
    for (std::size_t start = 0; start < pageAnnotations.size();) {
        const std::size_t end = pageAnnotations.find('\n', start);
        held_.push_back(pageAnnotations.substr(start, end - start + 1));
        start = end + 1;
    }
    pageCount_ += isPage ? 1 : 0;
    PageCounts counts{report.file, 0, 0, 0};
    for (const ReportResult& result : PageResults(report)) {
        ++(result.level == ResultLevel::Error     ? counts.problem
           : result.level == ResultLevel::Warning ? counts.improve
                                                  : counts.info);
    }
    if (counts.problem + counts.improve + counts.info > 0) {
        pages_.push_back(std::move(counts));
    }
}

std::string GithubAnnotations::Closing() const {
    std::string out;
    std::size_t left = 0;
    for (const char level : {'0', '1', '2'}) {
        std::size_t shown = 0;
        for (const std::string& annotation : held_) {
            if (annotation.front() != level) {
                continue;
            }
            if (shown == kAnnotationsPerLevel) {
                ++left;
                continue;
            }
            ++shown;
            out.append(annotation, 1);
        }
    }
    if (left > 0) {
        out += "::notice title=More results::" + std::to_string(left) +
               " more results are not shown as annotations (GitHub shows " +
               std::to_string(kAnnotationsPerLevel) +
               " of each level); the job's summary, --format sarif or --format compact list "
               "them all\n";
    }
    return out;
}

std::string GithubAnnotations::StepSummary() const {
    constexpr std::size_t kRowsShown = 100;
    std::size_t problem = 0;
    std::size_t improve = 0;
    std::size_t info = 0;
    for (const PageCounts& page : pages_) {
        problem += page.problem;
        improve += page.improve;
        info += page.info;
    }
    std::vector<PageCounts> rows = pages_;
    std::stable_sort(rows.begin(), rows.end(), [](const PageCounts& a, const PageCounts& b) {
        return std::tie(b.problem, b.improve) < std::tie(a.problem, a.improve);
    });
    std::string out = "### velmora-cli\n\n" + CountText(pageCount_, "page", "pages") + ": " +
                      std::to_string(problem) + " problem, " + std::to_string(improve) +
                      " improve, " + std::to_string(info) + " info.\n\n";
    if (rows.empty()) {
        return out;
    }
    out += "| Page | Problem | Improve | Info |\n|---|---:|---:|---:|\n";
    for (std::size_t i = 0; i < rows.size() && i < kRowsShown; ++i) {
        out += "| " + MarkdownText(EscapeControls(rows[i].file)) + " | " +
               std::to_string(rows[i].problem) + " | " + std::to_string(rows[i].improve) + " | " +
               std::to_string(rows[i].info) + " |\n";
    }
    if (rows.size() > kRowsShown) {
        out += "\n…and " + std::to_string(rows.size() - kRowsShown) + " more pages with results.\n";
    }
    return out + "\n";
}

}  // namespace velmora::cli
