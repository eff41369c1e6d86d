#pragma once

// The forms analyze writes its reports in, and what each needs around the pages: the readable
// text, compact result lines, JSON Lines, one SARIF log for the whole run, or CI workflow
// commands.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/github_report.h"
#include "cli/page_report.h"
#include "cli/report_results.h"
#include "cli/sarif_report.h"

namespace velmora::cli {

enum class ReportFormat { Text, Json, Sarif, Github, Compact };

// "text", "json", "sarif", "github", "compact".
std::optional<ReportFormat> ReportFormatNamed(std::string_view name);

struct ReportStyle {
    // Where the formats that CI tools read name pages from.
    std::filesystem::path baseFolder;
    // The least severe result shown, when given; each format has its own default.
    std::optional<ResultLevel> minimum;
    bool quiet = false;
    bool color = false;
};

class ReportStream {
public:
    ReportStream(ReportFormat format, ReportStyle style);

    ReportFormat format() const { return format_; }
    // Before the first page.
    std::string Opening() const;
    // One page; safe to call from several threads at once.
    std::string Page(const PageReport& report) const;
    // Site results of a file that is no page of the run (a sitemap), or of a page read back
    // from JSON Lines: its name and checks only.
    std::string Record(const std::string& file,
                       const std::vector<page_checks::CheckResult>& checks) const;
    // A page's output as it follows the pages already written, in order; `report` is none for
    // a page that could not be read.
    std::string Next(std::string pageOutput, const PageReport* report);
    // A record's output as it follows the pages already written: held and its results counted
    // as a page's are; `isPage` says whether it counts as a page too (a sitemap does not).
    std::string NextRecord(const std::string& file,
                           const std::vector<page_checks::CheckResult>& checks, bool isPage);
    // After the last page, naming the files that could not be read where the format can.
    std::string Closing(const std::vector<RunProblem>& problems) const;
    // The Markdown summary of a GitHub run.
    std::string StepSummary() const { return github_.StepSummary(); }

private:
    ResultLevel Minimum() const;
    std::string Follow(std::string output, const PageReport* report, bool isPage);

    ReportFormat format_;
    ReportStyle style_;
    SarifLog sarif_;
    GithubAnnotations github_;
    // The compact format's closing count.
    std::size_t compactCounts_[3] = {0, 0, 0};
    std::size_t compactPages_ = 0;
};

}  // namespace velmora::cli
