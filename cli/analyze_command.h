#pragma once

// velmora-cli analyze: the review of every page named, as text or JSON Lines.

#include <optional>
#include <string>
#include <vector>

#include "cli/page_check_flags.h"
#include "cli/settings_flags.h"

namespace CLI {
class App;
}

namespace velmora::cli {

struct AnalyzeArguments {
    std::vector<std::string> paths;
    bool json = false;
    std::optional<double> failUnder;
    std::optional<std::string> failOn;  // "problem" or "improve"
    std::optional<unsigned> jobs;
    SettingsFlags settings;
    PageCheckFlags pageChecks;
};

CLI::App& AddAnalyzeCommand(CLI::App& app, AnalyzeArguments& arguments);

// Writes the reports through StandardOutput(), which main closes, and problems to standard
// error; returns the exit code.
int RunAnalyze(const AnalyzeArguments& arguments);

}  // namespace velmora::cli
