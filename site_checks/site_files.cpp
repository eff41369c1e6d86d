#include "site_checks/site_files.h"

#include <filesystem>

namespace velmora::site_checks {
namespace {

namespace fs = std::filesystem;

bool Inside(const fs::path& path, const fs::path& root) {
    const fs::path relative = path.lexically_relative(root);
    return !relative.empty() && *relative.begin() != "..";
}

}  // namespace

SiteFiles SiteFiles::List(const std::string& root, TextPool& texts) {
    SiteFiles files;
    std::error_code error;
    const fs::path top = fs::canonical(root, error);
    if (error) {
        return files;
    }
    fs::recursive_directory_iterator walk(top, fs::directory_options::skip_permission_denied,
                                          error);
    for (const fs::recursive_directory_iterator end; !error && walk != end; walk.increment(error)) {
        const fs::directory_entry& entry = *walk;
        std::error_code entryError;
        if (entry.is_symlink(entryError)) {
            const fs::path target = fs::canonical(entry.path(), entryError);
            if (entryError || !Inside(target, top) || !fs::is_regular_file(target, entryError)) {
                continue;
            }
        } else if (!entry.is_regular_file(entryError)) {
            continue;
        }
        files.Add(texts.Intern(
            std::string("/").append(entry.path().lexically_relative(top).generic_string())));
    }
    return files;
}

}  // namespace velmora::site_checks
