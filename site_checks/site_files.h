#pragma once

// The files a site's root holds, listed once, so that no link ever reads the disk: a link's
// path is looked up here, and a path that leaves the root ("/../x", a symbolic link leading out
// of it) is simply not in the list.

#include <string>
#include <unordered_set>

#include "site_checks/text_pool.h"

namespace velmora::site_checks {

class SiteFiles {
public:
    // Every file below `root`, folders' symbolic links not followed, files' symbolic links only
    // when they lead to a file inside the root. Unreadable folders are passed over.
    static SiteFiles List(const std::string& root, TextPool& texts);

    void Add(TextId path) { paths_.insert(path); }
    bool Holds(TextId path) const { return paths_.contains(path); }
    std::size_t size() const { return paths_.size(); }

private:
    std::unordered_set<TextId> paths_;
};

}  // namespace velmora::site_checks
