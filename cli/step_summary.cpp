#include "cli/step_summary.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "cli/messages.h"

namespace velmora::cli {

bool AppendStepSummary(const std::string& markdown, ErrorOutput& err) {
    const char* path = std::getenv("GITHUB_STEP_SUMMARY");
    if (path == nullptr || *path == '\0') {
        return true;
    }
    std::ofstream summary(path, std::ios::app | std::ios::binary);
    summary << markdown;
    summary.close();
    if (!summary) {
        ReportProblem(err, path,
                      "cannot append the step summary: " + std::string(std::strerror(errno)));
        return false;
    }
    return true;
}

}  // namespace velmora::cli
