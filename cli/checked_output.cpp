#include "cli/checked_output.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "cli/error_output.h"
#include "cli/exit_codes.h"
#include "cli/messages.h"

namespace velmora::cli {

bool CheckedOutput::IsTerminal() const {
    return stream_ != nullptr && ::isatty(::fileno(stream_)) != 0;
}

bool CheckedOutput::Write(std::string_view bytes) {
    if (Failed() || closed_) {
        return false;
    }
    if (text_ != nullptr) {
        text_->append(bytes);
        return true;
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size()) {
        return Fail();
    }
    return true;
}

bool CheckedOutput::Flush() {
    if (Failed() || closed_) {
        return false;
    }
    return text_ != nullptr || std::fflush(stream_) == 0 || Fail();
}

bool CheckedOutput::Close() {
    if (closed_) {
        return !Failed();
    }
    closed_ = true;
    if (text_ != nullptr) {
        return true;
    }
    // Text written past this class (a library printing help to std::cout) shares the stream, so
    // its failures show in the stream's error flag.
    errno = 0;
    if (!Failed() && (std::fflush(stream_) != 0 || std::ferror(stream_) != 0)) {
        Fail();
    }
    errno = 0;
    if (std::fclose(stream_) != 0 && !Failed()) {
        Fail();
    }
    return !Failed();
}

bool CheckedOutput::Fail() {
    // A stream error flag set by an earlier, unchecked write leaves no error number behind.
    error_ = errno != 0 ? errno : EIO;
    return false;
}

int ExitForFailedOutput(const CheckedOutput& output, ErrorOutput& err) {
    if (output.Error() != EPIPE) {
        ReportProblem(err, "standard output", std::strerror(output.Error()));
    }
    return kExitFileError;
}

void EndAsBrokenPipe() {
    std::signal(SIGPIPE, SIG_DFL);
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_UNBLOCK, &pipeSignal, nullptr);
    std::raise(SIGPIPE);
}

}  // namespace velmora::cli
