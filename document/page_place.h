#pragma once

// Where a page's file is: its folder, reached one part of the path at a time without following
// a symbolic link that the kernel's protected-links rule would refuse to root, and its name
// there. Every later step of a save works relative to that folder, so a part of the path swapped
// for a link during the save cannot lead it elsewhere.

#include <sys/stat.h>

#include <optional>
#include <string>

#include "document/descriptor.h"

namespace velmora {

struct PagePlace {
    Descriptor folder;                  // opened with O_PATH
    std::string name;                   // the file's name in folder
    std::optional<struct stat> status;  // nullopt when no file is there
};

// Follows the page's path and its links to the file they name. Running as root, a link owned by
// another user in a folder others may write, in any part of the path, is refused. Throws
// FileError naming the page.
PagePlace FindPagePlace(const std::string& page);

// Refuses, before anything is written, a page this user may not write; as root, a page that no
// one may write.
void CheckMayWrite(const PagePlace& place, const std::string& page);

}  // namespace velmora
