#pragma once

// The pages a command line names: files as given, directories as the sorted pages below them.

#include <string>
#include <vector>

namespace velmora::cli {

struct PageInput {
    enum class Kind { Page, Error, Warning };
    Kind kind = Kind::Page;
    std::string path;     // the page, or what the message is about
    std::string message;  // the reason, for errors and warnings
};

// Every argument in order. A directory gives the sorted paths of the page files below it
// (recursively, not following links to directories); one that cannot be listed gives an error,
// one without pages a warning. Anything else is passed on as a page: reading it reports problems.
std::vector<PageInput> ExpandPageArguments(const std::vector<std::string>& arguments);

}  // namespace velmora::cli
