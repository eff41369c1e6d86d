// The sitemap reader on arbitrary bytes: it refuses with a SitemapError or reads what the
// protocol allows, and never expands an entity.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "site_checks/sitemap_reader.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const velmora::site_checks::SitemapDocument sitemap =
            velmora::site_checks::ReadSitemap(text, size);
        FUZZ_CHECK(sitemap.locations.size() <= velmora::site_checks::kSitemapMaximumUrls);
        std::size_t characters = 0;
        for (const auto& location : sitemap.locations) {
            FUZZ_CHECK(!location.url.empty());
            FUZZ_CHECK(location.line >= 1);
            characters += location.url.size();
        }
        // Without entity declarations no text grows beyond what the bytes hold.
        FUZZ_CHECK(characters <= size);
    } catch (const velmora::site_checks::SitemapError& error) {
        FUZZ_CHECK(error.line() <= size + 1);
    }
    return 0;
}
