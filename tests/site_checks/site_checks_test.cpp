#include "site_checks/site_checks.h"

#include <gtest/gtest.h>

#include <map>

#include "page_checks/page_checks.h"

namespace velmora::site_checks {
namespace {

using page_checks::CheckResult;
using page_checks::CheckState;

// A small site built from pages' HTML, judged as one run judges it.
class SiteFixture : public ::testing::Test {
protected:
    void Page(const std::string& path, const std::string& html) {
        static const page_checks::TextWidthMeter meter;
        const page_checks::PageCheckReport report =
            page_checks::RunPageChecks(html, path, PageCheckOptions(), meter);
        SitePage page =
            InternPage(path.substr(1), ResolvePage(report.site, path, resolver_), site_.texts);
        page.title = report.title;
        page.titleElement = report.titleElement;
        site_.pages.push_back(std::move(page));
        File(path);
    }

    void File(const std::string& path) {
        if (!site_.files) {
            site_.files.emplace();
        }
        site_.files->Add(site_.texts.Intern(path));
    }

    void Sitemap(const std::vector<std::string>& urls) {
        site_checks::Sitemap sitemap{"sitemap.xml", {}};
        std::uint32_t line = 1;
        for (const std::string& url : urls) {
            const std::optional<std::string> path = resolver_.PathOfUrl(url);
            sitemap.urls.push_back({url, path ? site_.texts.Intern(*path) : kNoText, ++line});
        }
        site_.sitemap = std::move(sitemap);
    }

    void Run(const PageCheckOptions& options = {}) {
        results_ = RunSiteChecks(site_, options);
        for (std::size_t i = 0; i < site_.pages.size(); ++i) {
            for (const CheckResult& result : results_.pages[i]) {
                byPage_[{"/" + site_.pages[i].file, result.id}] = result;
            }
        }
    }

    // The page's result of check `id`; nullptr when it gave none.
    const CheckResult* Get(const std::string& path, CheckId id) const {
        const auto found = byPage_.find({path, id});
        return found == byPage_.end() ? nullptr : &found->second;
    }

    std::optional<CheckState> State(const std::string& path, CheckId id) const {
        const CheckResult* result = Get(path, id);
        return result ? std::optional<CheckState>(result->state) : std::nullopt;
    }

    std::vector<std::string> Hrefs(const std::string& path, CheckId id) const {
        std::vector<std::string> hrefs;
        if (const CheckResult* result = Get(path, id)) {
            for (const auto& element : result->listed) {
                hrefs.push_back(element.text + ":" + std::to_string(element.position.line));
            }
        }
        return hrefs;
    }

