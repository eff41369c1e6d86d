#pragma once

// velmora-cli analyze --format sarif: one SARIF 2.1.0 log for the whole run, written as the
// pages come: the opening (the tool and its rules), each page's results, the closing.

#include <filesystem>
#include <string>
#include <string_view>

#include "cli/page_report.h"

namespace velmora::cli {

class SarifLog {
public:
    // Pages are named by their path from `workingFolder`, the run's base folder.
    explicit SarifLog(std::filesystem::path workingFolder);

    // Everything before the first result.
    std::string Opening() const;
    // The page's results as array elements, "{…},{…}"; empty when the page has none.
    std::string PageResults(const PageReport& report) const;
    // The next page's results as they follow the ones already written: with a comma between.
    std::string Continue(std::string pageResults);
    // Everything after the last result.
    static std::string Closing();

private:
    std::filesystem::path workingFolder_;
    bool anyResult_ = false;
};

// A partial fingerprint: 16 hex digits of a 64-bit FNV-1a hash, the same on every machine.
std::string Fingerprint(std::string_view text);

}  // namespace velmora::cli
