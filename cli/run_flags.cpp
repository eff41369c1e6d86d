#include "cli/run_flags.h"

#include <CLI/CLI.hpp>

#include "cli/number_flags.h"
#include "cli/page_review.h"

namespace velmora::cli {

void AddFormatFlags(CLI::App& command, bool& json, std::optional<std::string>& format,
                    const std::string& help) {
    CLI::Option* jsonFlag = command.add_flag("--json", json, "The same as --format json");
    command.add_option("--format", format, help)
        ->check(CLI::IsMember({"text", "json", "sarif", "github", "compact"}))
        ->excludes(jsonFlag)
        ->type_name("FORMAT");
}

ReportFormat ChosenFormat(bool json, const std::optional<std::string>& format) {
    if (json) {
        return ReportFormat::Json;
    }
    return ReportFormatNamed(format.value_or("text")).value_or(ReportFormat::Text);
}

void AddJobsFlag(CLI::App& command, std::optional<unsigned>& jobs, std::string_view what) {
    command
        .add_option("-j,--jobs", jobs,
                    std::string("Pages ").append(what).append(
                        " at once (default: the number of processors)"))
        ->check(WholeNumber(1, kMaximumJobs))
        ->type_name("N");
}

}  // namespace velmora::cli
