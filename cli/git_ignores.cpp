#include "cli/git_ignores.h"

#include <git2.h>

#include "cli/git_library.h"

namespace velmora::cli {
namespace fs = std::filesystem;

struct GitIgnores::Repository {
    git_repository* repository = nullptr;
    git_index* index = nullptr;
    fs::path workTree;

    Repository() = default;
    Repository(const Repository&) = delete;
    Repository& operator=(const Repository&) = delete;
    ~Repository() {
        git_index_free(index);
        git_repository_free(repository);
    }
};

GitIgnores::GitIgnores() = default;

GitIgnores::~GitIgnores() = default;

GitIgnores::Repository* GitIgnores::RepositoryOf(const fs::path& folder) {
    if (const auto known = byFolder_.find(folder); known != byFolder_.end()) {
        return known->second.get();
    }
    // A folder without a .git of its own is in its parent's work tree, which the walk from the
    // top has asked about already.
    std::error_code error;
    if (folder != folder.root_path() && !fs::exists(folder / ".git", error)) {
        if (const auto parent = byFolder_.find(folder.parent_path()); parent != byFolder_.end()) {
            byFolder_[folder] = parent->second;
            return parent->second.get();
        }
    }
    std::shared_ptr<Repository> found;
    StartGitLibrary();
    auto opened = std::make_shared<Repository>();
    if (git_repository_open_ext(&opened->repository, folder.c_str(), 0, nullptr) == 0 &&
        git_repository_workdir(opened->repository) != nullptr) {
        opened->workTree = fs::path(git_repository_workdir(opened->repository)).lexically_normal();
        // Without an index every file counts as untracked, as in a fresh clone's new files.
        git_repository_index(&opened->index, opened->repository);
        // A work tree already open under another folder's name is the same one.
        for (const auto& [other, repository] : byFolder_) {
            if (repository && repository->workTree == opened->workTree) {
                found = repository;
            }
        }
        if (!found) {
            found = std::move(opened);
        }
    }
    byFolder_[folder] = found;
    return found.get();
}

bool GitIgnores::IsIgnored(const fs::path& path, bool folder) {
    Repository* repository = RepositoryOf(folder ? path : path.parent_path());
    if (repository == nullptr) {
        return false;
    }
    const fs::path relative = path.lexically_relative(repository->workTree);
    if (relative.empty() || *relative.begin() == "..") {
        return false;
    }
    std::string name = relative.generic_string();
    if (name == ".") {
        return false;
    }
    int ignored = 0;
    if (git_ignore_path_is_ignored(&ignored, repository->repository, name.c_str()) != 0 ||
        ignored == 0) {
        return false;
    }
    if (repository->index == nullptr) {
        return true;
    }
    if (!folder) {
        return git_index_get_bypath(repository->index, name.c_str(), 0) == nullptr;
    }
    std::size_t position = 0;
    return git_index_find_prefix(&position, repository->index, (name + "/").c_str()) != 0;
}

}  // namespace velmora::cli
