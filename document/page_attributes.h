#pragma once

// Gives a new file everything of the page but its content: owner, group, extended attributes
// (its exact ACL among them), inode flags and, last, the permission bits.

#include <sys/stat.h>

namespace velmora {

// Whether a new file made by this user can carry the page's owner and group.
bool CanGiveBackOwner(const struct stat& page);

// Copies onto `to` what the open page `from` (whose status is `page`) carries; false when
// something could not be given back, so the page must be written in place instead.
bool CopyPageAttributes(int from, const struct stat& page, int to);

}  // namespace velmora
