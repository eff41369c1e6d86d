#include "cli/git_library.h"

#include <git2.h>

namespace velmora::cli {
namespace {

class GitLibrary {
public:
    GitLibrary() { git_libgit2_init(); }
    ~GitLibrary() { git_libgit2_shutdown(); }
    GitLibrary(const GitLibrary&) = delete;
    GitLibrary& operator=(const GitLibrary&) = delete;
};

}  // namespace

void StartGitLibrary() {
    static const GitLibrary library;
}

}  // namespace velmora::cli
