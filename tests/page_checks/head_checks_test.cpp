#include "page_checks/head_checks.h"

#include <gtest/gtest.h>

#include "tests/page_checks/check_test_support.h"

namespace velmora::page_checks::testing {
namespace {

constexpr CheckState kGood = CheckState::Good;
constexpr CheckState kImprove = CheckState::Improve;
constexpr CheckState kProblem = CheckState::Problem;
constexpr CheckState kInfo = CheckState::Info;

std::string Head(std::string_view head) {
    return "<html><head>" + std::string(head) + "</head><body></body></html>";
}

TEST(TitleCheck, EachState) {
    const std::string good = "Sourdough bread baked every morning in town";  // 43 characters
    EXPECT_EQ(RunCheck(CheckId::Title, Head("<title>" + good + "</title>")).state, kGood);
    EXPECT_EQ(RunCheck(CheckId::Title, Head("<title>Bakery</title>")).state, kImprove);
    EXPECT_TRUE(RunCheck(CheckId::Title, Head("<title>B</title>"))
                    .message.starts_with("The title has 1 character; lengthen it to at least 30"));
    EXPECT_EQ(RunCheck(CheckId::Title, Head("<title>" + good + good + "</title>")).state, kImprove);
    EXPECT_EQ(RunCheck(CheckId::Title, Head("")).state, kProblem);
    EXPECT_EQ(RunCheck(CheckId::Title, Head("<title> \n </title>")).state, kProblem);
    EXPECT_EQ(RunCheck(CheckId::Title, Head("<title>" + good + "</title><title>b</title>")).state,
              kProblem);
}

TEST(TitleCheck, CountsDecodedCollapsedCharactersAndPixels) {
    // 42 characters once "&amp;" is one and the blanks are collapsed; é is one character.
    const CheckResult title = RunCheck(
        CheckId::Title,
        Head("<title>  Caf&eacute;   &amp; bakery\r\n on the corner of Main&#x20;Street </title>"));
    EXPECT_EQ(Number(title, "characters"), 42);
    EXPECT_EQ(Text(title, "text"), "Café & bakery on the corner of Main Street");
    EXPECT_EQ(Number(title, "pixels"),
              *Meter().Width("Café & bakery on the corner of Main Street", 20));
    EXPECT_EQ(title.state, kGood);

    // 50 characters, but W is wide: over 600 px at 20 px.
    const CheckResult wide =
        RunCheck(CheckId::Title, Head("<title>" + std::string(50, 'W') + "</title>"));
    EXPECT_EQ(wide.state, kImprove);
    EXPECT_GT(Number(wide, "pixels"), 600);
    EXPECT_NE(wide.message.find("px"), std::string::npos);
}

TEST(TitleCheck, OnlyThePagesOwnTitleCounts) {
    const std::string title = "<title>Sourdough bread baked every morning in town</title>";
    const CheckResult result = RunCheck(
        CheckId::Title,
        "<html><head>" + title +
            "<!-- <title>old</title> --><script>document.write('<title>x</title>')</script>"
            "</head><body><svg><title>Icon</title></svg><template><title>t</title></template>"
            "</body></html>");
    EXPECT_EQ(result.state, kGood);
    EXPECT_EQ(Number(result, "count"), 1);
}

TEST(TitleCheck, WithoutTheFontOnlyCharactersCount) {
    const TextWidthMeter noFont("/nonexistent.ttf");
    const PageCheckReport report =
        RunPageChecks(Head("<title>" + std::string(50, 'W') + "</title>"), "p.html", {}, noFont);
    const CheckResult& title = report.checks.front();
    EXPECT_EQ(title.state, kGood);
    EXPECT_EQ(*title.Value("pixels"), CheckValue());
    EXPECT_NE(title.message.find("unknown"), std::string::npos);
}

TEST(TitleCheck, LimitsComeFromTheOptions) {
    PageCheckOptions options;
    options.TitleMinimumCharacters = 3;
    options.TitleMaximumCharacters = 6;
    EXPECT_EQ(RunCheck(CheckId::Title, Head("<title>Bakery</title>"), options).state, kGood);
    options.TitleMaximumPixels = 10;
    EXPECT_EQ(RunCheck(CheckId::Title, Head("<title>Bakery</title>"), options).state, kImprove);
}

TEST(DescriptionCheck, EachState) {
    const std::string good(100, 'a');
    const auto page = [](const std::string& metas) { return Head(metas); };
    EXPECT_EQ(
        RunCheck(CheckId::Description, page("<meta name=\"Description\" content=\"" + good + "\">"))
            .state,
        kGood);
    EXPECT_EQ(
        RunCheck(CheckId::Description, page("<meta name=description content=\"Short.\">")).state,
        kImprove);
    EXPECT_EQ(RunCheck(CheckId::Description,
                       page("<meta name=DESCRIPTION content=\"" + std::string(161, 'a') + "\">"))
                  .state,
              kImprove);
    // 150 characters fit the count, not the 920 px at 14 px.
    const CheckResult wide =
        RunCheck(CheckId::Description,
                 page("<meta name=description content=\"" + std::string(150, 'W') + "\">"));
    EXPECT_EQ(wide.state, kImprove);
    EXPECT_GT(Number(wide, "pixels"), 920);
    EXPECT_EQ(RunCheck(CheckId::Description, page("")).state, kProblem);
    EXPECT_EQ(RunCheck(CheckId::Description, page("<meta name=description content=\" \">")).state,
              kProblem);
    EXPECT_EQ(RunCheck(CheckId::Description, page("<meta name=description>")).state, kProblem);
    EXPECT_EQ(
        RunCheck(CheckId::Description, page("<meta name=description content=\"" + good +
                                            "\"><meta name=description content=\"" + good + "\">"))
            .state,
        kProblem);
}

// The limits themselves are good lengths and widths; one character or pixel beyond them is not.
TEST(TitleAndDescriptionChecks, LimitsAreInclusiveInCharactersAndPixels) {
    struct Limits {
        CheckId id;
        std::string (*page)(const std::string& text);
        std::int32_t PageCheckOptions::*minimum;
        std::int32_t PageCheckOptions::*maximum;
        std::int32_t PageCheckOptions::*pixels;
        int pixelSize;
    };
    const Limits checks[] = {
        {CheckId::Title,
         [](const std::string& text) { return Head("<title>" + text + "</title>"); },
         &PageCheckOptions::TitleMinimumCharacters, &PageCheckOptions::TitleMaximumCharacters,
         &PageCheckOptions::TitleMaximumPixels, 20},
        {CheckId::Description,
         [](const std::string& text) {
             return Head("<meta name=description content=\"" + text + "\">");
         },
         &PageCheckOptions::DescriptionMinimumCharacters,
         &PageCheckOptions::DescriptionMaximumCharacters,
         &PageCheckOptions::DescriptionMaximumPixels, 14},
    };
    for (const Limits& check : checks) {
        PageCheckOptions options;
        // Narrow letters, so the character counts stay within the default widths.
        const auto state = [&](std::size_t characters) {
            return RunCheck(check.id, check.page(std::string(characters, 'i')), options).state;
        };
        const auto minimum = static_cast<std::size_t>(options.*check.minimum);
        const auto maximum = static_cast<std::size_t>(options.*check.maximum);
        EXPECT_EQ(state(minimum - 1), kImprove) << CheckIdName(check.id);
        EXPECT_EQ(state(minimum), kGood) << CheckIdName(check.id);
        EXPECT_EQ(state(maximum), kGood) << CheckIdName(check.id);
        EXPECT_EQ(state(maximum + 1), kImprove) << CheckIdName(check.id);

        const std::string text(minimum, 'W');
        options.*check.pixels = *Meter().Width(text, check.pixelSize);
        EXPECT_EQ(RunCheck(check.id, check.page(text), options).state, kGood);
        --(options.*check.pixels);
        EXPECT_EQ(RunCheck(check.id, check.page(text), options).state, kImprove);
    }
}

TEST(IndexableCheck, EachState) {
    EXPECT_EQ(RunCheck(CheckId::Indexable, Head("")).state, kGood);
    EXPECT_EQ(
        RunCheck(CheckId::Indexable, Head("<meta name=robots content=\"index, follow\">")).state,
        kGood);
    EXPECT_EQ(
        RunCheck(CheckId::Indexable, Head("<meta name=robots content=\"index,NoFollow\">")).state,
        kImprove);
    const CheckResult noindex =
        RunCheck(CheckId::Indexable, Head("<meta name=ROBOTS content=\" NOINDEX , follow\">"));
    EXPECT_EQ(noindex.state, kProblem);
    EXPECT_EQ(noindex.message,
              "Search engines are asked not to index this page. Remove the noindex unless the "
              "page must stay out of search results.");
    // Every robots and googlebot tag is read, not only the first.
    EXPECT_EQ(RunCheck(CheckId::Indexable, Head("<meta name=robots content=index><meta "
                                                "name=googlebot content=noindex>"))
                  .state,
              kProblem);
    // A date that has passed asks for the page to leave the index; one to come does not.
    const CheckResult expired =
        RunCheck(CheckId::Indexable,
                 Head("<meta name=googlebot content=\"unavailable_after: 2019-06-25\">"));
    EXPECT_EQ(expired.state, kProblem);
    EXPECT_NE(expired.message.find("2019-06-25"), std::string::npos) << expired.message;
    EXPECT_EQ(RunCheck(CheckId::Indexable,
                       Head("<meta name=robots content=\"unavailable_after: 25 Jun 2010 15:00:00 "
                            "PST\">"))
                  .state,
              kProblem);
    EXPECT_EQ(RunCheck(CheckId::Indexable,
                       Head("<meta name=robots content=\"unavailable_after: 2999-01-01\">"))
                  .state,
              kGood);
    EXPECT_EQ(
        RunCheck(CheckId::Indexable, Head("<meta name=robots content=\"unavailable_after: soon\">"))
            .state,
        kGood);
    // Robots tags in the body are not read by search engines.
    EXPECT_EQ(RunCheck(CheckId::Indexable,
                       "<html><head></head><body><meta name=robots content=noindex></body></html>")
                  .state,
              kGood);
    EXPECT_EQ(
        RunCheck(CheckId::Indexable, "<title>T</title><p>x</p><meta name=robots content=noindex>")
            .state,
        kGood);
    // Stray text before the body does not end the head; a comment holds no tag.
    EXPECT_EQ(RunCheck(CheckId::Indexable, "<head>stray<meta name=robots content=noindex>").state,
              kProblem);
    EXPECT_EQ(
        RunCheck(CheckId::Indexable, Head("<!-- <meta name=robots content=noindex> -->")).state,
        kGood);
    EXPECT_EQ(RunCheck(CheckId::Indexable, Head("<meta name=googlebot content=none>")).state,
              kProblem);
    // Another crawler's tag and a word that only contains "noindex" change nothing.
    EXPECT_EQ(
        RunCheck(CheckId::Indexable, Head("<meta name=otherbot content=noindex><meta name=robots "
                                          "content=noindexed>"))
            .state,
        kGood);
}

TEST(CanonicalCheck, EachState) {
    const auto canonical = [](std::string_view links, std::string_view file = "page.html") {
        return RunCheck(CheckId::Canonical, Head(links), {}, file).state;
    };
    EXPECT_EQ(canonical("<link rel=\"Canonical\" href=\"https://example.com/a\">"), kGood);
    EXPECT_EQ(
        canonical("<link rel=\"alternate canonical\" href=\"HTTP://example.com/\">", "index.html"),
        kGood);
    // None: search engines choose one themselves.
    EXPECT_EQ(canonical(""), kInfo);
    EXPECT_EQ(canonical("<link rel=canonicalx href=\"https://a/\">"), kInfo);
    EXPECT_EQ(canonical("<link rel=canonical href=page.html>"), kImprove);
    EXPECT_EQ(canonical("<link rel=canonical href=\"\">"), kImprove);
    EXPECT_EQ(canonical("<link rel=canonical href=\"https:///x\">"), kImprove);
    EXPECT_EQ(canonical("<link rel=canonical href=\"https://a/x\"><link rel=canonical "
                        "href=\"https://b/x\">"),
              kProblem);
    // The same URL twice is one canonical.
    EXPECT_EQ(canonical("<link rel=canonical href=\"https://a/x\"><link rel=canonical "
                        "href=\" https://a/x\">"),
              kGood);
    // The site's root named from another page.
    EXPECT_EQ(canonical("<link rel=canonical href=\"https://example.com/\">"), kImprove);
    EXPECT_EQ(canonical("<link rel=canonical href=\"/\">", "site/about.html"), kImprove);
    // Another page: search engines are pointed there.
    const CheckResult other =
        RunCheck(CheckId::Canonical, Head("<link rel=canonical href=\"../guide/intro.html\">"), {},
                 "site/docs/old.html");
    EXPECT_EQ(other.state, kInfo);
    EXPECT_EQ(other.message, "Points search engines to ../guide/intro.html.");
    EXPECT_EQ(canonical("<link rel=canonical href=\"/docs/\">", "site/docs/index.html"), kImprove);
    // A canonical in the body is not read.
    EXPECT_EQ(RunCheck(CheckId::Canonical,
                       "<head></head><body><link rel=canonical href=\"https://a/x\"></body>")
                  .state,
              kInfo);
}

TEST(CanonicalCheck, WhomACanonicalNames) {
    const auto target = [](std::string_view href, PageAddress address) {
        return ClassifyCanonical(href, address);
    };
    const PageAddress docs{"out/docs/index.html", "/docs/index.html", "https://example.org/"};
    EXPECT_EQ(target("https://example.org/docs/", docs), CanonicalTarget::ThisPage);
    EXPECT_EQ(target("https://EXAMPLE.org/docs/index.html?x=1#top", docs),
              CanonicalTarget::ThisPage);
    EXPECT_EQ(target("https://example.org/docs", docs), CanonicalTarget::ThisPage);
    EXPECT_EQ(target("https://example.org/", docs), CanonicalTarget::SiteRoot);
    EXPECT_EQ(target("https://example.org/blog/", docs), CanonicalTarget::OtherPage);
    EXPECT_EQ(target("https://mirror.example.net/docs/", docs), CanonicalTarget::OtherPage);
    EXPECT_EQ(target("./", docs), CanonicalTarget::ThisPage);
    EXPECT_EQ(target("../index.html", docs), CanonicalTarget::SiteRoot);
    EXPECT_EQ(target("../../../docs/%69ndex.html", docs), CanonicalTarget::ThisPage);
    const PageAddress root{"out/index.html", "/index.html", std::nullopt};
    EXPECT_EQ(target("https://example.org/", root), CanonicalTarget::ThisPage);
    EXPECT_EQ(target("/", root), CanonicalTarget::ThisPage);
    const PageAddress about{"about.html", std::nullopt, std::nullopt};
    EXPECT_EQ(target("about", about), CanonicalTarget::ThisPage);
    EXPECT_EQ(target("https://example.org/anything", about), CanonicalTarget::ThisPage);
    EXPECT_EQ(target("/about.html", PageAddress{"public/about.html", {}, {}}),
              CanonicalTarget::ThisPage);
    EXPECT_EQ(target("/contact.html", PageAddress{"public/about.html", {}, {}}),
              CanonicalTarget::OtherPage);
}

TEST(LanguageCheck, EachState) {
    const auto lang = [](std::string_view tag) {
        return RunCheck(CheckId::Language, "<html " + std::string(tag) + "><body></body></html>")
            .state;
    };
    EXPECT_EQ(lang("lang=en"), kGood);
    EXPECT_EQ(lang("LANG=\"pt-BR\""), kGood);
    EXPECT_EQ(lang("lang=zh-Hant-TW"), kGood);
    EXPECT_EQ(lang("lang=de-CH-1901"), kGood);
    EXPECT_EQ(lang(""), kImprove);
    EXPECT_EQ(lang("lang=\"\""), kImprove);
    EXPECT_EQ(lang("lang=english"), kImprove);
    EXPECT_EQ(lang("lang=en_US"), kImprove);
    EXPECT_EQ(lang("lang=en-"), kImprove);
    EXPECT_EQ(lang("lang=en-x"), kImprove);
    EXPECT_EQ(lang("lang=en-abcdefghi"), kImprove);
    // Extensions and private use are well-formed; the language must be one ISO 639 knows.
    EXPECT_EQ(lang("lang=en-US-x-twain"), kGood);
    EXPECT_EQ(lang("lang=en-u-ca-gregory"), kGood);
    EXPECT_EQ(lang("lang=xx"), kImprove);
    EXPECT_EQ(lang("lang=zz-ZZ"), kImprove);
    EXPECT_EQ(RunCheck(CheckId::Language, "<body></body>").state, kImprove);
}

TEST(CharsetCheck, EachState) {
    const std::string utf8Text = "<p>Caf\xC3\xA9</p>";
    const std::string windowsText = "<p>Caf\xE9</p>";
    const auto charset = [](std::string_view head, const std::string& body) {
        return RunCheck(CheckId::Charset, "<html><head>" + std::string(head) + "</head><body>" +
                                              body + "</body></html>")
            .state;
    };
    EXPECT_EQ(charset("<meta charset=\"UTF-8\">", utf8Text), kGood);
    EXPECT_EQ(charset("<meta charset=utf-8>", "<p>ascii only</p>"), kGood);
    EXPECT_EQ(charset("<meta charset=windows-1252>", windowsText), kGood);
    EXPECT_EQ(
        charset("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">",
                windowsText),
        kGood);
    EXPECT_EQ(charset("", utf8Text), kImprove);
    EXPECT_EQ(charset("<meta charset=utf-8>", windowsText), kProblem);
    EXPECT_EQ(
        charset("<meta http-equiv=content-type content=\"text/html;charset=utf-8\">", windowsText),
        kProblem);
    EXPECT_EQ(charset("<meta charset=iso-8859-1>", utf8Text), kProblem);
    EXPECT_EQ(charset("<meta charset=us-ascii>", utf8Text), kProblem);
    EXPECT_EQ(charset("<meta charset=windows-1252>", "<p>ascii only</p>"), kGood);
}

TEST(ViewportCheck, EachState) {
    EXPECT_EQ(RunCheck(CheckId::Viewport,
                       Head("<meta name=viewport content=\"width=device-width, initial-scale=1\">"))
                  .state,
              kGood);
    EXPECT_EQ(
        RunCheck(CheckId::Viewport, Head("<meta name=viewport content=\"Initial-Scale=1\">")).state,
        kGood);
    EXPECT_EQ(RunCheck(CheckId::Viewport,
                       "<head></head><body><meta name=viewport content=\"width=device-width\">")
                  .state,
              kImprove);
    EXPECT_EQ(
        RunCheck(CheckId::Viewport, Head("<meta name=viewport content=\"min-width=300\">")).state,
        kImprove);
    EXPECT_EQ(RunCheck(CheckId::Viewport, Head("")).state, kImprove);
}

TEST(SocialCheck, EachStateNamesWhatIsMissing) {
    const std::string three =
        "<meta property=og:title content=T><meta property=og:description content=D>"
        "<meta name=og:image content=i.png>";
    EXPECT_EQ(RunCheck(CheckId::Social, Head(three)).state, kGood);
    const CheckResult missing =
        RunCheck(CheckId::Social, Head("<meta property=og:title content=T><meta property=og:image "
                                       "content=\"\"><meta name=twitter:card content=summary>"));
    EXPECT_EQ(missing.state, kImprove);
    EXPECT_NE(missing.message.find("og:description and og:image"), std::string::npos)
        << missing.message;
    EXPECT_EQ(*missing.Value("twitter:card"), CheckValue(true));
    EXPECT_EQ(*missing.Value("og:url"), CheckValue(false));
}

TEST(HreflangCheck, EachState) {
    const auto alternates = [](std::string_view links) {
        return RunCheck(CheckId::Hreflang, Head(links)).state;
    };
    EXPECT_EQ(alternates(""), kInfo);
    EXPECT_EQ(alternates("<link rel=alternate hreflang=en href=https://a/en>"), kGood);
    EXPECT_EQ(alternates("<link rel=alternate hreflang=en href=https://a/en><link rel=alternate "
                         "hreflang=de-AT href=https://a/de><link rel=alternate "
                         "hreflang=X-Default href=https://a/>"),
              kGood);
    EXPECT_EQ(alternates("<link rel=alternate hreflang=en href=https://a/en><link rel=alternate "
                         "hreflang=de href=https://a/de>"),
              kImprove);
    EXPECT_EQ(alternates("<link rel=alternate hreflang=english href=/en><link rel=alternate "
                         "hreflang=x-default href=/>"),
              kProblem);
    // Unknown languages and regions, and regions that are not two-letter codes.
    EXPECT_EQ(alternates("<link rel=alternate hreflang=xx href=https://a/xx>"), kProblem);
    EXPECT_EQ(alternates("<link rel=alternate hreflang=en-ZZ href=https://a/en>"), kProblem);
    EXPECT_EQ(alternates("<link rel=alternate hreflang=es-419 href=https://a/es>"), kProblem);
    EXPECT_EQ(alternates("<link rel=alternate hreflang=en-GB-x-oxford href=https://a/en>"), kGood);
    // Search engines need every alternate's full URL.
    const CheckResult relative =
        RunCheck(CheckId::Hreflang, Head("<link rel=alternate hreflang=en href=https://a/en><link "
                                         "rel=alternate hreflang=de href=/de><link rel=alternate "
                                         "hreflang=x-default href=https://a/>"));
    EXPECT_EQ(relative.state, kImprove);
    EXPECT_EQ(Text(relative, "relative"), "/de");
    EXPECT_EQ(RunCheck(CheckId::Hreflang, "<body><link rel=alternate hreflang=xx href=/x>").state,
              kInfo);
    // Without rel="alternate" a hreflang is no alternate.
    EXPECT_EQ(alternates("<link rel=stylesheet hreflang=english href=a.css>"), kInfo);
}

// What the head reader's text search lands on, for the title, the description and the keywords.
TEST(HeadAgreementCheck, EachPlaceTheTextSearchCanLand) {
    const std::string title = "<title>T</title>";
    const std::string description = "<meta name=\"description\" content=\"d\">";
    const std::string keywords = "<meta name=\"keywords\" content=\"k\">";
    struct Case {
        std::string page;
        CheckState state;
        std::vector<std::string> places;  // of the title, the description and the keywords
    };
    const Case cases[] = {
        {Head(title + description + keywords), kGood, {"same", "same", "same"}},
        {Head("<TITLE>T</TITLE><meta  name=\"Description\" content=d>"),
         kGood,
         {"same", "same", "none"}},
        {Head(""), kInfo, {"none", "none", "none"}},
        {"<!-- <title>Old</title> -->" + Head(title), kProblem, {"comment", "none", "none"}},
        {Head("<script>w('<title>x</title>')</script>" + title),
         kProblem,
         {"raw-text", "none", "none"}},
        {Head("<style>/* " + description + " */</style>" + description),
         kProblem,
         {"none", "raw-text", "none"}},
        {Head("<noscript>" + keywords + "</noscript>" + keywords),
         kProblem,
         {"none", "none", "raw-text"}},
        {Head("<link rel=x title='<title>'>" + title), kProblem, {"attribute", "none", "none"}},
        {"<body><svg><title>Icon</title></svg>" + title, kProblem, {"foreign", "none", "none"}},
        {Head("<template>" + title + "</template>"), kProblem, {"template", "none", "none"}},
        {Head("<title lang=en>T</title>" + title), kProblem, {"later", "none", "none"}},
        // A meta tag past a body-only start tag is in the body, where search engines ignore it.
        {"<head>" + title + "<div></div>" + description, kProblem, {"same", "body", "none"}},
        {Head(description) + "<body>" + description, kGood, {"none", "same", "none"}},
        // The page's own, written in a form the text search misses: an edit would add another.
        {Head("<title id=t>T</title><meta content=d name=\"description\">"),
         kInfo,
         {"unread", "unread", "none"}},
        {Head("<title id=t>T</title>") + "<!--" + description + "-->",
         kProblem,
         {"unread", "comment", "none"}},
    };
    for (const Case& c : cases) {
        const CheckResult result = RunCheck(CheckId::HeadAgreement, c.page);
        EXPECT_EQ(result.state, c.state) << c.page << "\n" << result.message;
        EXPECT_EQ((std::vector<std::string>{Text(result, "title"), Text(result, "description"),
                                            Text(result, "keywords")}),
                  c.places)
            << c.page;
    }
}

TEST(HeadAgreementCheck, NamesTheElementAndItsLine) {
    const CheckResult comment = RunCheck(CheckId::HeadAgreement,
                                         "<!doctype html>\n<!--\n<title>Draft</title>\n-->\n<html>"
                                         "<head>\n<title>Final</title>\n</head></html>");
    EXPECT_EQ(comment.message,
              "The review and the editor read the <title> in a comment on line 3, not the page's "
              "own on line 6. Edits would change that tag: remove it, or put the page's own in "
              "the head before it.");
    ASSERT_EQ(comment.listed.size(), 1u);
    EXPECT_EQ(comment.listed[0].position, (TextPosition{3, 1}));
    EXPECT_EQ(comment.listed[0].text, "<title> comment");

    const CheckResult body = RunCheck(
        CheckId::HeadAgreement,
        "<title>T</title><h1>x</h1>\r\n<script>m('<meta name=\"keywords\" content=\"a\">')</script>"
        "<meta name=\"description\" content=d>");
    EXPECT_EQ(body.message,
              "The review and the editor read the <meta name=\"description\"> in the body on line "
              "2, which search engines do not take for the page's description. The review and "
              "the editor read the <meta name=\"keywords\"> inside a <script> on line 2, which "
              "search engines do not take for the page's keywords. Edits would change those "
              "tags: remove them, or put the page's own in the head before them.");
    EXPECT_EQ(body.listed.size(), 2u);

    EXPECT_EQ(
        RunCheck(CheckId::HeadAgreement, Head("<meta content=d name=\"description\">")).message,
        "The review and the editor do not recognise the page's <meta name=\"description\"> "
        "on line 1, as their text search looks for \"<meta name=\"description\"\" written "
        "just so; an edit would add a second one.");
    EXPECT_EQ(RunCheck(CheckId::HeadAgreement, Head("<title>T</title>")).message,
              "The review and the editor read the page's own title.");
}

}  // namespace
}  // namespace velmora::page_checks::testing
