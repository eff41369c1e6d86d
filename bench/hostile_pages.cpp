#include "bench/hostile_pages.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <random>

#include "bench/page_generator.h"

namespace velmora::bench {
namespace {

constexpr std::size_t kMiB = 1024 * 1024;

constexpr std::string_view kHead =
    "<html>\r\n<head>\r\n<title>Hostile page</title>\r\n"
    "<meta name=\"keywords\" content=\"web, hosting, web hosting\">\r\n</head>\r\n<body>\r\n";
constexpr std::string_view kTail = "\r\n</body>\r\n</html>\r\n";

std::string Binary() {
    std::mt19937 rng(7);
    std::string page(10 * kMiB, '\0');
    for (char& byte : page) {
        byte = static_cast<char>(rng() & 0xFF);
    }
    return page;
}

// An ordinary page with a NUL in every sixteenth byte: inside words, tags and the head alike.
std::string NulBytes() {
    std::string page = GeneratePage(10 * kMiB, 2);
    for (std::size_t i = 15; i < page.size(); i += 16) {
        page[i] = '\0';
    }
    return page;
}

// UTF-8 words with a broken sequence every few hundred bytes, so the page reads as Windows-1252
// after all: stray continuation bytes, cut and overlong sequences, surrogates, 0xFF.
std::string InvalidUtf8() {
    constexpr std::array<std::string_view, 6> kBroken = {"\x80",     "\xC3 ",        "\xF0\x9F\x98",
                                                         "\xC0\xAF", "\xED\xA0\x80", "\xFF\xFE"};
    constexpr std::array<std::string_view, 4> kWords = {"caf\xC3\xA9", "\xC3\x89t\xC3\xA9",
                                                        "na\xC3\xAFve",
                                                        "stra\xC3\x9F"
                                                        "e"};
    std::string page(kHead);
    std::mt19937 rng(3);
    while (page.size() < 10 * kMiB) {
        for (int i = 0; i < 40; ++i) {
            page += kWords[rng() % kWords.size()];
            page += ' ';
        }
        page += kBroken[rng() % kBroken.size()];
        page += ".\r\n";
    }
    page += kTail;
    return page;
}

std::string English() {
    return GeneratePage(50 * kMiB, 4);
}

// Words of random letters: nearly every word, and so nearly every phrase, is distinct, which is
// the most the candidate list can hold for a page of this size.
std::string RandomWords() {
    std::mt19937 rng(5);
    std::string page(kHead);
    while (page.size() < 50 * kMiB) {
        page += "<p>";
        for (int sentence = 0; sentence < 5; ++sentence) {
            const int words = 5 + static_cast<int>(rng() % 11);
            for (int w = 0; w < words; ++w) {
                if (w > 0) {
                    page += ' ';
                }
                const int letters = 3 + static_cast<int>(rng() % 8);
                for (int i = 0; i < letters; ++i) {
                    page += static_cast<char>('a' + rng() % 26);
                }
            }
            page += ". ";
        }
        page += "</p>\r\n";
    }
    page += kTail;
    return page;
}

std::string OneHugeWord() {
    std::mt19937 rng(6);
    std::string page(kHead);
    const std::size_t end = page.size() + 10 * kMiB;
    while (page.size() < end) {
        page += static_cast<char>((rng() % 2 == 0 ? 'a' : 'A') + rng() % 26);
    }
    page += kTail;
    return page;
}

std::string NestedTags() {
    std::string page(kHead);
    for (int i = 0; i < 100'000; ++i) {
        page += "<div class=\"level\">";
    }
    page += "web hosting";
    for (int i = 0; i < 100'000; ++i) {
        page += "</div>";
    }
    page += kTail;
    return page;
}

// Words that never meet the byte that would end what opened before them.
std::string WordsAfter(std::string_view opener) {
    std::string page(kHead);
    page += opener;
    std::mt19937 rng(8);
    constexpr std::array<std::string_view, 5> kWords = {"web", "hosting", "cheap", "design",
                                                        "server"};
    while (page.size() < 10 * kMiB) {
        page += kWords[rng() % kWords.size()];
        page += rng() % 12 == 0 ? ".\r\n" : " ";
    }
    return page;
}

std::string UnclosedTag() {
    return WordsAfter("<p class=\"open ");
}

std::string UnendedEntity() {
    return WordsAfter("Fish &amp chips &");
}

std::string ManyMetaTags() {
    std::string page = "<html>\r\n<head>\r\n<title>Many meta tags</title>\r\n";
    for (int i = 0; i < 5'000; ++i) {
        const char* name = i % 3 == 0 ? "keywords" : i % 3 == 1 ? "description" : "author";
        page += "<meta name=\"";
        page += name;
        page += "\" content=\"web hosting ";
        page += std::to_string(i);
        page += ", cheap web design\">\r\n";
    }
    page += "</head>\r\n<body>\r\n<p>Cheap web hosting and web design.</p>";
    page += kTail;
    return page;
}

// A keywords tag of 200,000 keywords (2.4 MB) of one or two random words, which nearly never
// repeat: every keyword-list check has to go through the whole list.
std::string ManyKeywords() {
    std::mt19937 rng(9);
    const auto word = [&](std::string& out) {
        for (int i = 5 + static_cast<int>(rng() % 4); i > 0; --i) {
            out += static_cast<char>('a' + rng() % 26);
        }
    };
    std::string page =
        "<html>\r\n<head>\r\n<title>Many keywords</title>\r\n"
        "<meta name=\"keywords\" content=\"";
    for (int i = 0; i < 200'000; ++i) {
        if (i > 0) {
            page += ", ";
        }
        word(page);
        if (rng() % 2 == 0) {
            page += ' ';
            word(page);
        }
    }
    page += "\">\r\n</head>\r\n<body>\r\n";
    page += GeneratePage(100 * 1024, 10);
    page += kTail;
    return page;
}

constexpr std::array<HostilePage, 11> kPages = {{
    {"binary-10mb", Binary},
    {"nul-bytes-10mb", NulBytes},
    {"invalid-utf8-10mb", InvalidUtf8},
    {"english-50mb", English},
    {"random-words-50mb", RandomWords},
    {"one-word-10mb", OneHugeWord},
    {"nested-tags-100k", NestedTags},
    {"unclosed-tag-10mb", UnclosedTag},
    {"unended-entity-10mb", UnendedEntity},
    {"meta-tags-5000", ManyMetaTags},
    {"keywords-200k", ManyKeywords},
}};

}  // namespace

std::span<const HostilePage> HostilePages() {
    return kPages;
}

}  // namespace velmora::bench
