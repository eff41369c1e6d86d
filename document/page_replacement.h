#pragma once

// Puts a new page text in place of the page file without ever leaving a torn or half-private
// page, and never against the user's rights. Every failure throws FileError naming the page as
// the user named it.

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// The file a save of a page writes.
struct PageTarget {
    std::string path;                   // the page, or the end of its chain of symbolic links
    std::optional<struct stat> status;  // nullopt when no file is there
};

// Follows the page's symbolic links to the file they name. Running as root, a link owned by
// another user in a folder others may write is not followed (as the kernel's protected links
// rule has it): it is refused.
PageTarget ResolvePageTarget(const std::string& page);

// Refuses, before anything is written, a page this user may not write; as root, a page that no
// one may write.
void CheckMayWrite(const PageTarget& target, const std::string& page);

// How the new text was put in place.
enum class Replacement { Renamed, InPlace };

// Replaces the page whole by bytes. A new private file in the page's folder takes the page's
// mode, owner, group and extended attributes, is flushed and renamed over it. The page is written
// in place instead (its backup already made) when that copy could not be made faithfully: the
// page has other hard links, its owner or group or an attribute cannot be given back, or the
// folder refuses new files. A failure while writing in place names the backup.
Replacement ReplacePageFile(const PageTarget& target, const std::string& page,
                            std::string_view bytes, const std::string& backupPath);

}  // namespace velmora
