#include "page_checks/page_fixes.h"

#include <gtest/gtest.h>

#include "tests/page_checks/check_test_support.h"

namespace velmora::page_checks {

void PrintTo(const UnfixedCheck& check, std::ostream* out) {
    *out << CheckIdName(check.id) << ": " << check.reason
         << (check.needsSetting ? " (setting)" : "");
}

namespace testing {
namespace {

FixSettings AllSettings() {
    return {"a.html", "en", "https://example.org/i.png", "https://example.org/a.html"};
}

std::string Fixed(std::string_view page, const FixSettings& settings = AllSettings(),
                  std::span<const CheckId> only = {}) {
    return ApplyPageFixes(page, PlanPageFixes(page, settings, {}, only));
}

std::vector<CheckId> FixedIds(const FixPlan& plan) {
    std::vector<CheckId> ids;
    for (const PlannedFix& fix : plan.fixes) {
        ids.push_back(fix.id);
    }
    return ids;
}

struct FixCase {
    const char* name;
    std::string page;
    std::string fixed;
    FixSettings settings = AllSettings();
};

// Each fix on each kind of page, byte for byte: line breaks, indentation, the page's tag style
// and quotes, the place after a doctype, a PHP block and <html> where no head exists, and the
// page's encoding.
TEST(PageFixes, EachKindOfPageByteForByte) {
    const std::string cards =
        "<meta property=\"og:title\" content=\"Tom &amp; Jerry\">{B}"
        "{I}<meta property=\"og:description\" content=\"A cat, a mouse.\">{B}"
        "{I}<meta property=\"og:url\" content=\"https://example.org/a.html\">{B}"
        "{I}<meta property=\"og:image\" content=\"https://example.org/i.png\">{B}"
        "{I}<meta name=\"twitter:card\" content=\"summary_large_image\">{B}";
    const auto lines = [&](std::string text, std::string_view lineBreak, std::string_view indent) {
        for (std::size_t at; (at = text.find("{B}")) != std::string::npos;) {
            text.replace(at, 3, lineBreak);
        }
        for (std::size_t at; (at = text.find("{I}")) != std::string::npos;) {
            text.replace(at, 3, indent);
        }
        return text;
    };
    const std::string page =
        "<!DOCTYPE html>{B}<html>{B}<head>{B}{I}<title>Tom &amp; Jerry</title>{B}"
        "{I}<meta name=\"description\" content=\"A cat, a mouse.\">{B}</head>{B}"
        "<body><p>x</p></body>{B}</html>{B}";
    const std::string fixed =
        "<!DOCTYPE html>{B}<html lang=\"en\">{B}<head>{B}{I}<meta charset=\"utf-8\">{B}"
        "{I}<title>Tom &amp; Jerry</title>{B}"
        "{I}<meta name=\"description\" content=\"A cat, a mouse.\">{B}"
        "{I}<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">{B}"
        "{I}<link rel=\"canonical\" href=\"https://example.org/a.html\">{B}{I}" +
        cards + "</head>{B}<body><p>x</p></body>{B}</html>{B}";
    const std::string xhtmlCards =
        "<meta property='og:title' content='Tom &amp; Jerry' />"
        "<meta property='og:description' content='Rock &#39;n&#39; roll' />"
        "<meta property='og:url' content='https://example.org/a.html' />"
        "<meta property='og:image' content='https://example.org/i.png' />"
        "<meta name='twitter:card' content='summary_large_image' />";
    const std::vector<FixCase> cases = {
        {"LF", lines(page, "\n", "  "), lines(fixed, "\n", "  ")},
        {"CR LF", lines(page, "\r\n", "\t"), lines(fixed, "\r\n", "\t")},
        {"XHTML, single quotes, one line",
         "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>Tom &amp; Jerry</title>"
         "<meta name='description' content='Rock &apos;n&apos; roll' /></head><body/></html>",
         "<html lang='en' xmlns=\"http://www.w3.org/1999/xhtml\"><head><meta charset='utf-8' />"
         "<title>Tom &amp; Jerry</title>"
         "<meta name='description' content='Rock &apos;n&apos; roll' />"
         "<meta name='viewport' content='width=device-width, initial-scale=1' />"
         "<link rel='canonical' href='https://example.org/a.html' />" +
             xhtmlCards + "</head><body/></html>"},
        {"XHTML by its namespace",
         "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\"><head><title>T</title>"
         "</head></html>",
         "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\"><head>"
         "<meta charset=\"utf-8\" /><title>T</title>"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\" />"
         "<link rel=\"canonical\" href=\"https://example.org/a.html\" />"
         "<meta property=\"og:title\" content=\"T\" />"
         "<meta property=\"og:url\" content=\"https://example.org/a.html\" />"
         "<meta property=\"og:image\" content=\"https://example.org/i.png\" />"
         "<meta name=\"twitter:card\" content=\"summary_large_image\" /></head></html>"},
        {"a canonical naming another page keeps og:url out",
         "<html lang=\"en\"><head><meta charset=\"utf-8\"><meta name=\"viewport\" "
         "content=\"width=1\"><link rel=\"canonical\" href=\"b.html\"><title>T</title></head>"
         "</html>",
         "<html lang=\"en\"><head><meta charset=\"utf-8\"><meta name=\"viewport\" "
         "content=\"width=1\"><link rel=\"canonical\" href=\"b.html\"><title>T</title>"
         "<meta property=\"og:title\" content=\"T\">"
         "<meta property=\"og:image\" content=\"https://example.org/i.png\">"
         "<meta name=\"twitter:card\" content=\"summary_large_image\"></head></html>"},
        {"PHP-led without a head",
         "<?php header('X-A: b'); ?>\r\n<!doctype html>\r\n<html>\r\n<body>\r\n<h1>T</h1>"
         "\r\n</body>\r\n</html>\r\n",
         "<?php header('X-A: b'); ?>\r\n<!doctype html>\r\n<html lang=\"en\">\r\n"
         "<meta charset=\"utf-8\">\r\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n"
         "<link rel=\"canonical\" href=\"https://example.org/a.html\">\r\n"
         "<meta property=\"og:url\" content=\"https://example.org/a.html\">\r\n"
         "<meta property=\"og:image\" content=\"https://example.org/i.png\">\r\n"
         "<meta name=\"twitter:card\" content=\"summary_large_image\">\r\n<body>\r\n<h1>T</h1>"
         "\r\n</body>\r\n</html>\r\n"},
        {"BOM-led, no html tag",
         "\xEF\xBB\xBF<head><title>Tom &amp; Jerry</title>"
         "<meta name=\"description\" content=\"A cat, a mouse.\"></head><p>x</p>",
         "\xEF\xBB\xBF<head><meta charset=\"utf-8\"><title>Tom &amp; Jerry</title>"
         "<meta name=\"description\" content=\"A cat, a mouse.\">"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
         "<link rel=\"canonical\" href=\"https://example.org/a.html\">" +
             lines(cards, "", "") + "</head><p>x</p>"},
        {"Windows-1252: its own bytes, references for what it lacks",
         "<html><head><title>Caf\xE9 \x80 &lt;&quot;</title></head><body>\xE9</body></html>",
         "<html lang=\"de\"><head><meta charset=\"windows-1252\">"
         "<title>Caf\xE9 \x80 &lt;&quot;</title>"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
         "<link rel=\"canonical\" href=\"https://example.org/caf\xE9.html\">"
         "<meta property=\"og:title\" content=\"Caf\xE9 \x80 &lt;&quot;\">"
         "<meta property=\"og:url\" content=\"https://example.org/caf\xE9.html\">"
         "<meta property=\"og:image\" content=\"https://example.org/\xFC&#8594;.png\">"
         "<meta name=\"twitter:card\" content=\"summary_large_image\"></head>"
         "<body>\xE9</body></html>",
         {"caf\xC3\xA9.html", "de", "https://example.org/\xC3\xBC\xE2\x86\x92.png",
          "https://example.org/caf\xC3\xA9.html"}},
        {"later copies of one canonical and one description, with their lines",
         "<html lang=\"en\"><head>\n<meta charset=\"utf-8\">\n"
         "<link rel=\"canonical\" href=\"https://example.org/a.html\">\n"
         "<meta name=\"description\" content=\"D\">\n"
         "  <link rel=\"canonical\" href=\" https://example.org/a.html\">  \n"
         "<meta name=\"viewport\" content=\"width=1\"><META NAME=\"Description\" content=\"D\">\n"
         "<meta property=\"og:title\" content=\"t\"><meta property=\"og:description\" "
         "content=\"d\"><meta property=\"og:image\" content=\"i\">\n</head></html>",
         "<html lang=\"en\"><head>\n<meta charset=\"utf-8\">\n"
         "<link rel=\"canonical\" href=\"https://example.org/a.html\">\n"
         "<meta name=\"description\" content=\"D\">\n"
         "<meta name=\"viewport\" content=\"width=1\">\n"
         "<meta property=\"og:title\" content=\"t\"><meta property=\"og:description\" "
         "content=\"d\"><meta property=\"og:image\" content=\"i\">\n</head></html>"},
    };
    for (const FixCase& c : cases) {
        const std::string result = Fixed(c.page, c.settings);
        EXPECT_EQ(result, c.fixed) << c.name;
        EXPECT_FALSE(PlanPageFixes(result, c.settings, {}).Changes()) << c.name;
    }
}

TEST(PageFixes, FixedChecksAreGood) {
    const std::string page =
        "<!DOCTYPE html>\n<html>\n<head>\n<title>Tom &amp; Jerry</title>\n"
        "<meta name=\"description\" content=\"A cat, a "
        "mouse.\">\n</head>\n<body></body>\n</html>\n";
    const std::string fixed = Fixed(page);
    for (const CheckId id : {CheckId::Charset, CheckId::Viewport, CheckId::Language,
                             CheckId::Canonical, CheckId::Social}) {
        EXPECT_EQ(RunCheck(id, fixed, {}, "a.html").state, CheckState::Good) << CheckIdName(id);
    }
}

TEST(PageFixes, WhatIsLeftAndWhy) {
    struct Left {
        const char* page;
        FixSettings settings;
        std::vector<UnfixedCheck> unfixed;
    };
    const FixSettings none{"a.html", {}, {}, {}};
    const std::vector<Left> cases = {
        {"<html><head><meta charset=utf-8><meta name=viewport content=x></head></html>",
         none,
         {{CheckId::Viewport, "the viewport tag sets neither a width nor a scale", false},
          {CheckId::Language, "needs the page's language", true},
          {CheckId::Canonical, "needs the site's address", true},
          {CheckId::Social, "og:title needs a title", false},
          {CheckId::Social, "og:description needs a description", false},
          {CheckId::Social, "og:image needs an image address", true}}},
        {"<html lang=\"english!\"><head><meta charset=\"utf-8\">"
         "<link rel=canonical href=/a.html><link rel=canonical href=/b.html>"
         "<meta name=description content=a><meta name=description content=b></head></html>",
         AllSettings(),
         {{CheckId::Viewport, "", false},
          {CheckId::Language, "the page's language tag is malformed or unknown", false},
          {CheckId::Canonical, "the canonical URL is left to you", false},
          {CheckId::Social, "og:title needs a title", false},
          {CheckId::Description, "the page has descriptions that differ; keep one", false}}},
        {"\xE9<meta charset=\"utf-8\">",
         AllSettings(),
         {{CheckId::Charset, "the declared charset disagrees with the page's bytes", false},
          {CheckId::Language, "the page has no <html> tag to hold the language", false},
          {CheckId::Social, "og:title needs a title", false},
          {CheckId::Social, "og:description needs a description", false}}},
    };
    for (const Left& c : cases) {
        FixPlan plan = PlanPageFixes(c.page, c.settings, {});
        std::vector<UnfixedCheck> expected;
        for (const UnfixedCheck& left : c.unfixed) {
            if (!left.reason.empty()) {
                expected.push_back(left);
            }
        }
        EXPECT_EQ(plan.unfixed, expected) << c.page;
        EXPECT_EQ(plan.NeedsSettings(),
                  std::any_of(expected.begin(), expected.end(),
                              [](const UnfixedCheck& u) { return u.needsSetting; }))
            << c.page;
    }
}

TEST(PageFixes, OnlyTheRequestedAndEnabledChecks) {
    const std::string page = "<html><head><title>T</title></head></html>";
    const std::vector<CheckId> viewport = {CheckId::Viewport};
    EXPECT_EQ(FixedIds(PlanPageFixes(page, AllSettings(), {}, viewport)), viewport);
    PageCheckOptions options;
    options.SetEnabled(CheckId::Charset, false);
    options.SetEnabled(CheckId::Social, false);
    EXPECT_EQ(FixedIds(PlanPageFixes(page, AllSettings(), options)),
              (std::vector<CheckId>{CheckId::Viewport, CheckId::Language, CheckId::Canonical}));
    // A redirect stub is meant to have no content; nothing is added to it.
    EXPECT_FALSE(
        PlanPageFixes("<meta http-equiv=refresh content=\"0; url=/b.html\">", AllSettings(), {})
            .Changes());
}

TEST(PageFixes, TagsGoWhereTheHeadIsRead) {
    // A </head> in a comment or a script string is no end of the head, and tags after a body
    // element would not be read in it.
    const std::string page =
        "<html lang=en><head><!-- </head> --><script>'</head>'</script><meta charset=utf-8>"
        "<title>T</title></head><body></body></html>";
    const std::string fixed = Fixed(page, AllSettings(), std::vector<CheckId>{CheckId::Viewport});
    EXPECT_EQ(fixed,
              "<html lang=en><head><!-- </head> --><script>'</head>'</script>"
              "<meta charset=utf-8><title>T</title>"
              "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
              "</head><body></body></html>");
    EXPECT_EQ(RunCheck(CheckId::Viewport, fixed).state, CheckState::Good);
}

TEST(PageFixes, PageUrls) {
    EXPECT_EQ(PageUrl("https://example.org", "docs/a b.html"),
              "https://example.org/docs/a%20b.html");
    EXPECT_EQ(PageUrl("https://example.org/site/", "./docs/index.html"),
              "https://example.org/site/docs/");
    EXPECT_EQ(PageUrl("https://example.org/", "index.php"), "https://example.org/");
    EXPECT_EQ(PageUrl("https://example.org/", "caf\xC3\xA9.html"),
              "https://example.org/caf%C3%A9.html");
}

}  // namespace
}  // namespace testing
}  // namespace velmora::page_checks
