#pragma once

// The user's private folder of backups, velmora-backups-UID inside the temporary folder. Only
// this user can read a backup, plant a file or link in its way, or hold up a save.

#include <functional>
#include <string>
#include <string_view>

#include "document/descriptor.h"

namespace velmora {

class BackupFolder {
public:
    // Opens the folder inside `parent` (a folder path ending with "/"), creating it with mode
    // 0700 when it is missing. Throws FileError when it cannot be made, or when what stands there
    // is not a real folder owned by this user with no access for anyone else.
    explicit BackupFolder(const std::string& parent);

    // The folder, ending with "/".
    const std::string& path() const { return path_; }

    // While a SaveLock lives, no other save of this user gets one: it waits.
    class SaveLock {
    public:
        explicit SaveLock(const BackupFolder& folder);

    private:
        Descriptor fd_;
    };

    // The name of a backup; copy is 1 for the plain name, 2, 3, … when the names before it are
    // taken.
    using BackupName = std::function<std::string(int copy)>;

    // Writes bytes as a new backup under the first free name, created exclusively with mode 0600
    // and complete before it appears under that name. An existing file is never replaced. Returns
    // the backup's path; throws FileError naming it.
    std::string Write(const BackupName& name, std::string_view bytes) const;

private:
    std::string WriteNamed(const BackupName& name, std::string_view bytes) const;

    std::string path_;
    Descriptor folder_;
};

}  // namespace velmora
