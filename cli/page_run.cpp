#include "cli/page_run.h"

#include <filesystem>
#include <system_error>

#include "cli/report_rules.h"
#include "cli/usage_error.h"

namespace velmora::cli {
namespace fs = std::filesystem;

namespace {

fs::path WorkingFolder() {
    std::error_code noFolder;
    return fs::current_path(noFolder);
}

// The configuration's include globs, written from the working folder so that pages keep
// relative names.
std::vector<std::string> IncludedPaths(const ProjectConfig& config) {
    const fs::path folder = config.folder.lexically_proximate(WorkingFolder());
    std::vector<std::string> paths;
    for (const std::string& glob : config.include) {
        paths.push_back(folder == "." ? glob : (folder / glob).lexically_normal().string());
    }
    return paths;
}

PageSelection Selection(const ProjectFlags& project, const std::optional<ProjectConfig>& config) {
    PageSelection selection;
    const fs::path here = WorkingFolder();
    for (const std::string& glob : project.exclude) {
        selection.exclude.emplace_back(glob, here);
    }
    if (config) {
        for (const std::string& glob : config->exclude) {
            selection.exclude.emplace_back(glob, config->folder);
        }
        for (const FocusRule& rule : config->focus) {
            selection.focus.push_back({PathGlob(rule.files, config->folder), rule.phrase});
        }
    }
    return selection;
}

}  // namespace

PageRun PreparePageRun(const std::vector<std::string>& paths, const ProjectFlags& project,
                       const SettingsFlags& settings, const PageCheckFlags& pageChecks) {
    PageRun run;
    run.config = LoadProjectConfig(project);
    const SettingsFlags mergedSettings = MergeSettingsFlags(settings, run.config);
    run.options = ResolveOptions(mergedSettings);
    run.checkOptions = ResolvePageCheckOptions(MergePageCheckFlags(pageChecks, run.config),
                                               mergedSettings.defaults);
    if (run.config) {
        for (const std::string& id : run.config->skippedFindings) {
            run.filter.skippedFindings.push_back(RuleIndexNamed(id).value());
        }
    }
    if (project.baseline) {
        run.filter.baseline = std::make_shared<const Baseline>(*project.baseline, WorkingFolder());
    }
    std::vector<std::string> named = paths;
    if (named.empty() && run.config) {
        named = IncludedPaths(*run.config);
    }
    if (named.empty()) {
        throw UsageError(
            "no pages named: give files, folders or globs, or include globs in .velmora.toml");
    }
    run.inputs = ExpandPageArguments(named, Selection(project, run.config));
    run.standardInput = TakeStandardInput(run.inputs);
    return run;
}

}  // namespace velmora::cli
