#include "site_checks/link_resolver.h"

#include <gtest/gtest.h>

namespace velmora::site_checks {
namespace {

// RFC 3986, section 5.4: the base "http://a/b/c/d;p?q" is the page /b/c/d;p of the site
// http://a/. The query of the base plays no part, since the checks drop queries.
TEST(LinkResolver, ReferenceResolutionExamplesOfTheRfc) {
    const LinkResolver resolver{BaseUrl("http://a/")};
    const LinkResolver::Page page = resolver.ForPage("/b/c/d;p");
    const std::pair<std::string_view, std::string_view> cases[] = {
        // Normal examples.
        {"g", "/b/c/g"},
        {"./g", "/b/c/g"},
        {"g/", "/b/c/g/"},
        {"/g", "/g"},
        {"?y", "/b/c/d;p"},
        {"g?y", "/b/c/g"},
        {"#s", "/b/c/d;p"},
        {"g#s", "/b/c/g"},
        {"g?y#s", "/b/c/g"},
        {";x", "/b/c/;x"},
        {"g;x", "/b/c/g;x"},
        {"g;x?y#s", "/b/c/g;x"},
        {"", "/b/c/d;p"},
        {".", "/b/c/"},
        {"./", "/b/c/"},
        {"..", "/b/"},
        {"../", "/b/"},
        {"../g", "/b/g"},
        {"../..", "/"},
        {"../../", "/"},
        {"../../g", "/g"},
        // Abnormal examples: dot segments above the root are dropped.
        {"../../../g", "/g"},
        {"../../../../g", "/g"},
        {"/./g", "/g"},
        {"/../g", "/g"},
        {"g.", "/b/c/g."},
        {".g", "/b/c/.g"},
        {"g..", "/b/c/g.."},
        {"..g", "/b/c/..g"},
        {"./../g", "/b/g"},
        {"./g/.", "/b/c/g/"},
        {"g/./h", "/b/c/g/h"},
        {"g/../h", "/b/c/h"},
        {"g;x=1/./y", "/b/c/g;x=1/y"},
        {"g;x=1/../y", "/b/c/y"},
        {"g?y/./x", "/b/c/g"},
        {"g#s/../x", "/b/c/g"},
        {"http://a/b/c/g", "/b/c/g"},
        // What browsers do first: blanks at the ends, backslashes, percent-encoding.
        {"  g.html \n", "/b/c/g.html"},
        {"g\\h", "/b/c/g/h"},
        {"a%20b.html", "/b/c/a b.html"},
        {"café/ü.html", "/b/c/café/ü.html"},
        {"%c3%bc.html", "/b/c/ü.html"},
        {"100%.html", "/b/c/100%.html"},
        // An encoded dot segment is no dot segment: decoded, it names no file of the root.
        {"%2e%2e/%2e%2e/secret", "/b/c/../../secret"},
    };
    for (const auto& [href, to] : cases) {
        EXPECT_EQ(page.Resolve(href).to, std::optional<std::string>(to)) << href;
    }
    EXPECT_EQ(page.Resolve("g#s/../x").fragment, "s/../x");
    EXPECT_EQ(page.Resolve("#").fragment, "");
    EXPECT_EQ(page.Resolve("g").fragment, std::nullopt);
}

TEST(LinkResolver, OtherSchemesAndHostsAreExternal) {
    const LinkResolver resolver{BaseUrl("https://Example.org/blog/")};
    const LinkResolver::Page page = resolver.ForPage("/docs/a.html");
    const std::pair<std::string_view, std::optional<std::string>> cases[] = {
        {"https://EXAMPLE.org/blog/x.html", "/x.html"},
        {"//example.org/blog/", "/"},
        {"../../y.html", std::nullopt},  // above the site's own folder of the host
        {"http://example.org/blog/x.html", std::nullopt},
        {"https://example.org:8443/blog/x.html", std::nullopt},
        {"https://other.org/blog/x.html", std::nullopt},
        {"mailto:a@example.org", std::nullopt},
        {"javascript:void(0)", std::nullopt},
        {"tel:+1234", std::nullopt},
        {"b.html", "/docs/b.html"},
    };
    for (const auto& [href, to] : cases) {
        EXPECT_EQ(page.Resolve(href).to, to) << href;
    }
    EXPECT_EQ(page.ResolveAddress("https://other.org/x#y"), "https://other.org/x");
    EXPECT_EQ(page.ResolveAddress("../docs/"), "/docs/");
    // Root-relative: the host's root, above the site's own folder.
    EXPECT_EQ(page.ResolveAddress("/docs/"), "https://example.org/docs/");
    EXPECT_EQ(page.ResolveAddress("mailto:a@example.org"), std::nullopt);
    EXPECT_EQ(resolver.PathOfUrl("https://example.org/blog/a%20b.html"), "/a b.html");
    EXPECT_EQ(resolver.PathOfUrl("https://elsewhere.org/blog/a.html"), std::nullopt);
}

TEST(LinkResolver, WithoutABaseUrlOnlyRelativeLinksAreInternal) {
    const LinkResolver resolver{std::nullopt};
    const LinkResolver::Page page = resolver.ForPage("/docs/a b.html");
    EXPECT_EQ(page.Resolve("b.html").to, "/docs/b.html");
    EXPECT_EQ(page.Resolve("/x.html?q=1#f").to, "/x.html");
    EXPECT_EQ(page.Resolve("").to, "/docs/a b.html");
    EXPECT_EQ(page.Resolve("https://example.org/x.html").to, std::nullopt);
    EXPECT_EQ(page.Resolve("//example.org/x.html").to, std::nullopt);
    // Canonicals and sitemap URLs are taken by their path.
    EXPECT_EQ(page.ResolveAddress("https://example.org/docs/"), "/docs/");
    EXPECT_EQ(resolver.PathOfUrl("https://example.org/a.html"), "/a.html");
}

TEST(LinkResolver, BaseUrlMustBeAbsoluteHttp) {
    EXPECT_THROW(BaseUrl("example.org"), std::invalid_argument);
    EXPECT_THROW(BaseUrl("ftp://example.org/"), std::invalid_argument);
    EXPECT_EQ(BaseUrl("https://example.org").prefix(), "/");
    EXPECT_EQ(BaseUrl("https://example.org/blog/index.html").prefix(), "/blog/");
    EXPECT_EQ(BaseUrl("HTTPS://Example.ORG:8080/").origin(), "https://example.org:8080");
}

TEST(LinkResolver, PercentDecoding) {
    EXPECT_EQ(PercentDecoded("%41b%20c%zz%2"), "Ab c%zz%2");
}

}  // namespace
}  // namespace velmora::site_checks
