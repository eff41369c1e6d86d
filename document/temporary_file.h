#pragma once

// The new file a save writes beside the page, `.NAME.velmora-save-XXXXXX` (NAME shortened so that
// the whole fits the folder's name limit): created exclusively with mode 0600, locked while the
// save lives, and removed again unless it took the page's place.

#include <string>

#include "document/descriptor.h"

namespace velmora {

class TemporaryFile {
public:
    // Creates the file in the open folder, for the page of that name there; created() is false
    // (errno says why) when the folder refused it.
    TemporaryFile(int folder, std::string_view pageName);
    ~TemporaryFile() { Discard(); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool created() const { return exists_; }
    int fd() const { return fd_.get(); }
    const std::string& name() const { return name_; }
    // It is the page now, and stays.
    void Placed() { exists_ = false; }
    void Discard();

private:
    int folder_;
    std::string name_;
    Descriptor fd_;
    bool exists_ = false;
};

// Removes the temporary files of the page named pageName in the open folder that belong to this
// user and that no running save holds: those left by a save that was killed.
void RemoveStaleTemporaryFiles(int folder, std::string_view pageName);

}  // namespace velmora
