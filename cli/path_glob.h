#pragma once

// Glob patterns for pages, as CI configurations and shells write them: "*" and "?" within one
// folder name, "[...]" for a character set, and "**" for any number of folders.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::cli {

// True when the text holds "*", "?" or "[": a pattern rather than a plain path.
bool HasGlobCharacters(std::string_view text);

class PathGlob {
public:
    // `pattern` is read from `base` (an absolute folder) unless it is absolute itself. A pattern
    // without "/" names files by their own name at any depth ("*.php"), as ignore files do.
    PathGlob(std::string_view pattern, const std::filesystem::path& base);

    // Whether an absolute path matches.
    bool Matches(const std::filesystem::path& path) const;
    // The deepest folder without a wildcard, where a search for matches starts.
    std::filesystem::path Start() const;
    const std::string& pattern() const { return pattern_; }

private:
    std::string pattern_;  // as written
    std::vector<std::string> segments_;
    bool anyDepth_ = false;
};

}  // namespace velmora::cli
