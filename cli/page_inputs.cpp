#include "cli/page_inputs.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/page_files.h"

namespace velmora::cli {
namespace fs = std::filesystem;

namespace {

struct Listing {
    std::vector<fs::path> pages;
    std::vector<PageInput> errors;
};

void CollectPages(const fs::path& directory, Listing& listing) {
    std::error_code error;
    fs::directory_iterator it(directory, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const fs::directory_entry& entry = *it;
        std::error_code statusError;
        if (entry.is_directory(statusError) && !entry.is_symlink(statusError)) {
            CollectPages(entry.path(), listing);
        } else if (entry.is_regular_file(statusError) &&
                   IsPageFileName(entry.path().filename().string())) {
            listing.pages.push_back(entry.path());
        }
    }
    if (error) {
        listing.errors.push_back({PageInput::Kind::Error, directory.string(), error.message()});
    }
}

}  // namespace

std::vector<PageInput> ExpandPageArguments(const std::vector<std::string>& arguments) {
    std::vector<PageInput> inputs;
    for (const std::string& argument : arguments) {
        std::error_code error;
        if (!fs::is_directory(argument, error)) {
            inputs.push_back({PageInput::Kind::Page, argument, {}});
            continue;
        }
        Listing listing;
        CollectPages(argument, listing);
        std::sort(listing.pages.begin(), listing.pages.end());
        inputs.insert(inputs.end(), listing.errors.begin(), listing.errors.end());
        for (const fs::path& page : listing.pages) {
            inputs.push_back({PageInput::Kind::Page, page.string(), {}});
        }
        if (listing.pages.empty() && listing.errors.empty()) {
            inputs.push_back(
                {PageInput::Kind::Warning, argument, "no .htm, .html or .php files below it"});
        }
    }
    return inputs;
}

}  // namespace velmora::cli
