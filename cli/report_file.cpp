#include "cli/report_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "document/descriptor.h"
#include "document/file_error.h"
#include "document/file_functions.h"

namespace velmora::cli {
namespace {

// The process's umask, read without changing it for longer than two calls. Only the calling
// thread runs by the time a report is written.
mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    std::string temporary = FolderOf(path) + "." + std::string(NameOf(path)) + ".velmora-XXXXXX";
    Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd.valid()) {
        ThrowErrno("Cannot write", path);
    }
    try {
        if (::fchmod(fd.get(), 0666 & ~CurrentUmask()) != 0) {
            ThrowErrno("Cannot write", path);
        }
        WriteAll(fd.get(), bytes, path);
        SyncAndClose(fd, path);
        if (std::rename(temporary.c_str(), path.c_str()) != 0) {
            ThrowErrno("Cannot write", path);
        }
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
}

}  // namespace velmora::cli
