#pragma once

// Problems reported on standard error, one line each: "velmora-cli: <subject>: <reason>".

#include <exception>
#include <string>

namespace velmora::cli {

std::string ProblemLine(const std::string& subject, const std::string& reason);
void ReportProblem(const std::string& subject, const std::string& reason);

// The line for an exception that ended the work on a page: the page and the system's reason,
// and the other file as well when the failure was there (a backup, for instance).
std::string PageProblemLine(const std::string& page, const std::exception& error);

}  // namespace velmora::cli
