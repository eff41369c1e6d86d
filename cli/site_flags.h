#pragma once

// Where the pages of a run stand on the web: the site's root folder, its address and its
// sitemap. analyze, report and site take the same flags, so both passes place pages alike.

#include <optional>
#include <string>
#include <vector>

#include "site_checks/link_resolver.h"

namespace CLI {
class App;
}

namespace velmora::cli {

struct SiteFlags {
    std::optional<std::string> root;
    std::optional<std::string> baseUrl;  // checked by the parser
    std::optional<std::string> sitemap;
};

// --root and --base-url.
void AddSiteAddressFlags(CLI::App& command, SiteFlags& flags);
// Those and --sitemap.
void AddSiteFlags(CLI::App& command, SiteFlags& flags);

struct SiteSetup {
    // The folder pages' paths are taken below; none: pages have no path and only the duplicate
    // checks compare them.
    std::optional<std::string> root;
    std::optional<std::string> sitemap;
    site_checks::LinkResolver resolver{std::nullopt};
};

// `--root`, else the one folder analyze was given.
SiteSetup ResolveSiteSetup(const SiteFlags& flags, const std::vector<std::string>& paths);

}  // namespace velmora::cli
