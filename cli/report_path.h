#pragma once

// How code-scanning reports name a page: by its path from the working folder, as a CI job checks
// out its repository there and its annotations are matched to the repository's files.

#include <filesystem>
#include <string>
#include <string_view>

namespace velmora::cli {

// "site/a.html" for a page inside the working folder, however it was given ("./site/a.html",
// "/work/repo/site/a.html"); the absolute path of a page outside it.
std::string PathFromWorkingFolder(std::string_view path,
                                  const std::filesystem::path& workingFolder);

// The path as a URI reference: a relative path stays relative, an absolute one becomes a file
// URI; every byte but unreserved characters and "/" is percent-encoded.
std::string PathUri(std::string_view path);

}  // namespace velmora::cli
