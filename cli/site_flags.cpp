#include "cli/site_flags.h"

#include <CLI/CLI.hpp>
#include <filesystem>

namespace velmora::cli {
namespace {

CLI::Validator BaseUrlValidator() {
    return CLI::Validator(
        [](std::string& value) -> std::string {
            try {
                site_checks::BaseUrl{value};
            } catch (const std::invalid_argument& error) {
                return error.what();
            }
            return {};
        },
        "URL");
}

}  // namespace

void AddSiteAddressFlags(CLI::App& command, SiteFlags& flags) {
    command
        .add_option("--root", flags.root,
                    "The site's root folder: pages' paths, robots.txt and sitemap.xml are "
                    "found below it (default: the one folder given)")
        ->check(CLI::ExistingDirectory)
        ->type_name("DIR");
    command
        .add_option("--base-url", flags.baseUrl,
                    "The site's address, such as https://example.org/: absolute links to it are "
                    "internal")
        ->check(BaseUrlValidator())
        ->type_name("URL");
}

void AddSiteFlags(CLI::App& command, SiteFlags& flags) {
    AddSiteAddressFlags(command, flags);
    command
        .add_option("--sitemap", flags.sitemap,
                    "The sitemap to hold the pages against (default: sitemap.xml in the root)")
        ->type_name("FILE");
}

SiteSetup ResolveSiteSetup(const SiteFlags& flags, const std::vector<std::string>& paths) {
    SiteSetup setup;
    setup.root = flags.root;
    std::error_code error;
    if (!setup.root && paths.size() == 1 && std::filesystem::is_directory(paths.front(), error)) {
        setup.root = paths.front();
    }
    setup.sitemap = flags.sitemap;
    if (flags.baseUrl) {
        setup.resolver = site_checks::LinkResolver(site_checks::BaseUrl(*flags.baseUrl));
    }
    return setup;
}

}  // namespace velmora::cli
