#pragma once

// The Markdown that GitHub shows on a job's page: appended to the file $GITHUB_STEP_SUMMARY names.

#include <string>

namespace velmora::cli {

class ErrorOutput;

// Appends `markdown` when $GITHUB_STEP_SUMMARY names a file; false, with the file and the reason
// on err, when it cannot be appended. Nothing to do is success.
bool AppendStepSummary(const std::string& markdown, ErrorOutput& err);

}  // namespace velmora::cli
