#include "site_checks/sitemap_reader.h"

#include <gtest/gtest.h>

namespace velmora::site_checks {
namespace {

SitemapDocument Read(std::string_view xml) {
    return ReadSitemap(xml, xml.size());
}

TEST(SitemapReader, ReadsLocationsWithTheirLines) {
    const SitemapDocument sitemap = Read(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n"
        "  <url><loc> https://example.org/ </loc><lastmod>2024-01-01</lastmod></url>\n"
        "  <url>\n    <loc>https://example.org/a.html?x=1&amp;y=2</loc>\n  </url>\n"
        "  <url><loc></loc></url>\n"
        "</urlset>\n");
    EXPECT_FALSE(sitemap.isIndex);
    const std::vector<SitemapLocation> expected{{"https://example.org/", 3},
                                                {"https://example.org/a.html?x=1&y=2", 5}};
    EXPECT_EQ(sitemap.locations, expected);
    EXPECT_TRUE(sitemap.warnings.empty());
    const SitemapDocument index = Read(
        "<sm:sitemapindex xmlns:sm=\"http://www.sitemaps.org/schemas/sitemap/0.9\">"
        "<sm:sitemap><sm:loc>https://example.org/s1.xml</sm:loc></sm:sitemap></sm:sitemapindex>");
    EXPECT_TRUE(index.isIndex);
    ASSERT_EQ(index.locations.size(), 1u);
    EXPECT_EQ(index.locations[0].url, "https://example.org/s1.xml");
}

TEST(SitemapReader, RefusesDocumentTypesEntitiesAndWhatIsNoSitemap) {
    const std::string_view refused[] = {
        // Entity expansion, the "billion laughs".
        "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\">"
        "<!ENTITY lol2 \"&lol;&lol;&lol;&lol;\">]><urlset><url><loc>&lol2;</loc></url></urlset>",
        // An external entity.
        "<!DOCTYPE urlset SYSTEM \"file:///etc/passwd\"><urlset/>",
        "<urlset><url><loc>&undefined;</loc></url></urlset>",
        "<html><body>not a sitemap</body></html>",
        "<urlset><url><loc>https://example.org/</url></urlset>",
        "",
    };
    for (const std::string_view xml : refused) {
        EXPECT_THROW(Read(xml), SitemapError) << xml;
    }
    try {
        Read("<urlset>\n<url>\n</urlset>");
        FAIL();
    } catch (const SitemapError& error) {
        EXPECT_EQ(error.line(), 3u);
    }
}

TEST(SitemapReader, KeepsToTheProtocolsBounds) {
    std::string xml = "<urlset>";
    for (std::size_t i = 0; i < kSitemapMaximumUrls + 2; ++i) {
        xml += "<url><loc>https://example.org/" + std::to_string(i) + "</loc></url>";
    }
    xml += "</urlset>";
    const SitemapDocument many = Read(xml);
    EXPECT_EQ(many.locations.size(), kSitemapMaximumUrls);
    ASSERT_EQ(many.warnings.size(), 1u);
    // A file cut at the size bound: what stands before the cut is read.
    const std::string cut = "<urlset><url><loc>https://example.org/a</loc></url><url><lo";
    const SitemapDocument large = ReadSitemap(cut, kSitemapMaximumBytes + 1);
    EXPECT_EQ(large.locations.size(), 1u);
    EXPECT_EQ(large.warnings.size(), 1u);
}

}  // namespace
}  // namespace velmora::site_checks
