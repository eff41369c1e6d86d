// Writes small pages of every kind the analysis meets, for output comparisons between builds:
// generate_varied_pages <folder> <count>. Windows-1252 and UTF-8 letters, keyword lists with
// repeats in every letter case and spammed words, entities, scripts, comments, pre blocks, PHP,
// control characters and lone carriage returns, each page a different mix.

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 24> kWords = {
    "web",
    "Web",
    "WEB",
    "hosting",
    "cheap",
    "design",
    "the",
    "and",
    "e-mail",
    "3d",
    "and/or",
    "12/34",
    "caf\xE9",
    "CAF\xC9",
    "cr\xE8me",
    "br\xFBl\xE9"
    "e",
    "\xC3\xA9t\xC3\xA9",
    "\xC3\x89T\xC3\x89",
    "stra\xC3\x9F"
    "e",
    "x",
    "fish",
    "Fish",
    "r\xC3\xA9sum\xC3\xA9",
    "na\xEFve",
};

constexpr std::array<std::string_view, 16> kMarkup = {
    "<b>",
    "</b>",
    "<script>var a = 1 < 2;</script>",
    "<pre>  a   b  </pre>",
    "<!-- c  -->",
    "<?php echo  'x'; ?>",
    "&amp;",
    "&nbsp;",
    "\r\n",
    "\r\n\r\n    ",
    "\t",
    ", ",
    ". ",
    "\r",
    "\x1B[31m",
    "<p class=\"a  b\">",
};

class PageWriter {
public:
    explicit PageWriter(std::uint32_t seed) : random_(seed) {}

    std::string Page() {
        // Half the pages are one encoding only: a UTF-8 word on a page of Windows-1252 words
        // would make it Windows-1252 anyway.
        utf8Only_ = Pick(3) == 0;
        std::string page = "<html>\r\n<head>\r\n<title>";
        page += Words(1 + Pick(5));
        page += "</title>\r\n";
        if (Pick(4) != 0) {
            page += "<meta name=\"description\" content=\"";
            page += Words(Pick(8));
            page += Pick(5) == 0 ? "\r\nmore\">\r\n" : "\">\r\n";
        }
        if (Pick(6) != 0) {
            page += "<meta name=\"keywords\" content=\"";
            for (std::size_t k = 0, n = Pick(14); k < n; ++k) {
                if (k > 0) {
                    page += ", ";
                }
                page += Words(1 + Pick(3));
            }
            page += "\">\r\n";
        }
        page += "</head>\r\n<body>\r\n";
        for (std::size_t i = 0, n = 20 + Pick(400); i < n; ++i) {
            if (Pick(4) == 0) {
                page += kMarkup[Pick(kMarkup.size())];
            } else {
                page += Words(1);
                page += ' ';
            }
        }
        page += "\r\n</body>\r\n</html>\r\n";
        return page;
    }

private:
    std::size_t Pick(std::size_t n) { return static_cast<std::size_t>(random_() % n); }

    std::string Words(std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i) {
            std::string_view word;
            do {
                word = kWords[Pick(kWords.size())];
            } while (utf8Only_ ? IsWindows1252(word) : IsUtf8(word));
            if (i > 0) {
                text += ' ';
            }
            text += word;
        }
        return text;
    }

    // The UTF-8 words here all hold the byte 0xC3; the Windows-1252 ones have other high bytes.
    static bool IsUtf8(std::string_view word) {
        return word.find('\xC3') != std::string_view::npos;
    }
    static bool IsWindows1252(std::string_view word) {
        return !IsUtf8(word) && std::any_of(word.begin(), word.end(), [](char c) {
            return static_cast<unsigned char>(c) >= 0x80;
        });
    }

    std::mt19937 random_;
    bool utf8Only_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: generate_varied_pages <folder> <count>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const long count = std::strtol(argv[2], nullptr, 10);
    std::filesystem::create_directories(folder);
    for (long i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "varied-%05ld.htm", i);
        const std::string page = PageWriter(static_cast<std::uint32_t>(i + 1)).Page();
        std::ofstream out(folder / name, std::ios::binary);
        out << page;
        if (!out) {
            std::fprintf(stderr, "generate_varied_pages: cannot write %s\n",
                         (folder / name).c_str());
            return 1;
        }
    }
    return 0;
}
