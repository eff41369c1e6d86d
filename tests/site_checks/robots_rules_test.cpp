#include "site_checks/robots_rules.h"

#include <gtest/gtest.h>

namespace velmora::site_checks {
namespace {

bool Allowed(const RobotsRules& robots, std::string_view path) {
    return robots.Check(path).allowed;
}

// The example file of RFC 9309, section 5.1, read for a crawler that only the "*" group names.
TEST(RobotsRules, TheRfcExampleFile) {
    const RobotsRules robots = RobotsRules::Parse(
        "User-Agent: *\n"
        "Disallow: *.gif$\n"
        "Disallow: /example/\n"
        "Allow: /publications/\n"
        "\n"
        "User-Agent: foobot\n"
        "Disallow:/\n"
        "Allow:/example/page.html\n"
        "Allow:/example/allowed.gif\n"
        "\n"
        "User-Agent: barbot\n"
        "User-Agent: bazbot\n"
        "Disallow: /example/page.html\n"
        "\n"
        "User-Agent: quxbot\n");
    EXPECT_EQ(robots.rules().size(), 3u);
    EXPECT_TRUE(Allowed(robots, "/"));
    EXPECT_TRUE(Allowed(robots, "/publications/a.html"));
    EXPECT_FALSE(Allowed(robots, "/example/page.html"));
    EXPECT_FALSE(Allowed(robots, "/images/logo.gif"));
    EXPECT_TRUE(Allowed(robots, "/images/logo.gif2"));
    EXPECT_EQ(robots.Check("/example/x").rule->line, 3u);
}

// Section 5.2: the most specific match wins; Allow wins a tie; "*" and "$" in patterns.
TEST(RobotsRules, LongestMatchAllowTiesWildcardsAndAnchors) {
    const RobotsRules robots = RobotsRules::Parse(
        "user-agent: *   # every crawler\n"
        "allow: /example/page/\n"
        "disallow: /example/page/disallowed.gif\n"
        "Disallow: /tie\n"
        "Allow: /tie\n"
        "Disallow: /*.php$\n"
        "Disallow: /fish*.html\n"
        "Disallow: /a%3cd\n"
        "Disallow: /caf\xC3\xA9/\n"
        "Disallow:\n");
    const std::pair<std::string_view, bool> cases[] = {
        {"/example/page/", true},
        {"/example/page/disallowed.gif", false},
        {"/tie/x", true},
        {"/x/y.php", false},
        {"/x/y.php5", true},
        {"/fish.html", false},
        {"/fishheads/salmon.html", false},
        {"/Fish.html", true},
        {"/catfish.html", true},
        {"/a%3Cd", false},
        {"/café/menu.html", false},
        {"/anything-else", true},
    };
    for (const auto& [path, allowed] : cases) {
        EXPECT_EQ(Allowed(robots, path), allowed) << path;
    }
}

TEST(RobotsRules, OnlyTheGroupsOfEveryCrawlerCountAndAreMerged) {
    const RobotsRules robots = RobotsRules::Parse(
        "User-agent: foobot\r\nDisallow: /\r\n"
        "User-agent: *\r\nDisallow: /private/\r\n"
        "Sitemap: https://example.org/sitemap.xml\r\n"
        "Disallow: /drafts/\r\n"
        "User-agent: barbot\r\nUser-agent: *\r\nDisallow: /tmp/\r\n"
        "garbage line without colon\r\n");
    EXPECT_TRUE(Allowed(robots, "/"));
    EXPECT_FALSE(Allowed(robots, "/private/a.html"));
    EXPECT_FALSE(Allowed(robots, "/drafts/"));
    EXPECT_FALSE(Allowed(robots, "/tmp/x"));
    EXPECT_TRUE(RobotsRules::Parse("").Check("/x").allowed);
}

TEST(RobotsRules, PatternsMatchInLinearSteps) {
    const std::string path(100'000, 'a');
    EXPECT_FALSE(RobotsPatternMatches("/*a*a*a*a*b$", "/" + path));
    EXPECT_TRUE(RobotsPatternMatches("/*a$", "/" + path));
    EXPECT_TRUE(RobotsPatternMatches("*", ""));
    EXPECT_FALSE(RobotsPatternMatches("/a$", "/ab"));
}

}  // namespace
}  // namespace velmora::site_checks
