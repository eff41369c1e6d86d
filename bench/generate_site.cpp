// Writes a generated site for the site checks' benchmark:
// generate_site <folder> <pages> <bytes> <links>
//
// Each page is a generated page of about <bytes> bytes with <links> links to other pages of
// the site (one in fifty to a missing page, one in ten with a fragment), under folders of a
// hundred pages; the root gets robots.txt and a sitemap of every page.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/page_generator.h"

namespace {

std::string PagePath(long page) {
    char path[64];  // room for any two longs, so the name is never cut
    std::snprintf(path, sizeof path, "/s%03ld/page-%06ld.html", page / 100, page);
    return path;
}

// A small linear congruential generator: the same site on every machine.
std::uint32_t Next(std::uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: generate_site <folder> <pages> <bytes> <links>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const long pages = std::strtol(argv[2], nullptr, 10);
    const long bytes = std::strtol(argv[3], nullptr, 10);
    const long links = std::strtol(argv[4], nullptr, 10);
    std::uint32_t state = 7;
    std::filesystem::create_directories(folder);
    std::ofstream sitemap;
    sitemap.open(folder / "sitemap.xml", std::ios::binary);
    sitemap << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n";
    for (long i = 0; i < pages; ++i) {
        std::string page = velmora::bench::GeneratePage(static_cast<std::size_t>(bytes),
                                                        static_cast<std::uint32_t>(i + 1));
        // Pages of a site have their own title and description, so the duplicate checks find
        // nothing to name, as on a well-kept site.
        const std::string title = "<title>";
        page.insert(page.find('<', page.find(title) + title.size()), ", page " + std::to_string(i));
        const std::string description = "name=\"description\" content=\"";
        if (const std::size_t at = page.find(description); at != std::string::npos) {
            page.insert(page.find('"', at + description.size()), ", page " + std::to_string(i));
        }
        // The generated text's own links become the site's links, up to <links>; those past
        // it lose their href, and a navigation block makes up any shortfall.
        long written = 0;
        const auto nextHref = [&] {
            const std::uint32_t pick = Next(state);
            const long target = static_cast<long>(pick % static_cast<std::uint32_t>(pages));
            std::string href =
                pick % 50 == 0 ? "/missing-" + std::to_string(target) + ".html" : PagePath(target);
            if (pick % 10 == 1) {
                href += pick % 20 == 1 ? "#top" : "#part-" + std::to_string(pick % 7);
            }
            ++written;
            return href;
        };
        const std::string placeholder = "<a href=\"/page.html\">";
        for (std::size_t at = page.find(placeholder); at != std::string::npos;
             at = page.find(placeholder, at)) {
            const std::string anchor =
                written < links ? "<a href=\"" + nextHref() + "\">" : std::string("<a>");
            page.replace(at, placeholder.size(), anchor);
            at += anchor.size();
        }
        std::string nav = "<nav id=\"top\">\r\n";
        while (written < links) {
            nav += "<a href=\"" + nextHref() + "\">Next page</a>\r\n";
        }
        nav += "</nav>\r\n";
        const std::size_t body = page.find("<body>");
        page.insert(body == std::string::npos ? page.size() : body + 6, nav);
        const std::filesystem::path file = folder / PagePath(i).substr(1);
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out << page;
        sitemap << "<url><loc>https://example.org" << PagePath(i) << "</loc></url>\n";
        if (!out) {
            std::fprintf(stderr, "generate_site: cannot write %s\n", file.c_str());
            return 1;
        }
    }
    sitemap << "</urlset>\n";
    std::ofstream(folder / "robots.txt", std::ios::binary) << "User-agent: *\nDisallow: /s009/\n";
    return sitemap ? 0 : 1;
}
