#pragma once

// The flags the page and site commands share: --json and --format choosing the report's form,
// and -j choosing how many pages are worked on at once.

#include <optional>
#include <string>
#include <string_view>

#include "cli/report_format.h"

namespace CLI {
class App;
}

namespace velmora::cli {

// --json, and --format with `help` describing the formats as the command writes them; the two
// exclude each other.
void AddFormatFlags(CLI::App& command, bool& json, std::optional<std::string>& format,
                    const std::string& help);

// The form the flags ask for: --json, else --format, else the readable text.
ReportFormat ChosenFormat(bool json, const std::optional<std::string>& format);

// -j/--jobs, 1 to the most threads; `what` says what happens to a page: "analysed", "fixed".
void AddJobsFlag(CLI::App& command, std::optional<unsigned>& jobs, std::string_view what);

}  // namespace velmora::cli
