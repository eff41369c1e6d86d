#include "cli/config_flags.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <system_error>

namespace velmora::cli {

void AddConfigFlags(CLI::App& command, ProjectFlags& flags) {
    CLI::Option* file =
        command
            .add_option("--config", flags.file,
                        "The project configuration to read (default: the first .velmora.toml in "
                        "the working folder or above it); with one, the stored settings are not "
                        "read")
            ->type_name("FILE")
            ->group("Project");
    command.add_flag("--no-config", flags.none, "Read no project configuration")
        ->excludes(file)
        ->group("Project");
}

void AddPageSearchFlags(CLI::App& command, ProjectFlags& flags) {
    AddConfigFlags(command, flags);
    command
        .add_option("--exclude", flags.exclude,
                    "Leave out the pages and folders a glob matches in folder and glob searches "
                    "(\"drafts/**\"; a glob without / matches names at any depth); repeatable")
        ->type_name("GLOB")
        ->allow_extra_args(false)
        ->group("Project");
}

void AddProjectFlags(CLI::App& command, ProjectFlags& flags) {
    AddPageSearchFlags(command, flags);
    AddBaselineFlag(command, flags);
}

void AddBaselineFlag(CLI::App& command, ProjectFlags& flags) {
    command
        .add_option("--baseline", flags.baseline,
                    "Leave out the results an earlier analyze --json wrote to this file, matched "
                    "by page, check and element text, whatever line they moved to")
        ->type_name("FILE.jsonl")
        ->group("Project");
}

std::optional<ProjectConfig> LoadProjectConfig(const ProjectFlags& flags) {
    if (flags.none) {
        return std::nullopt;
    }
    if (flags.file) {
        return ReadProjectConfig(*flags.file);
    }
    std::error_code noFolder;
    const std::filesystem::path here = std::filesystem::current_path(noFolder);
    if (noFolder) {
        return std::nullopt;
    }
    if (const std::optional<std::filesystem::path> found = FindProjectConfig(here)) {
        return ReadProjectConfig(*found);
    }
    return std::nullopt;
}

SettingsFlags MergeSettingsFlags(const SettingsFlags& flags,
                                 const std::optional<ProjectConfig>& config) {
    if (!config) {
        return flags;
    }
    const SettingsFlags& file = config->review;
    SettingsFlags merged = flags;
    merged.keywordCase = FlagOverConfig(flags.keywordCase, file.keywordCase);
    merged.minOccurrences = FlagOverConfig(flags.minOccurrences, file.minOccurrences);
    merged.maxOccurrences = FlagOverConfig(flags.maxOccurrences, file.maxOccurrences);
    merged.oneInEvery = FlagOverConfig(flags.oneInEvery, file.oneInEvery);
    merged.minKeywords = FlagOverConfig(flags.minKeywords, file.minKeywords);
    merged.maxKeywords = FlagOverConfig(flags.maxKeywords, file.maxKeywords);
    merged.spamLimit = FlagOverConfig(flags.spamLimit, file.spamLimit);
    merged.noCompression = flags.noCompression || file.noCompression;
    merged.defaults = true;
    return merged;
}

PageCheckFlags MergePageCheckFlags(const PageCheckFlags& flags,
                                   const std::optional<ProjectConfig>& config) {
    if (!config) {
        return flags;
    }
    const PageCheckFlags& file = config->checks;
    PageCheckFlags merged = flags;
    merged.titleChars = FlagOverConfig(flags.titleChars, file.titleChars);
    merged.descriptionChars = FlagOverConfig(flags.descriptionChars, file.descriptionChars);
    merged.titlePixels = FlagOverConfig(flags.titlePixels, file.titlePixels);
    merged.descriptionPixels = FlagOverConfig(flags.descriptionPixels, file.descriptionPixels);
    merged.skippedChecks.insert(merged.skippedChecks.end(), file.skippedChecks.begin(),
                                file.skippedChecks.end());
    return merged;
}

SiteFlags MergeSiteFlags(const SiteFlags& flags, const std::optional<ProjectConfig>& config) {
    if (!config) {
        return flags;
    }
    std::error_code noFolder;
    const std::filesystem::path here = std::filesystem::current_path(noFolder);
    const auto named = [&](const std::optional<std::filesystem::path>& path) {
        return path ? std::optional(path->lexically_proximate(here).string()) : std::nullopt;
    };
    SiteFlags merged = flags;
    merged.root = FlagOverConfig(flags.root, named(config->root));
    merged.baseUrl = FlagOverConfig(flags.baseUrl, config->baseUrl);
    merged.sitemap = FlagOverConfig(flags.sitemap, named(config->sitemap));
    return merged;
}

}  // namespace velmora::cli
