#include "bench/page_generator.h"

#include <array>
#include <random>
#include <string_view>

namespace velmora::bench {
namespace {

constexpr std::array<std::string_view, 97> kVocabulary = {
    "the",       "web",        "hosting",  "and",      "of",       "to",      "cheap",
    "design",    "a",          "in",       "for",      "page",     "site",    "is",
    "search",    "engine",     "with",     "your",     "on",       "server",  "domain",
    "email",     "that",       "free",     "business", "it",       "as",      "we",
    "support",   "plans",      "from",     "best",     "this",     "by",      "online",
    "shop",      "customer",   "service",  "are",      "or",       "be",      "fast",
    "secure",    "data",       "backup",   "daily",    "price",    "month",   "year",
    "you",       "can",        "our",      "all",      "more",     "new",     "help",
    "Linux",     "Windows",    "PHP",      "MySQL",    "SSL",      "cloud",   "storage",
    "bandwidth", "traffic",    "visitors", "ranking",  "keywords", "content", "marketing",
    "optimise",  "results",    "Google",   "links",    "quality",  "pages",   "simple",
    "reliable",  "uptime",     "network",  "speed",    "control",  "panel",   "install",
    "WordPress", "blog",       "forum",    "gallery",  "images",   "video",   "mobile",
    "friendly",  "responsive", "template", "theme",    "account",  "e-mail",
};

class Writer {
public:
    explicit Writer(std::uint32_t seed) : rng_(seed) {}

    std::string_view Word() {
        // Square of a uniform variate skews toward the front of the vocabulary.
        const double u = uniform_(rng_);
        return kVocabulary[static_cast<std::size_t>(u * u * kVocabulary.size()) %
                           kVocabulary.size()];
    }

    void Sentence(std::string& out, int words) {
        for (int i = 0; i < words; ++i) {
            if (i > 0) {
                out += ' ';
            }
            out += Word();
        }
        out += ". ";
    }

    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

private:
    std::mt19937 rng_;
    std::uniform_real_distribution<double> uniform_{0.0, 1.0};
};

}  // namespace

std::string GeneratePage(std::size_t bytes, std::uint32_t seed) {
    Writer writer(seed);
    std::string page;
    page.reserve(bytes + 4096);
    page +=
        "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n    <title>Cheap web hosting and web "
        "design</title>\r\n"
        "    <meta name=\"description\" content=\"Cheap web hosting plans with free domain and "
        "email\">\r\n"
        "    <meta name=\"keywords\" content=\"web hosting, cheap web hosting, web design, domain, "
        "email, linux, backup, server\">\r\n"
        "</head>\r\n<body>\r\n";
    while (page.size() < bytes) {
        switch (writer.Between(0, 5)) {
            case 0:
                page += "    <h2>";
                writer.Sentence(page, writer.Between(2, 5));
                page += "</h2>\r\n";
                break;
            case 1:
                page += "    <ul>\r\n";
                for (int i = writer.Between(2, 5); i > 0; --i) {
                    page += "        <li><a href=\"/page.html\">";
                    page += writer.Word();
                    page += ' ';
                    page += writer.Word();
                    page += "</a></li>\r\n";
                }
                page += "    </ul>\r\n";
                break;
            default:
                page += "    <p>\r\n        ";
                for (int s = writer.Between(2, 5); s > 0; --s) {
                    writer.Sentence(page, writer.Between(5, 14));
                    if (writer.Between(0, 3) == 0) {
                        page += "\r\n        ";
                    }
                }
                page += "\r\n    </p>\r\n\r\n";
                break;
        }
    }
    page += "</body>\r\n</html>\r\n";
    return page;
}

}  // namespace velmora::bench
