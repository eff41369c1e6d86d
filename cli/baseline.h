#pragma once

// --baseline FILE.jsonl: the results of an earlier `analyze --json`, which a run leaves out so
// that a project can adopt the checks on an existing site and see only what is new. A result
// is matched by its page, its check and its element's text, never by its line, so that edits
// above it keep it matched.

#include <filesystem>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>
#include <unordered_set>

namespace velmora::cli {

class Baseline {
public:
    // Reads the file. Throws FileError when it cannot be read, and std::runtime_error naming the
    // file and line when a line is not an analyze JSON object.
    Baseline(const std::filesystem::path& file, std::filesystem::path workingFolder);

    // `identity` is the result's element text and its ordinal among equal texts ("" for a
    // check's or a finding's one result on a page).
    bool Holds(std::string_view page, std::string_view ruleId, std::string_view identity) const;

private:
    // The results of one line, `page`, which names `path`.
    void Add(const nlohmann::json& page, const std::string& path);
    std::string Key(std::string_view page, std::string_view ruleId,
                    std::string_view identity) const;

    std::filesystem::path workingFolder_;
    std::unordered_set<std::string> keys_;
};

}  // namespace velmora::cli
