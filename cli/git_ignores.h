#pragma once

// What the .gitignore files of a Git work tree (and the repository's own exclude files) ignore,
// answered as `git check-ignore` answers: a file Git tracks is never ignored.

#include <filesystem>
#include <map>
#include <memory>

struct git_repository;
struct git_index;

namespace velmora::cli {

class GitIgnores {
public:
    GitIgnores();
    ~GitIgnores();
    GitIgnores(const GitIgnores&) = delete;
    GitIgnores& operator=(const GitIgnores&) = delete;

    // Whether an absolute path in a work tree is ignored; false outside any work tree. A folder
    // that holds tracked files is not ignored, so that they are still found.
    bool IsIgnored(const std::filesystem::path& path, bool folder);

private:
    struct Repository;
    Repository* RepositoryOf(const std::filesystem::path& folder);

    // Work trees by the folders asked about, so that each is opened once.
    std::map<std::filesystem::path, std::shared_ptr<Repository>> byFolder_;
};

}  // namespace velmora::cli
