#include "cli/messages.h"

#include <new>

#include "cli/error_output.h"
#include "cli/escaped_text.h"
#include "document/file_error.h"

namespace velmora::cli {

std::string ProblemLine(const std::string& subject, const std::string& reason) {
    // A file name or a reason may hold any byte; the message stays one line that cannot drive
    // the terminal.
    return "velmora-cli: " + EscapeControls(subject) + ": " + EscapeControls(reason) + "\n";
}

void ReportProblem(ErrorOutput& err, const std::string& subject, const std::string& reason) {
    err.Write(ProblemLine(subject, reason));
}

std::string PageProblemLine(const std::string& page, const std::exception& error) {
    if (const auto* file = dynamic_cast<const FileError*>(&error)) {
        return ProblemLine(page, file->path() == page ? file->reason() : file->what());
    }
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
        // Not the file's fault: the page may read fine on a machine with more memory.
        return "velmora-cli: out of memory while reading " + EscapeControls(page) + "\n";
    }
    return ProblemLine(page, error.what());
}

}  // namespace velmora::cli
