#pragma once

// One page as the site checks see it: the `site` object of analyze's JSON, with its texts held
// in the site's pool, and what the duplicate checks compare.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "page_checks/check_result.h"
#include "page_checks/site_facts.h"
#include "site_checks/link_resolver.h"
#include "site_checks/text_pool.h"

namespace velmora::site_checks {

struct SiteLink {
    TextId href = kNoText;      // as written
    TextId to = kNoText;        // the internal path; none when external
    TextId fragment = kNoText;  // after "#"; none without "#"
    std::uint32_t line = 1;
    std::uint32_t column = 1;

    bool operator==(const SiteLink&) const = default;
};

// A canonical or a refresh target: `to` is an internal path ("/a.html") or an absolute URL.
struct SiteAddress {
    TextId href = kNoText;
    TextId to = kNoText;
    std::uint32_t line = 1;
    std::uint32_t column = 1;

    bool operator==(const SiteAddress&) const = default;
};

struct SiteAlternate {
    TextId hreflang = kNoText;
    SiteAddress address;

    bool operator==(const SiteAlternate&) const = default;
};

struct SitePage {
    std::string file;       // as given to analyze
    TextId path = kNoText;  // below the root; none for a page below no root
    std::vector<SiteLink> links;
    std::vector<TextId> ids;
    std::optional<SiteAddress> canonical;
    std::vector<SiteAlternate> alternates;
    std::optional<SiteAddress> redirect;
    bool noindex = false;
    // What the duplicate checks compare, and where the page has it.
    std::optional<std::string> title;
    std::optional<std::string> description;
    std::optional<page_checks::CheckedElement> titleElement;
    std::optional<page_checks::CheckedElement> descriptionElement;

    bool operator==(const SitePage&) const = default;
};

// The `site` object of analyze's JSON: a page's links, canonical, alternates and refresh target
// resolved against its address, in plain strings, as one page's worker makes it and as the
// second pass reads it back.
struct PageLink {
    std::string href;
    std::optional<std::string> to;
    std::optional<std::string> fragment;
    std::uint32_t line = 1;
    std::uint32_t column = 1;

    bool operator==(const PageLink&) const = default;
};

struct PageAddress {
    std::string href;
    std::optional<std::string> to;
    std::uint32_t line = 1;
    std::uint32_t column = 1;

    bool operator==(const PageAddress&) const = default;
};

struct PageAlternate {
    std::string hreflang;
    PageAddress address;

    bool operator==(const PageAlternate&) const = default;
};

struct PageSite {
    std::optional<std::string> path;
    std::vector<PageLink> links;
    std::vector<std::string> ids;
    std::optional<PageAddress> canonical;
    std::vector<PageAlternate> alternates;
    std::optional<PageAddress> redirect;
    bool noindex = false;

    bool operator==(const PageSite&) const = default;
};

// The page's path below `root` ("/docs/a.html"), or none when the file lies outside it. Both
// are taken as they are written, made absolute against the working folder.
std::optional<std::string> PathBelowRoot(const std::string& file, const std::string& root);

// The site object of a page whose facts the page checks read; without a path (a page below no
// root) nothing is resolved.
PageSite ResolvePage(const page_checks::PageSiteFacts& facts, std::optional<std::string> path,
                     const LinkResolver& resolver);

// The page as the checks hold it, its texts in the site's pool.
SitePage InternPage(std::string file, const PageSite& site, TextPool& texts);

}  // namespace velmora::site_checks
