#include "cli/site_run.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "cli/error_output.h"
#include "cli/messages.h"
#include "site_checks/sitemap_reader.h"

namespace velmora::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kRobotsReadLimit = 500 * 1024;

// The first `limit` bytes of a file and its whole size; throws naming the system's reason.
std::string ReadStart(const std::string& file, std::size_t limit, std::uintmax_t& size) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error(std::strerror(errno));
    }
    std::error_code error;
    size = fs::file_size(file, error);
    if (error) {
        throw std::runtime_error(error.message());
    }
    std::string bytes(static_cast<std::size_t>(std::min<std::uintmax_t>(size, limit)), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) {
        throw std::runtime_error(std::strerror(errno));
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

std::string Joined(const std::string& root, std::string_view path) {
    return (fs::path(root) / fs::path(path.substr(1))).generic_string();
}

void Warn(ErrorOutput& err, const std::string& file, const std::vector<std::string>& warnings) {
    for (const std::string& warning : warnings) {
        ReportProblem(err, file, "warning: " + warning);
    }
}

// One sitemap file's URLs added to `sitemap`; a sitemap index adds the sitemaps it names when
// they are files of the root.
void ReadSitemapFile(const std::string& file, const SiteSetup& setup, site_checks::Site& site,
                     bool followIndex, ErrorOutput& err, bool& failed) {
    site_checks::SitemapDocument document;
    try {
        std::uintmax_t size = 0;
        const std::string bytes = ReadStart(file, site_checks::kSitemapMaximumBytes, size);
        document = site_checks::ReadSitemap(bytes, size);
    } catch (const std::exception& error) {
        ReportProblem(err, file, error.what());
        failed = true;
        return;
    }
    Warn(err, file, document.warnings);
    for (const site_checks::SitemapLocation& location : document.locations) {
        const std::optional<std::string> path = setup.resolver.PathOfUrl(location.url);
        if (!document.isIndex) {
            site.sitemap->urls.push_back({location.url,
                                          path ? site.texts.Intern(*path) : site_checks::kNoText,
                                          location.line});
            continue;
        }
        // Only sitemaps the root holds are read: the checks fetch nothing.
        if (followIndex && path && setup.root && site.files &&
            site.files->Holds(site.texts.Intern(*path))) {
            ReadSitemapFile(Joined(*setup.root, *path), setup, site, false, err, failed);
        }
    }
}

}  // namespace

bool LoadSiteFiles(const SiteSetup& setup, site_checks::Site& site, ErrorOutput& err) {
    bool failed = false;
    if (setup.root) {
        site.files = site_checks::SiteFiles::List(*setup.root, site.texts);
        if (site.files->Holds(site.texts.Intern("/robots.txt"))) {
            const std::string file = Joined(*setup.root, "/robots.txt");
            try {
                std::uintmax_t size = 0;
                site.robots =
                    site_checks::RobotsRules::Parse(ReadStart(file, kRobotsReadLimit, size));
            } catch (const std::exception& error) {
                ReportProblem(err, file, error.what());
                failed = true;
            }
        }
    }
    std::optional<std::string> sitemap = setup.sitemap;
    if (!sitemap && setup.root && site.files->Holds(site.texts.Intern("/sitemap.xml"))) {
        sitemap = Joined(*setup.root, "/sitemap.xml");
    }
    if (sitemap) {
        site.sitemap = site_checks::Sitemap{*sitemap, {}};
        ReadSitemapFile(*sitemap, setup, site, true, err, failed);
    }
    return !failed;
}

site_checks::PageSite PageSiteOf(const PageReport& report, const SiteSetup& setup) {
    std::optional<std::string> path;
    if (setup.root) {
        path = site_checks::PathBelowRoot(report.file, *setup.root);
    }
    return site_checks::ResolvePage(report.checks.site, std::move(path), setup.resolver);
}

bool JudgesSite(std::size_t pageCount, const SiteSetup& setup, const PageCheckOptions& options) {
    return (pageCount > 1 || setup.root.has_value()) && site_checks::RunsSiteChecks(options);
}

site_checks::SitePage SitePageOf(const PageReport& report, site_checks::TextPool& texts) {
    site_checks::SitePage page = site_checks::InternPage(report.file, report.site, texts);
    page.title = report.checks.title;
    page.description = report.checks.description;
    page.titleElement = report.checks.titleElement;
    page.descriptionElement = report.checks.descriptionElement;
    return page;
}

}  // namespace velmora::cli
