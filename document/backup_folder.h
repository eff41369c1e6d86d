#pragma once

// The user's private folder of backups, which outlasts a restart: $XDG_STATE_HOME/velmora/backups
// (by default ~/.local/state/velmora/backups). Only this user can read a backup, plant a file or
// link in its way, or block one.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "document/descriptor.h"
#include "document/save_seams.h"

namespace velmora {

class BackupFolder {
public:
    // The state folder's backups, created with mode 0700 where missing; when it cannot be made
    // (no home, a read-only home), the folder in the temporary folder `parent` below. Throws
    // FileError when what stands at the chosen name is not a real private folder of this user.
    static BackupFolder ForThisUser(const std::string& parent);

    // velmora-backups-UID inside `parent` (a folder path ending with "/"), created with mode 0700
    // when it is missing. When another user holds that name, a private folder of an
    // unpredictable name, velmora-backups-UID-XXXXXX, is used instead. Throws FileError when no
    // folder can be made, or when what stands there is not a real folder of this user's own with
    // no access for anyone else.
    explicit BackupFolder(const std::string& parent);

    // The folder, ending with "/".
    const std::string& path() const { return path_; }

    // The name of a backup that fits `limit` bytes; copy is 1 for the plain name, 2, 3, … when
    // the names before it are taken.
    using BackupName = std::function<std::string(int copy, std::size_t limit)>;
    // Writes the backup's content into the open file; `path` names it in errors.
    using BackupContent = std::function<void(int fd, const std::string& path)>;

    // Writes a new backup under the first free name, with mode 0600: as an unnamed or hidden file
    // that is flushed and only then given its name, never replacing a file. Returns the backup's
    // path; throws FileError naming it.
    std::string Write(const BackupName& name, const BackupContent& content,
                      const SaveSeams& seams) const;

private:
    BackupFolder(std::string path, Descriptor folder)
        : path_(std::move(path)), folder_(std::move(folder)) {}

    std::string Name(const Descriptor& file, const std::string& hidden, const BackupName& name,
                     const BackupContent& content, const SaveSeams& seams) const;
    std::string WriteHidden(const BackupName& name, const BackupContent& content,
                            const SaveSeams& seams) const;

    std::string path_;
    Descriptor folder_;
};

}  // namespace velmora
