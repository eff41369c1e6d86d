#include "page_checks/body_checks.h"

#include <gtest/gtest.h>

#include "tests/page_checks/check_test_support.h"

namespace velmora::page_checks::testing {
namespace {

constexpr CheckState kGood = CheckState::Good;
constexpr CheckState kImprove = CheckState::Improve;
constexpr CheckState kProblem = CheckState::Problem;
constexpr CheckState kInfo = CheckState::Info;

std::string Body(std::string_view body) {
    return "<html><head><title>T</title></head><body>" + std::string(body) + "</body></html>";
}

std::string Words(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += "word ";
    }
    return text;
}

TEST(H1Check, EachState) {
    EXPECT_EQ(RunCheck(CheckId::H1, Body("<h1>Main</h1><h2>Sub</h2>")).state, kGood);
    EXPECT_EQ(RunCheck(CheckId::H1, Body("<h1>Main</h1><h1>Other</h1>")).state, kImprove);
    EXPECT_EQ(RunCheck(CheckId::H1, Body("<h1>Main</h1><h1> </h1>")).state, kImprove);
    EXPECT_EQ(RunCheck(CheckId::H1, Body("<h2>Sub</h2>")).state, kProblem);
    EXPECT_EQ(RunCheck(CheckId::H1, Body("<h1> <span></span> </h1>")).state, kProblem);
    EXPECT_EQ(RunCheck(CheckId::H1, Body("<h1></h1><h1>&nbsp;</h1>")).state, kProblem);
}

TEST(H1Check, ImageAltIsTextAndForeignHeadingsDoNotCount) {
    EXPECT_EQ(
        RunCheck(CheckId::H1, Body("<h1><img src=logo.png alt=\"Corner Bakery\"></h1>")).state,
        kGood);
    EXPECT_EQ(RunCheck(CheckId::H1, Body("<h1><img src=logo.png></h1>")).state, kProblem);
    const CheckResult one = RunCheck(
        CheckId::H1, Body("<h1>Main</h1><!-- <h1>old</h1> --><script>s = '<h1>x</h1>'</script>"
                          "<svg><foreignObject><h1>no</h1></foreignObject></svg>"
                          "<template><h1>t</h1></template>"
                          "<noscript><h1>n</h1></noscript><textarea><h1>x</h1></textarea>"));
    EXPECT_EQ(one.state, kGood);
    EXPECT_EQ(Number(one, "count"), 1);
}

TEST(HeadingsCheck, EachState) {
    EXPECT_EQ(RunCheck(CheckId::Headings, Body("<p>no headings</p>")).state, kInfo);
    EXPECT_EQ(
        RunCheck(CheckId::Headings,
                 Body("<h1>a</h1><h2>b</h2><h3>c</h3><h2>d</h2><h3>e</h3><h4>f</h4><h1>g</h1>"))
            .state,
        kGood);
    EXPECT_EQ(RunCheck(CheckId::Headings, Body("<h3>starts low</h3><h4>then</h4>")).state, kGood);
    const CheckResult skipped =
        RunCheck(CheckId::Headings, Body("<h1>a</h1><h2>b</h2><h4>Deep <b>part</b></h4>"));
    EXPECT_EQ(skipped.state, kImprove);
    EXPECT_NE(skipped.message.find("h2 to h4 \"Deep part\""), std::string::npos) << skipped.message;
}

TEST(HeadingsCheck, ListsTheFirstFiveSkips) {
    std::string body;
    for (int i = 0; i < 7; ++i) {
        body += "<h1>a</h1><h3>skip " + std::to_string(i) + "</h3>";
    }
    const CheckResult result = RunCheck(CheckId::Headings, Body(body));
    EXPECT_EQ(Number(result, "skips"), 7);
    const auto& listed = std::get<CheckValue::List>(result.Value("first")->value);
    ASSERT_EQ(listed.size(), 5u);
    const auto& first = std::get<CheckValue::Object>(listed.front().value);
    EXPECT_EQ(first[0].value, CheckValue("h1"));
    EXPECT_EQ(first[1].value, CheckValue("h3"));
    EXPECT_EQ(first[2].value, CheckValue("skip 0"));
    // The elements are every skip.
    ASSERT_EQ(result.listed.size(), 7u);
    EXPECT_EQ(result.listed.back().text, "skip 6");
}

TEST(ImagesCheck, EachState) {
    EXPECT_EQ(RunCheck(CheckId::Images, Body("<p>none</p>")).state, kInfo);
    EXPECT_EQ(
        RunCheck(CheckId::Images, Body("<img src=a.png alt=\"A cake\"><img src=b.png alt>")).state,
        kGood);
    std::string body;
    for (int i = 0; i < 7; ++i) {
        body += "<img src=\"p" + std::to_string(i) + ".png\">";
    }
    const CheckResult missing = RunCheck(CheckId::Images, Body(body + "<img src=ok.png alt=\"\">"));
    EXPECT_EQ(missing.state, kImprove);
    EXPECT_EQ(Number(missing, "count"), 8);
    EXPECT_EQ(Number(missing, "missing"), 7);
    EXPECT_EQ(Number(missing, "decorative"), 1);
    EXPECT_EQ(
        missing.message,
        "7 of 8 images have no alt attribute; describe each, or use alt=\"\" for decoration.");
    const auto& sources = std::get<CheckValue::List>(missing.Value("first")->value);
    ASSERT_EQ(sources.size(), 5u);
    EXPECT_EQ(sources.front(), CheckValue("p0.png"));
    // Every image without alt is listed, not only the first five.
    ASSERT_EQ(missing.listed.size(), 7u);
    EXPECT_EQ(missing.listed.back().text, "p6.png");
    const CheckResult decorative =
        RunCheck(CheckId::Images, Body("<img src=a.png alt=\" \"><img src=b.png alt=Cake>"));
    EXPECT_EQ(decorative.state, kGood);
    EXPECT_EQ(Number(decorative, "decorative"), 1);
    EXPECT_EQ(RunCheck(CheckId::Images, Body("<img src=a.png>")).message,
              "1 of 1 image has no alt attribute; describe each, or use alt=\"\" for decoration.");
    // An SVG <image> is not an <img> of the page; an HTML <image> is read as <img>.
    EXPECT_EQ(RunCheck(CheckId::Images, Body("<svg><image href=x /></svg>")).state, kInfo);
    EXPECT_EQ(RunCheck(CheckId::Images, Body("<image src=x>")).state, kImprove);
}

TEST(LinksCheck, EachState) {
    EXPECT_EQ(RunCheck(CheckId::Links, Body("<a name=top>anchor</a>")).state, kInfo);
    EXPECT_EQ(RunCheck(CheckId::Links, Body("<a href=/bread>Our sourdough bread</a>")).state,
              kGood);
    const CheckResult generic = RunCheck(
        CheckId::Links, Body("<a href=/a> Click\n  HERE </a><a href=/b><b>Read</b> more</a>"
                             "<a href=/c><img src=m.png alt=\"More\"></a><a href=/d>Prices</a>"));
    EXPECT_EQ(generic.state, kImprove);
    EXPECT_EQ(Number(generic, "count"), 4);
    EXPECT_EQ(Number(generic, "generic"), 3);
}

TEST(LinksCheck, TheVisibleNameIsJudged) {
    // Search engines read the text, else an image's alt; an aria-label does not change that.
    EXPECT_EQ(
        RunCheck(CheckId::Links, Body("<a href=/p aria-label=\"Bread prices\">more</a>")).state,
        kImprove);
    EXPECT_EQ(
        RunCheck(CheckId::Links, Body("<a href=/p aria-label=\"Learn more\">Bread</a>")).state,
        kGood);
    EXPECT_EQ(RunCheck(CheckId::Links, Body("<a href=/p>Bread <img src=x alt=here></a>")).state,
              kGood);
    EXPECT_EQ(RunCheck(CheckId::Links, Body("<a href=/p>more information</a>")).state, kImprove);
    EXPECT_EQ(RunCheck(CheckId::Links, Body("<a href=/p>more informations</a>")).state, kGood);
    EXPECT_EQ(RunCheck(CheckId::Links, Body("<svg><a href=/x>here</a></svg>")).state, kInfo);
}

TEST(LinksCheck, GenericNames) {
    const auto state = [](std::string_view link) {
        return RunCheck(CheckId::Links, Body(link)).state;
    };
    // Trailing punctuation and symbols do not hide a generic name.
    EXPECT_EQ(state("<a href=/a>Read more…</a>"), kImprove);
    EXPECT_EQ(state("<a href=/a>More &gt;</a>"), kImprove);
    EXPECT_EQ(state("<a href=/a>Learn more »</a>"), kImprove);
    EXPECT_EQ(state("<a href=/a>Start →</a>"), kImprove);
    EXPECT_EQ(state("<a href=/a>Here!</a>"), kImprove);
    EXPECT_EQ(state("<a href=/a>More: prices</a>"), kGood);
    // Other languages.
    EXPECT_EQ(state("<a href=/a>Más información</a>"), kImprove);
    EXPECT_EQ(state("<a href=/a>Saiba mais</a>"), kImprove);
    EXPECT_EQ(state("<a href=/a>Läs mer</a>"), kImprove);
    EXPECT_EQ(state("<a href=/a>자세히 보기</a>"), kImprove);
    // Mail, phone, script, same-page and nofollow links are not judged for their text.
    EXPECT_EQ(state("<a href=\"mailto:a@b.c\">here</a>"), kGood);
    EXPECT_EQ(state("<a href=\"TEL:123\">here</a>"), kGood);
    EXPECT_EQ(state("<a href=\"#top\">more</a>"), kGood);
    EXPECT_EQ(state("<a href=/a rel=\"external NoFollow\">more</a>"), kGood);
}

TEST(LinksCheck, EmptyAndUncrawlableLinksAreCountedPerKind) {
    const CheckResult links =
        RunCheck(CheckId::Links,
                 Body("<a href=/a><svg><title>Home</title></svg></a><a href=/b><img src=i.png></a>"
                      "<a href=/c aria-label=\"Cart\"><i class=icon></i></a>"
                      "<a onclick=\"go()\">Prices</a><a href=\" JavaScript:void(0)\">more</a>"
                      "<a>no link</a><a href=/d>here</a>"));
    EXPECT_EQ(links.state, kImprove);
    EXPECT_EQ(Number(links, "count"), 6);
    EXPECT_EQ(Number(links, "generic"), 1);
    EXPECT_EQ(Number(links, "empty"), 2);
    EXPECT_EQ(Number(links, "uncrawlable"), 2);
    EXPECT_EQ(links.listed.size(), 5u);
    EXPECT_EQ(links.message,
              "1 link says nothing about its target (such as \"click here\"), 2 links have no "
              "name and 2 links have no address crawlers can follow; name what each link leads "
              "to, in visible text, and give it an href.");
}

TEST(ContentCheck, EachStateCountsWordsOfTheText) {
    EXPECT_EQ(RunCheck(CheckId::Content, Body(Words(300))).state, kGood);
    EXPECT_EQ(RunCheck(CheckId::Content, Body(Words(299))).state, kImprove);
    EXPECT_EQ(RunCheck(CheckId::Content, Body(Words(100))).state, kImprove);
    EXPECT_EQ(RunCheck(CheckId::Content, Body(Words(99))).state, kProblem);
    EXPECT_EQ(RunCheck(CheckId::Content, Body(Words(1))).message,
              "The page has only 1 word of text; write at least 100, better 300.");
    // Words are runs of letters and digits in any script; tags between blocks part them.
    const CheckResult counted =
        RunCheck(CheckId::Content,
                 Body("<p>Ωμέγα 42 don't</p><p>word</p><b>W</b>ord "
                      "<script>a b c</script><style>p q</style><noscript>n m</noscript><!-- c d -->"
                      "<svg><text>s t</text></svg><template>x y</template>"));
    EXPECT_EQ(Number(counted, "words"), 6);
}

TEST(KeyphraseCheck, EachState) {
    const std::string everywhere =
        "<html><head><title>Sourdough bread in town</title>"
        "<meta name=description content=\"Fresh sourdough bread daily.\">"
        "<meta name=keywords content=\" , Sourdough Bread, cakes\"></head>"
        "<body><h1>Sourdough bread</h1><p>Our sourdough bread is baked daily.</p></body></html>";
    EXPECT_EQ(RunCheck(CheckId::Keyphrase, everywhere, {}, "site/sourdough-bread.html").state,
              kGood);
    const CheckResult fileName = RunCheck(CheckId::Keyphrase, everywhere, {}, "index.html");
    EXPECT_EQ(fileName.state, kImprove);
    EXPECT_NE(fileName.message.find("file name"), std::string::npos);
    EXPECT_EQ(Text(fileName, "keyphrase"), "Sourdough Bread");

    PageCheckOptions focus;
    focus.FocusKeyphrase = "rye loaf";
    EXPECT_EQ(RunCheck(CheckId::Keyphrase, everywhere, focus).state, kProblem);
    focus.FocusKeyphrase = "baked daily";
    const CheckResult inText = RunCheck(CheckId::Keyphrase, everywhere, focus);
    EXPECT_EQ(inText.state, kProblem);
    EXPECT_EQ(Text(inText, "source"), "focus");

    EXPECT_EQ(RunCheck(CheckId::Keyphrase, Body("<h1>x</h1>")).state, kInfo);
}

TEST(KeyphraseCheck, WordsMatchInOrderIgnoringCaseAndPunctuation) {
    PageCheckOptions options;
    options.FocusKeyphrase = "ÉTÉ café";
    const auto state = [&](std::string_view title) {
        return RunCheck(CheckId::Keyphrase,
                        "<title>" + std::string(title) + "</title><h1>été café</h1>", options,
                        "ete-cafe.html")
            .state;
    };
    EXPECT_NE(state("Un été, café!"), kProblem);
    EXPECT_NE(state("Été — café"), kProblem);
    // Words out of order, a symbol between them, or a longer word are no match; the <h1>
    // still has it, so the keyphrase is only missing.
    EXPECT_EQ(state("café été"), kImprove);
    EXPECT_EQ(state("été + café"), kImprove);
    EXPECT_EQ(state("étés cafés"), kImprove);

    // The file name's base splits at "-", "_" and ".".
    options.FocusKeyphrase = "rye bread";
    const std::string page =
        "<title>Rye bread</title><meta name=description content=\"rye bread\"><h1>Rye bread</h1>"
        "<p>rye bread</p>";
    EXPECT_EQ(RunCheck(CheckId::Keyphrase, page, options, "/x/rye_bread.v2.html").state, kGood);
    EXPECT_EQ(RunCheck(CheckId::Keyphrase, page, options, "/rye/bread.html").state, kImprove);
}

TEST(KeyphraseCheck, OnlyTheFirstHundredWordsCount) {
    PageCheckOptions options;
    options.FocusKeyphrase = "rye";
    const std::string head = "<title>rye</title><meta name=description content=rye>";
    EXPECT_EQ(RunCheck(CheckId::Keyphrase, head + "<p>" + Words(99) + "rye</p><h1>rye</h1>",
                       options, "rye.html")
                  .state,
              kGood);
    const CheckResult late = RunCheck(
        CheckId::Keyphrase, head + "<p>" + Words(100) + "rye</p><h1>rye</h1>", options, "rye.html");
    EXPECT_EQ(late.state, kImprove);
    EXPECT_NE(late.message.find("first 100 words"), std::string::npos);
}

TEST(StructuredDataCheck, EachState) {
    const auto data = [](std::string_view json) {
        return RunCheck(CheckId::StructuredData, Body("<script type=\"application/ld+json\">" +
                                                      std::string(json) + "</script>"));
    };
    EXPECT_EQ(RunCheck(CheckId::StructuredData, Body("<p>x</p>")).state, kInfo);
    EXPECT_EQ(data(R"({"@context": "https://schema.org", "@type": "Bakery"})").state, kGood);
    EXPECT_EQ(
        data(R"({"@context": "https://schema.org", "@graph": [{"@type": "A"}, {"@type": "B"}]})")
            .state,
        kGood);
    EXPECT_EQ(data(R"([{"@context": "x", "@type": "A"}])").state, kGood);
    EXPECT_EQ(data(R"({"@context": "https://schema.org", "name": "x"})").state, kImprove);
    const CheckResult contextless = data(R"({"@type": "Bakery"})");
    EXPECT_EQ(contextless.state, kImprove);
    EXPECT_EQ(contextless.message,
              "The structured data block lacks \"@context\" or \"@type\"; add both.");
    const std::string complete = R"({"@context": "x", "@type": "A"})";
    for (const auto& [blocks, message] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{complete, R"({"@type": "A"})"}, "1 of 2 structured data blocks lack"},
             {{"{}", complete, "[]"}, "2 of 3 structured data blocks lack"},
         }) {
        std::string scripts;
        for (const std::string& block : blocks) {
            scripts += "<script type=application/ld+json>" + block + "</script>";
        }
        const CheckResult several = RunCheck(CheckId::StructuredData, Body(scripts));
        EXPECT_EQ(several.state, kImprove);
        EXPECT_EQ(several.message, message + " \"@context\" or \"@type\"; add both.");
    }
    EXPECT_EQ(data(R"({"@context": "x", "@graph": [{"@type": "A"}, {"name": "B"}]})").state,
              kImprove);

    const CheckResult nan = data(R"({"@context": "x", "@type": "A", "n": NaN})");
    EXPECT_EQ(nan.state, kProblem);
    EXPECT_NE(nan.message.find("parse error at line 1, column"), std::string::npos) << nan.message;
    EXPECT_EQ(Number(nan, "position"), 38);  // the "N", counted from 1
    EXPECT_EQ(data(R"({"@context": "x", "@type": "A",})").state, kProblem);
    EXPECT_EQ(data(R"({"@context": "x", /* note */ "@type": "A"})").state, kProblem);
    EXPECT_EQ(data("").state, kProblem);
    // Character references are not decoded in scripts: this is not JSON.
    EXPECT_EQ(data(R"({&quot;@context&quot;: 1})").state, kProblem);
}

TEST(StructuredDataCheck, DeepNestingIsBoundedNotParsed) {
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    const CheckResult result = RunCheck(
        CheckId::StructuredData, Body("<script type=application/ld+json>" + deep + "</script>"));
    EXPECT_EQ(result.state, kProblem);
    EXPECT_NE(result.message.find("nested more than"), std::string::npos);
    // Brackets inside strings are no nesting.
    const std::string inString =
        R"({"@context": "x", "@type": "A", "s": ")" + std::string(1000, '[') + "\\\"\"}";
    EXPECT_EQ(RunCheck(CheckId::StructuredData,
                       Body("<script type=application/ld+json>" + inString + "</script>"))
                  .state,
              kGood);
}

}  // namespace
}  // namespace velmora::page_checks::testing
