#pragma once

// The forms analyze writes its reports in, and what each needs around the pages: the readable
// text, JSON Lines, one SARIF log for the whole run, or CI workflow commands.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/page_report.h"
#include "cli/sarif_report.h"

namespace velmora::cli {

enum class ReportFormat { Text, Json, Sarif, Github };

// "text", "json", "sarif", "github".
std::optional<ReportFormat> ReportFormatNamed(std::string_view name);

class ReportStream {
public:
    // Pages are named from `workingFolder` in the formats that CI tools read.
    ReportStream(ReportFormat format, std::filesystem::path workingFolder);

    ReportFormat format() const { return format_; }
    // Before the first page.
    std::string Opening() const;
    // One page; safe to call from several threads at once.
    std::string Page(const PageReport& report) const;
    // Site results of a file that is no page of the run (a sitemap), or of a page read back
    // from JSON Lines: its name and checks only.
    std::string Record(const std::string& file,
                       const std::vector<page_checks::CheckResult>& checks) const;
    // A page's output as it follows the pages already written, in order.
    std::string Next(std::string pageOutput);
    // After the last page.
    std::string Closing() const;

private:
    ReportFormat format_;
    std::filesystem::path workingFolder_;
    SarifLog sarif_;
};

}  // namespace velmora::cli
