#pragma once

// The pages a command line names: files as given, folders as the sorted pages below them, glob
// patterns as the sorted pages they match, and "-" as the page on standard input.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/path_glob.h"

namespace velmora::cli {

inline constexpr std::string_view kStandardInputName = "<stdin>";

struct PageInput {
    enum class Kind { Page, Error, Warning };
    Kind kind = Kind::Page;
    std::string path;     // the page, or what the message is about
    std::string message;  // the reason, for errors and warnings
    // The name reports give the page when it is not its path (the page on standard input).
    std::string shownAs;
    // The focus keyphrase the project configuration gives this page.
    std::optional<std::string> focus;

    const std::string& name() const { return shownAs.empty() ? path : shownAs; }
};

struct FocusGlob {
    PathGlob files;
    std::string phrase;
};

// What a search for pages leaves out, and the keyphrases of the pages it finds.
struct PageSelection {
    std::vector<PathGlob> exclude;
    std::vector<FocusGlob> focus;
    // Whether what .gitignore files ignore is left out of folder and glob searches.
    bool gitIgnores = true;
};

// Every argument in order. A folder gives the sorted page files below it (recursively, not
// following links to folders), leaving out hidden folders, node_modules, what Git ignores there
// and what `selection` excludes; one that cannot be listed gives an error, one without pages a
// warning. A glob that names no existing file gives the pages it matches under the same rules,
// or an error when there are none. "-" is passed on as itself. Anything else is passed on as a
// page: reading it reports problems.
std::vector<PageInput> ExpandPageArguments(const std::vector<std::string>& arguments,
                                           const PageSelection& selection = {});

}  // namespace velmora::cli
