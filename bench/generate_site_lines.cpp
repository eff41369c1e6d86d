// Writes the JSON Lines that analyze --json would write for a large site, as input for the
// second pass: generate_site_lines <file> <pages> <links>
//
// Each line holds what the site checks read (file, title and description checks, the site
// object) and nothing of the review; pages link as generate_site's do.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::string PagePath(long page) {
    char path[64];  // room for any two longs, so the name is never cut
    std::snprintf(path, sizeof path, "/s%04ld/page-%07ld.html", page / 1000, page);
    return path;
}

std::uint32_t Next(std::uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: generate_site_lines <file> <pages> <links>\n");
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    const long pages = std::strtol(argv[2], nullptr, 10);
    const long links = std::strtol(argv[3], nullptr, 10);
    std::uint32_t state = 7;
    std::string line;
    for (long i = 0; i < pages; ++i) {
        const std::string path = PagePath(i);
        line = "{\"format\":1,\"file\":\"site" + path + "\",\"checks\":[";
        line +=
            "{\"id\":\"title\",\"state\":\"good\",\"message\":\"m\",\"values\":{\"text\":"
            "\"Generated page " +
            std::to_string(i % (pages / 2 + 1)) + "\"},\"line\":3,\"column\":1}";
        line += "],\"site\":{\"path\":\"" + path + "\",\"links\":[";
        for (long l = 0; l < links; ++l) {
            const std::uint32_t pick = Next(state);
            const long target = static_cast<long>(pick % static_cast<std::uint32_t>(pages));
            const std::string href =
                pick % 50 == 0 ? "/missing-" + std::to_string(target) + ".html" : PagePath(target);
            const bool fragment = pick % 10 == 1;
            line += l == 0 ? "{" : ",{";
            line += "\"href\":\"" + href + (fragment ? "#top" : "") + "\",\"to\":\"" + href +
                    "\",\"fragment\":" + (fragment ? "\"top\"" : "null") +
                    ",\"line\":" + std::to_string(20 + l) + ",\"column\":1}";
        }
        line +=
            "],\"ids\":[\"top\"],\"canonical\":null,\"canonical_element\":null,"
            "\"alternates\":[],\"redirect\":null,\"redirect_element\":null,"
            "\"noindex\":false}}\n";
        out << line;
    }
    return out ? 0 : 1;
}
