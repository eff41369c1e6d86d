#pragma once

// velmora-cli analyze --format sarif: one SARIF 2.1.0 log for the whole run: the opening (the
// tool and its rules) as the run starts, then the results and the invocation at its end.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "cli/page_report.h"
#include "cli/report_results.h"

namespace velmora::cli {

// A file the run could not read, and the system's reason.
struct RunProblem {
    std::string file;
    std::string message;
};

// Code scanning refuses a run with more results than this.
inline constexpr std::size_t kSarifResultLimit = 25000;

class SarifLog {
public:
    // Pages are named by their path from `baseFolder` (%SRCROOT%); results less severe than
    // `minimum` are left out.
    SarifLog(std::filesystem::path baseFolder, ResultLevel minimum,
             std::size_t resultLimit = kSarifResultLimit);

    // Everything before the first result.
    std::string Opening() const;
    // The page's results, one a line, each led by the digit of its level; safe to call from
    // several threads at once.
    std::string PageResults(const PageReport& report) const;
    // Keeps a page's results until the end of the run, when the least severe are left out if
    // there are more than the limit.
    void Hold(std::string pageResults);
    // The results, the invocation (successful unless a file could not be read, naming each
    // such file and any results left out), and the end of the log.
    std::string Closing(const std::vector<RunProblem>& problems) const;

private:
    std::filesystem::path baseFolder_;
    ResultLevel minimum_;
    std::size_t resultLimit_;
    std::vector<std::string> held_;  // in page order, each with its level's digit
};

// A partial fingerprint: 16 hex digits of a 64-bit FNV-1a hash, the same on every machine.
std::string Fingerprint(std::string_view text);

}  // namespace velmora::cli
