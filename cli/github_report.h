#pragma once

// velmora-cli analyze --format github: one workflow command per result, such as
// "::warning file=site/a.html,line=3,col=5,title=Image alt text::…", which a CI log shows as an
// annotation on that line of the page.

#include <filesystem>
#include <string>
#include <string_view>

#include "cli/page_report.h"

namespace velmora::cli {

// The page's annotation lines, each ending in a line break; empty when it has no result.
std::string ToGithubAnnotations(const PageReport& report,
                                const std::filesystem::path& workingFolder);

// A command's message: "%", CR and LF percent-encoded, so that it stays one line.
std::string EscapeCommandData(std::string_view text);
// A command's property value: as the message, and ":" and "," too, which end a property.
std::string EscapeCommandProperty(std::string_view text);

}  // namespace velmora::cli
