#pragma once

// Where a page stands on its site, so that a canonical URL can be told to name the page itself,
// the site's root or another page.

#include <optional>
#include <string>
#include <string_view>

namespace velmora::page_checks {

struct PageAddress {
    // The path the page was given by; folders included.
    std::string file;
    // The page's path from the site's root, "/docs/index.html", when the root is known.
    std::optional<std::string> sitePath;
    // The address the site is served at, "https://example.org/", when known.
    std::optional<std::string> baseUrl;
};

enum class CanonicalTarget { ThisPage, SiteRoot, OtherPage };

// Whom a canonical `href` names. With a base URL it is resolved against the page's address;
// without one, an absolute URL names the page itself unless its path is the site's root, and a
// relative one is resolved against the page's own file.
CanonicalTarget ClassifyCanonical(std::string_view href, const PageAddress& address);

// "https:", "mailto:": a scheme before the first ':' that comes before any '/', '?' or '#'.
bool HasScheme(std::string_view url);

}  // namespace velmora::page_checks