    Site site_;
    LinkResolver resolver_{std::nullopt};
    SiteResults results_;
    std::map<std::pair<std::string, CheckId>, CheckResult> byPage_;
};

TEST_F(SiteFixture, BrokenLinksNameEveryMissingTargetAndSpareWhatHostsServe) {
    Page("/index.html",
         "<a href=\"about\">About</a>\n<a href=\"/docs\">Docs</a>\n"
         "<a href=\"guide.pdf\">PDF</a>\n<a href=\"/missing.html\">x</a>\n"
         "<map><area href=\"../../../gone.html\"></map>\n"
         "<a href=\"https://other.org/x\">e</a><a href=\"mailto:a@b.c\">m</a>\n"
         "<a href=\"docs/\">d</a><a href=\"nodir/\">n</a><a href=\"%2e%2e/index.html\">u</a>");
    Page("/about.html", "<a href=/>home</a>");
    Page("/docs/index.html", "<a href=../index.html>home</a>");
    Page("/stub.html", "<meta http-equiv=refresh content=\"0; url=/moved.html\">");
    Page("/external.html", "<a href=\"https://example.org/\">x</a>");
    File("/guide.pdf");
    File("/nodir/readme.txt");
    Run();
    EXPECT_EQ(State("/index.html", CheckId::BrokenLinks), CheckState::Problem);
    EXPECT_EQ(Hrefs("/index.html", CheckId::BrokenLinks),
              (std::vector<std::string>{"/missing.html:4", "../../../gone.html:5", "nodir/:7",
                                        "%2e%2e/index.html:7"}));
    EXPECT_EQ(State("/about.html", CheckId::BrokenLinks), CheckState::Good);
    EXPECT_EQ(State("/docs/index.html", CheckId::BrokenLinks), CheckState::Good);
    // A redirect stub's target is a link as well.
    EXPECT_EQ(Hrefs("/stub.html", CheckId::BrokenLinks),
              (std::vector<std::string>{"/moved.html:1"}));
    // Only external links: nothing to judge.
    EXPECT_EQ(State("/external.html", CheckId::BrokenLinks), std::nullopt);
}

TEST_F(SiteFixture, FragmentsMustNameAnIdOfTheTargetPage) {
    Page("/a.html",
         "<h2 id=\"self\">S</h2><a href=\"#self\">s</a><a href=\"#top\">t</a><a href=\"#\">h</a>\n"
         "<a href=\"b.html#sec%20one\">b</a><a href=\"b.html#named\">n</a>\n"
         "<a href=\"b.html#nope\">x</a><a href=\"#gone\">g</a><a href=\"guide.pdf#page=2\">p</a>");
    Page("/b.html", "<a href=/a.html>a</a><section id=\"sec one\"></section><a name=named></a>");
    Page("/c.html", "<a href=/b.html#named>b</a>");
    File("/guide.pdf");
    Run();
    EXPECT_EQ(State("/a.html", CheckId::BrokenFragments), CheckState::Improve);
    EXPECT_EQ(Hrefs("/a.html", CheckId::BrokenFragments),
              (std::vector<std::string>{"b.html#nope:3", "#gone:3"}));
    EXPECT_EQ(State("/c.html", CheckId::BrokenFragments), CheckState::Good);
    EXPECT_EQ(State("/b.html", CheckId::BrokenFragments), std::nullopt);
}

TEST_F(SiteFixture, CanonicalTargetsMustExistAndBeIndexable) {
    const auto canonical = [](const std::string& href) {
        return "<link rel=canonical href=\"" + href + "\"><a href=/index.html>h</a>";
    };
    Page("/index.html", "<a href=/final.html>f</a>");
    Page("/missing.html", canonical("/nowhere.html"));
    Page("/to-stub.html", canonical("/stub.html"));
    Page("/to-hidden.html", canonical("https://example.org/hidden.html"));
    Page("/chain.html", canonical("/middle.html"));
    Page("/middle.html", canonical("/final.html"));
    Page("/final.html", canonical("/final.html"));
    Page("/folder.html", canonical("/docs/"));
    Page("/docs/index.html", canonical("https://example.org/docs/"));
    Page("/stub.html", "<meta http-equiv=refresh content=\"0;url=/final.html\">");
    Page("/hidden.html", "<meta name=robots content=noindex>");
    Run();
    EXPECT_EQ(State("/missing.html", CheckId::CanonicalTarget), CheckState::Problem);
    EXPECT_EQ(Hrefs("/missing.html", CheckId::CanonicalTarget),
              (std::vector<std::string>{"/nowhere.html:1"}));
    EXPECT_EQ(State("/to-stub.html", CheckId::CanonicalTarget), CheckState::Problem);
    EXPECT_EQ(State("/to-hidden.html", CheckId::CanonicalTarget), CheckState::Problem);
    EXPECT_EQ(State("/chain.html", CheckId::CanonicalTarget), CheckState::Improve);
    EXPECT_EQ(State("/middle.html", CheckId::CanonicalTarget), CheckState::Good);
    EXPECT_EQ(State("/folder.html", CheckId::CanonicalTarget), CheckState::Good);
    // A canonical naming the page itself, by any of its addresses, is not judged.
    EXPECT_EQ(State("/final.html", CheckId::CanonicalTarget), std::nullopt);
    EXPECT_EQ(State("/docs/index.html", CheckId::CanonicalTarget), std::nullopt);
}

TEST_F(SiteFixture, LanguageAlternatesMustListEachOtherBack) {
    const auto alternates = [](const std::vector<std::string>& pairs) {
        // The alternates stand in the head: a link's start tag would end it.
        std::string html = "<meta charset=utf-8>\n";
        for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
            html +=
                "<link rel=alternate hreflang=" + pairs[i] + " href=\"" + pairs[i + 1] + "\">\n";
        }
        return html + "<a href=/index.html>h</a>";
    };
    Page("/index.html", "");
    Page("/en.html", alternates({"en", "/en.html", "de", "/de.html", "x-default", "/en.html"}));
    Page("/de.html", alternates({"en", "/en.html", "de", "/de.html"}));
    Page("/fr.html", alternates({"fr", "/fr.html", "en", "/en.html"}));
    Page("/es.html", alternates({"es", "/es.html", "it", "/it.html"}));
    Page("/pt.html", alternates({"en", "https://example.org/en.html", "de", "/de.html"}));
    Run();
    EXPECT_EQ(State("/en.html", CheckId::HreflangReturn), CheckState::Good);
    EXPECT_EQ(State("/de.html", CheckId::HreflangReturn), CheckState::Good);
    EXPECT_EQ(State("/fr.html", CheckId::HreflangReturn), CheckState::Improve);
    EXPECT_EQ(Hrefs("/fr.html", CheckId::HreflangReturn), (std::vector<std::string>{"/en.html:3"}));
    EXPECT_EQ(State("/es.html", CheckId::HreflangReturn), CheckState::Problem);
    EXPECT_EQ(Hrefs("/es.html", CheckId::HreflangReturn), (std::vector<std::string>{"/it.html:3"}));
    // Neither lists it back nor is it among them.
    EXPECT_EQ(State("/pt.html", CheckId::HreflangReturn), CheckState::Improve);
    EXPECT_EQ(State("/index.html", CheckId::HreflangReturn), std::nullopt);
}

TEST_F(SiteFixture, OrphansAreIndexablePagesNoOtherPageLinksTo) {
    Page("/index.html", "<a href=linked.html>l</a><a href=self.html#x>s</a>");
    Page("/linked.html", "<link rel=canonical href=/lonely.html><a href=linked.html>me</a>");
    Page("/lonely.html", "<a href=lonely.html>only myself</a>");
    Page("/self.html", "<a href=/self.html>me</a>");
    Page("/hidden.html", "<meta name=robots content=noindex>");
    Page("/de/index.html", "");
    Run();
    EXPECT_EQ(State("/lonely.html", CheckId::Orphan), CheckState::Improve);
    EXPECT_EQ(State("/self.html", CheckId::Orphan), CheckState::Good);
    EXPECT_EQ(State("/de/index.html", CheckId::Orphan), CheckState::Improve);
    // The root's index page, a canonicalized page and a hidden one are never orphans.
    EXPECT_EQ(State("/index.html", CheckId::Orphan), std::nullopt);
    EXPECT_EQ(State("/linked.html", CheckId::Orphan), std::nullopt);
    EXPECT_EQ(State("/hidden.html", CheckId::Orphan), std::nullopt);
}

TEST_F(SiteFixture, DuplicatesCountIndexablePagesOnly) {
    Page("/a.html", "<title>Same Title</title>");
    Page("/b.html", "<title>same  title</title>");
    Page("/hidden.html", "<title>Same title</title><meta name=robots content=none>");
    Page("/stub.html",
         "<title>Same title</title><meta http-equiv=refresh content=\"0;url=a.html\">");
    Run();
    const CheckResult* duplicate = Get("/a.html", CheckId::DuplicateTitle);
    ASSERT_NE(duplicate, nullptr);
    EXPECT_EQ(duplicate->state, CheckState::Improve);
    EXPECT_NE(duplicate->message.find("b.html"), std::string::npos);
    EXPECT_EQ(duplicate->message.find("hidden.html"), std::string::npos);
    EXPECT_EQ(State("/hidden.html", CheckId::DuplicateTitle), std::nullopt);
    EXPECT_EQ(State("/stub.html", CheckId::DuplicateTitle), std::nullopt);
}

TEST_F(SiteFixture, SitemapListsEveryIndexablePageAndNothingElse) {
    Page("/index.html", "<a href=a.html>a</a><a href=unlisted.html>u</a>");
    Page("/a.html", "");
    Page("/unlisted.html", "");
    Page("/stub.html", "<meta http-equiv=refresh content=\"0;url=a.html\">");
    Page("/hidden.html", "<meta name=robots content=noindex>");
    Page("/docs/index.html", "");
    Sitemap({"https://example.org/", "https://example.org/a.html", "https://example.org/stub.html",
             "https://example.org/gone.html", "https://example.org/docs/"});
    Run();
    EXPECT_EQ(State("/index.html", CheckId::Sitemap), CheckState::Good);
    EXPECT_EQ(State("/docs/index.html", CheckId::Sitemap), CheckState::Good);
    EXPECT_EQ(State("/unlisted.html", CheckId::Sitemap), CheckState::Info);
    EXPECT_EQ(State("/stub.html", CheckId::Sitemap), CheckState::Improve);
    EXPECT_EQ(State("/hidden.html", CheckId::Sitemap), std::nullopt);
    ASSERT_EQ(results_.sitemap.size(), 1u);
    EXPECT_EQ(results_.sitemap[0].state, CheckState::Problem);
    ASSERT_EQ(results_.sitemap[0].listed.size(), 1u);
    EXPECT_EQ(results_.sitemap[0].listed[0].text, "https://example.org/gone.html");
    EXPECT_EQ(results_.sitemap[0].listed[0].position.line, 5u);
}

TEST_F(SiteFixture, RobotsRulesMatchTheAddressAPageIsServedAt) {
    site_.robots = RobotsRules::Parse(
        "User-agent: *\nDisallow: /private/\nDisallow: /docs/$\nDisallow: /blog/index.html\n");
    Page("/index.html", "");
    Page("/private/p.html", "");
    Page("/private/n.html", "<meta name=robots content=noindex>");
    Page("/docs/index.html", "");
    Page("/blog/index.html", "");
    Page("/private/stub.html", "<meta http-equiv=refresh content=\"0;url=/index.html\">");
    Run();
    EXPECT_EQ(State("/index.html", CheckId::Robots), CheckState::Good);
    EXPECT_EQ(State("/private/p.html", CheckId::Robots), CheckState::Improve);
    EXPECT_EQ(State("/private/n.html", CheckId::Robots), CheckState::Problem);
    EXPECT_EQ(State("/docs/index.html", CheckId::Robots), CheckState::Improve);
    // Served as /blog/, which the rule for the file's own name does not match.
    EXPECT_EQ(State("/blog/index.html", CheckId::Robots), CheckState::Good);
    EXPECT_EQ(State("/private/stub.html", CheckId::Robots), std::nullopt);
}

TEST_F(SiteFixture, ChecksSwitchedOffAndPagesBelowNoRootGiveNothing) {
    Page("/a.html", "<a href=missing.html>m</a><title>T</title>");
    Page("/b.html", "<title>T</title>");
    const page_checks::PageCheckReport report = page_checks::RunPageChecks(
        "<a href=missing.html>m</a>", "x.html", PageCheckOptions(), page_checks::TextWidthMeter());
    site_.pages.push_back(
        InternPage("../x.html", ResolvePage(report.site, std::nullopt, resolver_), site_.texts));
    PageCheckOptions options;
    options.SetEnabled(CheckId::BrokenLinks, false);
    Run(options);
    EXPECT_EQ(State("/a.html", CheckId::BrokenLinks), std::nullopt);
    EXPECT_EQ(State("/a.html", CheckId::DuplicateTitle), CheckState::Improve);
    EXPECT_TRUE(results_.pages[2].empty());
    EXPECT_FALSE(RunsSiteChecks([] {
        PageCheckOptions none;
        for (std::size_t id = static_cast<std::size_t>(CheckId::DuplicateTitle); id < kCheckCount;
             ++id) {
            none.SetEnabled(static_cast<CheckId>(id), false);
        }
        return none;
    }()));
}

TEST_F(SiteFixture, ManyLinksOnOnePageTakeLinearTime) {
    std::string html;
    for (int i = 0; i < 100'000; ++i) {
        html +=
            "<a href=\"p" + std::to_string(i % 1000) + ".html#s" + std::to_string(i) + "\">x</a>\n";
    }
    Page("/big.html", html);
    Page("/p1.html", "<b id=s1>");
    Run();
    const CheckResult* broken = Get("/big.html", CheckId::BrokenLinks);
    ASSERT_NE(broken, nullptr);
    EXPECT_EQ(broken->listed.size(), 99'900u);
    EXPECT_EQ(Get("/big.html", CheckId::BrokenFragments)->listed.size(), 99u);
}

TEST(TextPool, HoldsEachTextOnceAsItGrows) {
    TextPool texts;
    const TextId empty = texts.Intern("");
    EXPECT_NE(empty, kNoText);
    std::vector<TextId> ids;
    for (int i = 0; i < 50'000; ++i) {
        ids.push_back(texts.Intern("/s" + std::to_string(i % 97) + "/page-" + std::to_string(i)));
    }
    EXPECT_EQ(texts.size(), 50'001u);
    EXPECT_EQ(texts.IdLimit(), 50'002u);
    for (int i = 0; i < 50'000; i += 7) {
        const std::string text = "/s" + std::to_string(i % 97) + "/page-" + std::to_string(i);
        EXPECT_EQ(texts.Intern(text), ids[i]);
        EXPECT_EQ(texts.Find(text), ids[i]);
        EXPECT_EQ(texts.Text(ids[i]), text);
    }
    EXPECT_EQ(texts.Find(""), empty);
    EXPECT_EQ(texts.Find("/s1/page-"), kNoText);
    EXPECT_EQ(texts.Find(std::string(3, '\0')), kNoText);
    EXPECT_EQ(texts.Text(texts.Intern(std::string(3'000'000, 'x'))).size(), 3'000'000u);
}

TEST(PathBelowRoot, PathsOfFilesInsideTheRootOnly) {
    EXPECT_EQ(PathBelowRoot("site/docs/a.html", "site"), "/docs/a.html");
    EXPECT_EQ(PathBelowRoot("site/./docs/../a.html", "site/"), "/a.html");
    EXPECT_EQ(PathBelowRoot("other/a.html", "site"), std::nullopt);
    EXPECT_EQ(PathBelowRoot("site", "site"), std::nullopt);
}

}  // namespace
}  // namespace velmora::site_checks
