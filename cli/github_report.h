#pragma once

// velmora-cli analyze --format github: one workflow command per result, such as
// "::warning file=site/a.html,line=3,col=5,title=Image alt text::…", which a CI log shows as an
// annotation on that line of the page.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "cli/page_report.h"
#include "cli/report_results.h"

namespace velmora::cli {

// GitHub shows at most this many annotations of each level from one step.
inline constexpr std::size_t kAnnotationsPerLevel = 10;

// The page's annotation lines for its results of `minimum` or more severe, each led by the digit
// of its level and ending in a line break; empty when it has none. Pages are named from
// `baseFolder`, the top of the repository.
std::string ToGithubAnnotations(const PageReport& report, const std::filesystem::path& baseFolder,
                                ResultLevel minimum);

// The annotations of a run, held to its end: then the most severe come first, at most
// kAnnotationsPerLevel of each level, and one notice counts the rest. The step summary is a
// Markdown table of the pages with results.
class GithubAnnotations {
public:
    void Hold(std::string pageAnnotations, const PageReport& report, bool isPage);
    std::string Closing() const;
    std::string StepSummary() const;

private:
    struct PageCounts {
        std::string file;
        std::size_t problem = 0;
        std::size_t improve = 0;
        std::size_t info = 0;
    };
    std::vector<std::string> held_;
    std::vector<PageCounts> pages_;
    std::size_t pageCount_ = 0;
};

// A command's message: "%", CR and LF percent-encoded, so that it stays one line.
std::string EscapeCommandData(std::string_view text);
// A command's property value: as the message, and ":" and "," too, which end a property.
std::string EscapeCommandProperty(std::string_view text);

}  // namespace velmora::cli
