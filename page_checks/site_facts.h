#pragma once

// What a page tells the site checks about the pages around it, taken from the page checks' one
// reading of the page: its links with their lines, the names its fragments may point at, and
// the head's canonical, language alternates, refresh target and noindex. Nothing is resolved
// here: that needs the site's root and base URL.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/line_index.h"
#include "page_checks/page_facts.h"
#include "page_checks/page_positions.h"

namespace velmora::page_checks {

struct LinkOnLine {
    std::string href;  // as written, character references decoded
    TextPosition position;

    bool operator==(const LinkOnLine&) const = default;
};

struct AlternateOnLine {
    std::string hreflang;
    LinkOnLine link;

    bool operator==(const AlternateOnLine&) const = default;
};

struct PageSiteFacts {
    std::vector<LinkOnLine> links;  // <a href> and <area href>, in page order
    std::vector<std::string> ids;   // id and <a name> values, each once
    std::optional<LinkOnLine> canonical;
    std::vector<AlternateOnLine> alternates;
    std::optional<LinkOnLine> redirect;  // the URL of a meta refresh
    bool noindex = false;

    bool operator==(const PageSiteFacts&) const = default;
};

// The URL of a meta refresh's content ("5; url=/next.html"), as browsers read it; none when it
// only reloads the page.
std::optional<std::string> RefreshUrl(std::string_view content);

// Takes the links and ids out of `facts`; `lines` indexes the text the facts were read from.
PageSiteFacts TakeSiteFacts(PageFacts& facts, PagePositions& lines);

}  // namespace velmora::page_checks
