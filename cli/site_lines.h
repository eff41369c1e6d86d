#pragma once

// One line of analyze's JSON Lines as the second pass holds it: the page's site object with its
// texts interned, what the duplicate checks compare, and the page's own suppressions.

#include <memory>
#include <optional>
#include <string>

#include "cli/suppressions.h"
#include "site_checks/site_page.h"
#include "site_checks/text_pool.h"

namespace velmora::cli {

struct SiteLine {
    site_checks::SitePage page;
    Suppressions suppressions;  // the page's own comments, which hold for its site results too
};

// Reads lines one after the other, reusing its buffers. A line is parsed once with a fast
// validating parser, its texts interned straight from the parse; a line that parser refuses,
// or that holds anything unusual, is read again by the general reader, whose reading and
// reasons are the ones the command reports, so both give the same result.
class SiteLineReader {
public:
    SiteLineReader();
    ~SiteLineReader();
    SiteLineReader(const SiteLineReader&) = delete;
    SiteLineReader& operator=(const SiteLineReader&) = delete;

    // None for a record that is no page (the sitemap's results of a run); throws with the reason
    // when the line is neither. `line` may gain capacity.
    std::optional<SiteLine> Read(std::string& line, site_checks::TextPool& texts);

    // The fast reader alone: none when it leaves the line to the general reader.
    std::optional<std::optional<SiteLine>> ReadFast(std::string& line,
                                                    site_checks::TextPool& texts);

private:
    struct Parser;
    std::unique_ptr<Parser> parser_;
};

// The general reader alone.
std::optional<SiteLine> ReadSiteLine(const std::string& line, site_checks::TextPool& texts);

}  // namespace velmora::cli
