// Writes the hostile benchmark pages, one file per kind: generate_hostile_pages <folder>.
// Prints the name of each file written.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/hostile_pages.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: generate_hostile_pages <folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const auto& kind : velmora::bench::HostilePages()) {
        const std::filesystem::path file = folder / (std::string(kind.name) + ".htm");
        const std::string page = kind.generate();
        std::ofstream out(file, std::ios::binary);
        out.write(page.data(), static_cast<std::streamsize>(page.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "generate_hostile_pages: cannot write %s\n", file.c_str());
            return 1;
        }
        std::printf("%s\n", file.c_str());
    }
    return 0;
}
