#pragma once

// Puts a new page text in place of the page file without ever leaving a torn or half-private
// page, and never against the user's rights. Every failure throws FileError naming the page as
// the user named it; failures after the backup exists name the backup too.

#include <sys/stat.h>

#include <cstddef>
#include <functional>
#include <string>

#include "document/file_state.h"
#include "document/line_breaks.h"
#include "document/page_lock.h"
#include "document/page_place.h"
#include "document/save_seams.h"

namespace velmora {

// The new page's bytes, handed over piece by piece as often as asked.
struct NewPageBytes {
    std::function<bool(const TakeBytes&)> write;
    std::size_t size = 0;
};

struct PageReplacement {
    const PagePlace& place;
    const std::string& page;  // as the user named it
    const PageLock* lock;     // the page, locked; nullptr when no file is there
    FileState seen;           // the page as the change check saw it
    mode_t newFileMode;       // the mode of a file made where none stood
    const NewPageBytes& bytes;
    const std::string& backupPath;  // empty when there is no backup
    const SaveSeams& seams;
};

// How the new text was put in place.
enum class Replacement { Renamed, InPlace };

struct ReplacedPage {
    Replacement how;
    FileState state;  // the page file as the save left it
};

// Replaces the page whole. A new private file in the page's folder takes the page's mode, owner,
// group, ACL, extended attributes and inode flags, is flushed and renamed over it. Right before,
// the page is looked at again: a page changed, moved away or gone since the check throws
// PageChangedError, and the attributes come from that look. The page is written in place instead
// (its backup already made) when that copy could not be made faithfully: the page has other hard
// links, its owner or group or an attribute cannot be given back, the folder refuses new files,
// or the page is a mount point of its own.
ReplacedPage ReplacePageFile(const PageReplacement& replacement);

}  // namespace velmora
