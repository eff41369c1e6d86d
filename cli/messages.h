#pragma once

// Problems reported on the error output, one line each: "velmora-cli: <subject>: <reason>".

#include <exception>
#include <string>

namespace velmora::cli {

class ErrorOutput;

std::string ProblemLine(const std::string& subject, const std::string& reason);
void ReportProblem(ErrorOutput& err, const std::string& subject, const std::string& reason);

// The line for an exception that ended the work on a page: the page and the system's reason,
// and the other file as well when the failure was there (a backup, for instance); running out
// of memory is named as such.
std::string PageProblemLine(const std::string& page, const std::exception& error);

}  // namespace velmora::cli
