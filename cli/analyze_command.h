#pragma once

// velmora-cli analyze: the review of every page named, as text or JSON Lines.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/config_flags.h"
#include "cli/output_flags.h"
#include "cli/page_check_flags.h"
#include "cli/settings_flags.h"
#include "cli/site_flags.h"

namespace CLI {
class App;
}

namespace velmora::cli {

class CheckedOutput;
class ErrorOutput;

struct AnalyzeArguments {
    std::vector<std::string> paths;
    bool json = false;
    std::optional<std::string> format;  // "text", "json", "sarif", "github" or "compact"
    std::optional<double> failUnder;
    std::optional<std::int32_t> minScore;  // the page checks' score, 0 to 100
    std::optional<std::string> failOn;     // "problem" or "improve"
    std::optional<unsigned> jobs;
    ProjectFlags project;
    OutputFlags output;
    SettingsFlags settings;
    PageCheckFlags pageChecks;
    SiteFlags site;
};

CLI::App& AddAnalyzeCommand(CLI::App& app, AnalyzeArguments& arguments);

// Writes the reports to out, which the caller closes, and problems to err; returns the exit
// code.
int RunAnalyze(const AnalyzeArguments& arguments, CheckedOutput& out, ErrorOutput& err);

}  // namespace velmora::cli
