// Writes deterministic benchmark pages: generate_pages <folder> <count> <bytes> [--same-head].
//
// Each page gets its own title and description, numbered, as the pages of a site have. With
// --same-head every page keeps the one title and description, so that in one run each page's
// duplicate checks name all the others: the worst case of those checks.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/page_generator.h"

namespace {

// Appends ", page <number>" to the text that starts after the first `start` and ends at `end`.
void Number(std::string& page, const std::string& start, char end, long number) {
    const std::size_t from = page.find(start);
    const std::size_t at = from == std::string::npos ? from : page.find(end, from + start.size());
    if (at != std::string::npos) {
        page.insert(at, ", page " + std::to_string(number));
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool sameHead = argc == 5 && std::strcmp(argv[4], "--same-head") == 0;
    if (argc != 4 && !sameHead) {
        std::fprintf(stderr, "usage: generate_pages <folder> <count> <bytes> [--same-head]\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const long count = std::strtol(argv[2], nullptr, 10);
    const long bytes = std::strtol(argv[3], nullptr, 10);
    std::filesystem::create_directories(folder);
    for (long i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "page-%05ld.htm", i);
        std::string page = velmora::bench::GeneratePage(static_cast<std::size_t>(bytes),
                                                        static_cast<std::uint32_t>(i + 1));
        if (!sameHead) {
            Number(page, "<title>", '<', i + 1);
            Number(page, "name=\"description\" content=\"", '"', i + 1);
        }
        std::ofstream out(folder / name, std::ios::binary);
        out << page;
        if (!out) {
            std::fprintf(stderr, "generate_pages: cannot write %s\n", (folder / name).c_str());
            return 1;
        }
    }
    return 0;
}
