// Writes deterministic benchmark pages: generate_pages <folder> <count> <bytes>.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/page_generator.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: generate_pages <folder> <count> <bytes>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const long count = std::strtol(argv[2], nullptr, 10);
    const long bytes = std::strtol(argv[3], nullptr, 10);
    std::filesystem::create_directories(folder);
    for (long i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "page-%05ld.htm", i);
        const std::string page = velmora::bench::GeneratePage(static_cast<std::size_t>(bytes),
                                                              static_cast<std::uint32_t>(i + 1));
        std::ofstream out(folder / name, std::ios::binary);
        out << page;
        if (!out) {
            std::fprintf(stderr, "generate_pages: cannot write %s\n", (folder / name).c_str());
            return 1;
        }
    }
    return 0;
}
