#pragma once

// --config FILE, --no-config and --exclude GLOB, and the project configuration they choose
// merged under the command line's own flags.

#include <optional>
#include <string>
#include <vector>

#include "cli/page_check_flags.h"
#include "cli/project_config.h"
#include "cli/settings_flags.h"
#include "cli/site_flags.h"

namespace CLI {
class App;
}

namespace velmora::cli {

struct ProjectFlags {
    std::optional<std::string> file;
    bool none = false;
    std::vector<std::string> exclude;  // globs from the working folder
    std::optional<std::string> baseline;
};

// --config and --no-config.
void AddConfigFlags(CLI::App& command, ProjectFlags& flags);
// --baseline.
void AddBaselineFlag(CLI::App& command, ProjectFlags& flags);
// --config, --no-config and --exclude.
void AddPageSearchFlags(CLI::App& command, ProjectFlags& flags);
// All of them.
void AddProjectFlags(CLI::App& command, ProjectFlags& flags);

// The file --config names, else the first `.velmora.toml` from the working folder up; none with
// --no-config. Throws UsageError when the file cannot be used.
std::optional<ProjectConfig> LoadProjectConfig(const ProjectFlags& flags);

// The settings flags over the configuration's. With a configuration the stored desktop settings
// are not read: a project's result must not depend on whose machine runs it.
SettingsFlags MergeSettingsFlags(const SettingsFlags& flags,
                                 const std::optional<ProjectConfig>& config);
PageCheckFlags MergePageCheckFlags(const PageCheckFlags& flags,
                                   const std::optional<ProjectConfig>& config);

// --root, --base-url and --sitemap over the configuration's, its folders named from the working
// folder as the pages are.
SiteFlags MergeSiteFlags(const SiteFlags& flags, const std::optional<ProjectConfig>& config);

template <typename Value>
std::optional<Value> FlagOverConfig(const std::optional<Value>& flag,
                                    const std::optional<Value>& configured) {
    return flag ? flag : configured;
}

}  // namespace velmora::cli
