#include "cli/path_glob.h"

#include <fnmatch.h>

namespace velmora::cli {
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Segments(const fs::path& path) {
    std::vector<std::string> segments;
    for (const fs::path& part : path.lexically_normal()) {
        if (!part.empty()) {
            segments.push_back(part.string());
        }
    }
    return segments;
}

bool SegmentMatches(const std::string& pattern, const std::string& name) {
    return ::fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
}

// "**" takes any number of segments, including none.
bool MatchFrom(const std::vector<std::string>& pattern, std::size_t p,
               const std::vector<std::string>& path, std::size_t s) {
    if (p == pattern.size()) {
        return s == path.size();
    }
    if (pattern[p] == "**") {
        for (std::size_t next = s; next <= path.size(); ++next) {
            if (MatchFrom(pattern, p + 1, path, next)) {
                return true;
            }
        }
        return false;
    }
    return s < path.size() && SegmentMatches(pattern[p], path[s]) &&
           MatchFrom(pattern, p + 1, path, s + 1);
}

}  // namespace

bool HasGlobCharacters(std::string_view text) {
    return text.find_first_of("*?[") != std::string_view::npos;
}

PathGlob::PathGlob(std::string_view pattern, const fs::path& base) : pattern_(pattern) {
    std::string_view written = pattern;
    anyDepth_ = written.find('/') == std::string_view::npos;
    while (written.ends_with('/')) {
        written.remove_suffix(1);
    }
    if (anyDepth_) {
        segments_ = Segments(base);
        segments_.push_back("**");
        segments_.emplace_back(written);
    } else {
        const fs::path path(written);
        segments_ = Segments(path.is_absolute() ? path : base / path);
    }
}

bool PathGlob::Matches(const fs::path& path) const {
    return MatchFrom(segments_, 0, Segments(path), 0);
}

fs::path PathGlob::Start() const {
    fs::path start;
    for (const std::string& segment : segments_) {
        if (HasGlobCharacters(segment)) {
            break;
        }
        start /= segment;
    }
    return start;
}

}  // namespace velmora::cli
