#pragma once

// velmora-cli's whole command line, as a function: the program's main only hands it the
// process's arguments and streams, and tests run it with strings.

#include <span>
#include <string>

namespace velmora::cli {

class CheckedOutput;
class ErrorOutput;

// Parses the arguments (without the program's name), runs the command they name and closes
// out. Results, help and the version go to out; usage errors, problems and warnings to err.
// Returns the exit code (exit_codes.h). A failed output gives the file-error code; when its
// reader went away nothing is said, and the caller decides how to end.
int RunCommandLine(std::span<const std::string> arguments, CheckedOutput& out, ErrorOutput& err);

}  // namespace velmora::cli
