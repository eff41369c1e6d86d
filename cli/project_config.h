#pragma once

// A project's `.velmora.toml`: the settings, checks, files and bars of its CI runs, kept in the
// repository so that a result does not depend on whose machine runs it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/page_check_flags.h"
#include "cli/settings_flags.h"

namespace velmora::cli {

inline constexpr std::string_view kProjectConfigName = ".velmora.toml";

// A keyphrase for the pages that a glob names.
struct FocusRule {
    std::string files;  // a glob relative to the configuration's folder
    std::string phrase;
};

struct ProjectConfig {
    std::filesystem::path file;
    std::filesystem::path folder;  // the file's folder, which its globs start from
    // [review] and [checks], read as the flags of the same names would be.
    SettingsFlags review;
    PageCheckFlags checks;
    // Review findings ("review/no-keywords") left out of every report.
    std::vector<std::string> skippedFindings;
    std::vector<std::string> include;
    std::vector<std::string> exclude;
    std::vector<FocusRule> focus;
    // Where the pages stand on the web; the folders are absolute.
    std::optional<std::string> baseUrl;
    std::optional<std::filesystem::path> root;
    std::optional<std::filesystem::path> sitemap;
    // What a page without its own gets: the <html> language tag and the og:image address.
    std::optional<std::string> lang;
    std::optional<std::string> ogImage;
    std::optional<std::int32_t> minScore;
    std::optional<std::string> failOn;
    std::optional<double> failUnder;
};

// Reads one configuration file. Throws UsageError naming the file (and the line and key) when
// it cannot be read, is not TOML, or holds a key or value that velmora-cli does not know.
ProjectConfig ReadProjectConfig(const std::filesystem::path& file);

// The first `.velmora.toml` in `folder` or one of its parents; nullopt when there is none.
std::optional<std::filesystem::path> FindProjectConfig(const std::filesystem::path& folder);

}  // namespace velmora::cli
