#pragma once

// What a command that reviews pages runs with: the project configuration, the settings with the
// flags over it, and the pages the arguments (or the configuration's include globs) name.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/config_flags.h"
#include "cli/page_check_flags.h"
#include "cli/page_inputs.h"
#include "cli/project_config.h"
#include "cli/result_filter.h"
#include "cli/settings_flags.h"
#include "cli/stdin_page.h"
#include "options/page_check_options.h"
#include "options/velmora_types.h"

namespace velmora::cli {

struct PageRun {
    std::optional<ProjectConfig> config;
    KelVelmoraOptions options;
    PageCheckOptions checkOptions;
    ResultFilter filter;
    std::vector<PageInput> inputs;
    std::unique_ptr<StandardInputPage> standardInput;  // while "-" is being read
};

// Throws UsageError for a configuration that cannot be used, or when neither the arguments nor
// the configuration name a page.
PageRun PreparePageRun(const std::vector<std::string>& paths, const ProjectFlags& project,
                       const SettingsFlags& settings, const PageCheckFlags& pageChecks);

}  // namespace velmora::cli
