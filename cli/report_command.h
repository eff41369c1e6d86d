#pragma once

// velmora-cli report: the pages named, reviewed and checked as analyze does, written as one
// self-contained HTML file to look at in a browser.

#include <optional>
#include <string>
#include <vector>

#include "cli/config_flags.h"
#include "cli/page_check_flags.h"
#include "cli/settings_flags.h"
#include "cli/site_flags.h"

namespace CLI {
class App;
}

namespace velmora::cli {

class CheckedOutput;
class ErrorOutput;

struct ReportArguments {
    std::vector<std::string> paths;
    std::string output;
    std::optional<unsigned> jobs;
    ProjectFlags project;
    SettingsFlags settings;
    PageCheckFlags pageChecks;
    SiteFlags site;
};

CLI::App& AddReportCommand(CLI::App& app, ReportArguments& arguments);

// Names the pages that could not be read on err, writes the report of the rest (to out when the
// output is "-"), then says what it wrote; returns the exit code.
int RunReport(const ReportArguments& arguments, CheckedOutput& out, ErrorOutput& err);

}  // namespace velmora::cli
