#include "cli/page_inputs.h"

#include <algorithm>
#include <system_error>

#include "cli/git_ignores.h"
#include "core/page_files.h"

namespace velmora::cli {
namespace fs = std::filesystem;

namespace {

struct Listing {
    std::vector<fs::path> pages;
    std::vector<PageInput> errors;
};

fs::path Absolute(const fs::path& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return (error ? path : absolute).lexically_normal();
}

class PageSearch {
public:
    explicit PageSearch(const PageSelection& selection) : selection_(selection) {}

    // The pages below a folder named on the command line. Git's ignores hold below it, unless
    // Git ignores the folder itself: a generated site is, and naming it asks for it.
    void CollectNamed(const fs::path& folder, const PathGlob* match, Listing& listing) {
        honourGit_ = selection_.gitIgnores && !ignores_.IsIgnored(Absolute(folder), true);
        Collect(folder, match, listing);
    }

    std::optional<std::string> FocusOf(const fs::path& page) const {
        const fs::path absolute = Absolute(page);
        for (const FocusGlob& rule : selection_.focus) {
            if (rule.files.Matches(absolute)) {
                return rule.phrase;
            }
        }
        return std::nullopt;
    }

private:
    // The pages below `folder` that `match` accepts (every page without one).
    void Collect(const fs::path& folder, const PathGlob* match, Listing& listing) {
        std::error_code error;
        fs::directory_iterator it(folder, error);
        for (; !error && it != fs::directory_iterator(); it.increment(error)) {
            const fs::directory_entry& entry = *it;
            const std::string name = entry.path().filename().string();
            std::error_code statusError;
            if (entry.is_directory(statusError) && !entry.is_symlink(statusError)) {
                // Tools' and version control's folders, and installed packages, hold no pages
                // of the site.
                if (!name.starts_with('.') && name != "node_modules" &&
                    !LeftOut(entry.path(), true)) {
                    Collect(entry.path(), match, listing);
                }
            } else if (entry.is_regular_file(statusError) && IsPageFileName(name) &&
                       !LeftOut(entry.path(), false) &&
                       (match == nullptr || match->Matches(Absolute(entry.path())))) {
                listing.pages.push_back(entry.path());
            }
        }
        if (error) {
            listing.errors.push_back(
                {PageInput::Kind::Error, folder.string(), error.message(), {}, {}});
        }
    }

    bool LeftOut(const fs::path& path, bool folder) {
        const fs::path absolute = Absolute(path);
        for (const PathGlob& glob : selection_.exclude) {
            if (glob.Matches(absolute)) {
                return true;
            }
        }
        return honourGit_ && ignores_.IsIgnored(absolute, folder);
    }

    const PageSelection& selection_;
    GitIgnores ignores_;
    bool honourGit_ = true;
};

// The folder a glob's search starts from, written as the glob was: relative globs give
// relative page paths.
fs::path SearchFolder(const std::string& pattern) {
    fs::path folder;
    for (const fs::path& part : fs::path(pattern)) {
        if (HasGlobCharacters(part.string())) {
            break;
        }
        folder /= part;
    }
    return folder.empty() ? fs::path(".") : folder;
}

}  // namespace

std::vector<PageInput> ExpandPageArguments(const std::vector<std::string>& arguments,
                                           const PageSelection& selection) {
    std::vector<PageInput> inputs;
    PageSearch search(selection);
    const auto addPage = [&](const std::string& path) {
        inputs.push_back({PageInput::Kind::Page, path, {}, {}, search.FocusOf(path)});
    };
    for (const std::string& argument : arguments) {
        std::error_code error;
        const bool folder = fs::is_directory(argument, error);
        const bool glob = !folder && HasGlobCharacters(argument) && !fs::exists(argument, error);
        if (argument == "-" || (!folder && !glob)) {
            addPage(argument);
            continue;
        }
        Listing listing;
        if (glob) {
            const PathGlob match(argument, Absolute(fs::current_path(error)));
            const fs::path start = SearchFolder(argument);
            // "./" is how the search reads the working folder, not how the user wrote it.
            search.CollectNamed(start, &match, listing);
            if (start == "." && !argument.starts_with("./")) {
                for (fs::path& page : listing.pages) {
                    page = page.lexically_relative(".");
                }
            }
        } else {
            search.CollectNamed(argument, nullptr, listing);
        }
        std::sort(listing.pages.begin(), listing.pages.end());
        inputs.insert(inputs.end(), listing.errors.begin(), listing.errors.end());
        for (const fs::path& page : listing.pages) {
            addPage(page.string());
        }
        if (listing.pages.empty() && listing.errors.empty()) {
            if (glob) {
                inputs.push_back({PageInput::Kind::Error, argument, "no pages match", {}, {}});
            } else {
                inputs.push_back({PageInput::Kind::Warning,
                                  argument,
                                  "no .htm, .html or .php files below it",
                                  {},
                                  {}});
            }
        }
    }
    return inputs;
}

}  // namespace velmora::cli
