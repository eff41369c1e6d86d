#pragma once

// The flags that shape analyze's output for people and for CI: the least severe result shown,
// quiet runs, colour, and the folder that code-scanning reports name pages from.

#include <filesystem>
#include <optional>
#include <string>

#include "cli/report_format.h"
#include "cli/report_results.h"

namespace CLI {
class App;
}

namespace velmora::cli {

class CheckedOutput;

struct OutputFlags {
    std::optional<std::string> minLevel;  // "problem", "improve" or "info"
    bool quiet = false;
    std::string color = "auto";  // "auto", "always" or "never"
    std::optional<std::string> baseDir;
};

void AddOutputFlags(CLI::App& command, OutputFlags& flags);

// The least severe result a report shows; nullopt shows every check (the readable report's
// good ones too). --quiet shows problems only.
ResultLevel MinimumLevel(const OutputFlags& flags, ResultLevel formatDefault);
std::optional<ResultLevel> MinimumLevel(const OutputFlags& flags);

// Colour with --color always; with auto, on a terminal when NO_COLOR is unset or empty.
bool UseColor(const OutputFlags& flags, const CheckedOutput& out);

// How a run's reports look in the format: the least level, quiet, colour, and for the formats
// that name pages from a base folder (sarif and github), --base-dir, else the top of the Git
// work tree around the working folder, else the working folder.
ReportStyle StyleOfReports(const OutputFlags& flags, ReportFormat format, const CheckedOutput& out);

}  // namespace velmora::cli
