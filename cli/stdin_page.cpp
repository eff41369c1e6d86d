#include "cli/stdin_page.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "document/file_error.h"

namespace velmora::cli {
namespace {

// Closes fd in the end, whatever happens.
void CopyStandardInputTo(int fd, const std::string& path) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            throw FileError::FromErrno("Cannot read", std::string(kStandardInputName), error);
        }
        if (got == 0) {
            break;
        }
        for (ssize_t written = 0; written < got;) {
            const ssize_t put =
                ::write(fd, buffer + written, static_cast<std::size_t>(got - written));
            if (put < 0 && errno != EINTR) {
                const int error = errno;
                ::close(fd);
                throw FileError::FromErrno("Cannot write", path, error);
            }
            written += put < 0 ? 0 : put;
        }
    }
    if (::close(fd) != 0) {
        throw FileError::FromErrno("Cannot write", path, errno);
    }
}

}  // namespace

StandardInputPage::StandardInputPage() {
    const char* folder = std::getenv("TMPDIR");
    std::string name = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
                       "/velmora-stdin-XXXXXX.html";
    const int fd = ::mkstemps(name.data(), 5);
    if (fd < 0) {
        throw FileError::FromErrno("Cannot create", name, errno);
    }
    path_ = name;
    try {
        CopyStandardInputTo(fd, path_);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
        throw;
    }
}

StandardInputPage::~StandardInputPage() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

std::unique_ptr<StandardInputPage> TakeStandardInput(std::vector<PageInput>& inputs) {
    std::unique_ptr<StandardInputPage> page;
    for (PageInput& input : inputs) {
        if (input.kind == PageInput::Kind::Page && input.path == "-") {
            if (!page) {
                page = std::make_unique<StandardInputPage>();
            }
            input.path = page->path();
            input.shownAs = kStandardInputName;
        }
    }
    return page;
}

}  // namespace velmora::cli
