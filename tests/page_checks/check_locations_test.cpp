#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "page_checks/page_checks.h"
#include "page_checks/page_positions.h"
#include "tests/page_checks/check_test_support.h"

namespace velmora::page_checks::testing {
namespace {

// Where each check's element stands, "line:column", and its listed elements after it.
using Places = std::map<CheckId, std::vector<std::string>>;

std::string Place(const CheckedElement& element) {
    return std::to_string(element.position.line) + ":" + std::to_string(element.position.column);
}

Places PlacesOf(std::string_view page) {
    Places places;
    for (const CheckResult& check : RunPageChecks(page, "page.html", {}, Meter()).checks) {
        std::vector<std::string>& place = places[check.id];
        place.push_back(check.element ? Place(*check.element) : "-");
        for (const CheckedElement& element : check.listed) {
            place.push_back(Place(element));
        }
    }
    return places;
}

std::string WithBreaks(std::string_view lfPage, std::string_view lineBreak) {
    std::string page;
    for (const char c : lfPage) {
        page += c == '\n' ? std::string(lineBreak) : std::string(1, c);
    }
    return page;
}

// One element for every check that points at one; columns are counted by hand.
constexpr std::string_view kPage =
    "<!doctype html>\n"
    "<html lang=\"en\">\n"
    "<head>\n"
    "  <title>Short</title>\n"
    "  <meta name=\"description\" content=\"d\">\n"
    "  <meta name=\"robots\" content=\"noindex\">\n"
    "\t<link rel=\"canonical\" href=\"/relative\">\n"
    "<meta charset=\"utf-8\"><meta name=\"viewport\" content=\"x\">\n"
    "<link rel=\"alternate\" hreflang=\"not_a_tag\" href=\"/x\">\n"
    "<script type=\"application/ld+json\">{oops}</script>\n"
    "</head><body>\n"
    "<h1>A</h1><h3>Skipped</h3>\n"
    "<img src=\"a.png\"> <img src=\"b.png\" alt=\"\"><img src=\"c.png\">\n"
    "  <a href=\"/m\">more</a>\n"
    "</body></html>\n";

const Places kExpected = {
    {CheckId::Title, {"4:3"}},
    {CheckId::Description, {"5:3"}},
    {CheckId::Indexable, {"6:3"}},
    {CheckId::Canonical, {"7:2"}},
    {CheckId::Language, {"2:1"}},
    {CheckId::Charset, {"8:1"}},
    {CheckId::Viewport, {"8:23"}},
    {CheckId::Social, {"-"}},
    {CheckId::Hreflang, {"9:1"}},
    {CheckId::StructuredData, {"10:1"}},
    {CheckId::H1, {"12:1"}},
    {CheckId::Headings, {"-", "12:11"}},
    {CheckId::Images, {"-", "13:1", "13:43"}},
    {CheckId::Links, {"-", "14:3"}},
    {CheckId::Content, {"-"}},
    {CheckId::Keyphrase, {"-"}},
    {CheckId::HeadAgreement, {"-"}},
};

TEST(CheckLocations, EachElementInTheFilesOwnLines) {
    EXPECT_EQ(PlacesOf(kPage), kExpected);
    // The analysis holds pages with CR LF breaks; files may have any, or a mix.
    EXPECT_EQ(PlacesOf(WithBreaks(kPage, "\r\n")), kExpected);
    EXPECT_EQ(PlacesOf(WithBreaks(kPage, "\r")), kExpected);
    // The first line ends in CR, the second in LF, the rest in CR LF.
    const std::size_t firstBreak = kPage.find('\n');
    const std::size_t secondBreak = kPage.find('\n', firstBreak + 1);
    const std::string mixed = std::string(kPage.substr(0, firstBreak)) + "\r" +
                              std::string(kPage.substr(firstBreak + 1, secondBreak - firstBreak)) +
                              WithBreaks(kPage.substr(secondBreak + 1), "\r\n");
    EXPECT_EQ(PlacesOf(mixed), kExpected);
}

TEST(CheckLocations, ColumnsCountCharactersInEveryEncoding) {
    const std::string tail = "<img src=\"x.png\"></p>";
    const auto imageColumn = [](std::string_view page) {
        const CheckResult images = RunCheck(CheckId::Images, page);
        EXPECT_EQ(images.listed.size(), 1u);
        return images.listed.empty() ? TextPosition{0, 0} : images.listed.front().position;
    };
    // "é", "€" and "😀" take two, three and four bytes of UTF-8; one column each.
    EXPECT_EQ(imageColumn("<p>\n<p>\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80" + tail),
              (TextPosition{2, 7}));
    // The same characters in Windows-1252 bytes (no emoji there), and after a byte-order mark.
    EXPECT_EQ(imageColumn("<p>\n<p>\xE9\x80x" + tail), (TextPosition{2, 7}));
    EXPECT_EQ(imageColumn("\xEF\xBB\xBF<p>\xC3\xA9" + tail), (TextPosition{1, 5}));
    // Columns counted on along one line, after the mark and after a line of its own.
    const CheckResult images = RunCheck(CheckId::Images,
                                        "\xEF\xBB\xBF<img src=\"a\">\xC3\xA9<img src=\"b\">\n"
                                        "<img src=\"c\"><img src=\"d\">");
    std::vector<TextPosition> positions;
    for (const CheckedElement& element : images.listed) {
        positions.push_back(element.position);
    }
    EXPECT_EQ(positions, (std::vector<TextPosition>{{1, 1}, {1, 15}, {2, 1}, {2, 14}}));
}

TEST(CheckLocations, TagsThatAreNotTagsAreNotReported) {
    const std::string page =
        "<!-- <img src=\"comment.png\"> <title>No</title> -->\n"
        "<script>document.write('<img src=\"script.png\"><a href=\"/s\">here</a>');</script>\n"
        "<svg><title>Icon</title><a href=\"/svg\">more</a></svg>\n"
        "<title>Real title</title><img src=\"real.png\"><a href=\"/real\">here</a>\n";
    const Places places = PlacesOf(page);
    EXPECT_EQ(places.at(CheckId::Title), std::vector<std::string>{"4:1"});
    EXPECT_EQ(places.at(CheckId::Images), (std::vector<std::string>{"-", "4:26"}));
    EXPECT_EQ(places.at(CheckId::Links), (std::vector<std::string>{"-", "4:46"}));
    // The head reader's text search does land on the title in the comment: that one is named.
    EXPECT_EQ(places.at(CheckId::HeadAgreement), (std::vector<std::string>{"-", "1:30"}));
    EXPECT_EQ(RunCheck(CheckId::Images, page).listed.front().text, "real.png");
}

TEST(CheckLocations, TheElementToActOnWhenSeveralCompete) {
    // A second title, canonical URL or <h1> is the one to remove.
    const std::string page =
        "<title>One</title>\n<title>Two</title>\n"
        "<link rel=canonical href=https://a.example/>\n<link rel=canonical href=https://b/>\n"
        "<h1>First</h1>\n<h1>Second</h1>\n";
    const Places places = PlacesOf(page);
    EXPECT_EQ(places.at(CheckId::Title), std::vector<std::string>{"2:1"});
    EXPECT_EQ(places.at(CheckId::Canonical), std::vector<std::string>{"4:1"});
    EXPECT_EQ(places.at(CheckId::H1), std::vector<std::string>{"6:1"});
    EXPECT_EQ(RunCheck(CheckId::H1, page).element->text, "Second");
    // Without the element, nothing to point at; an <html> without lang is where lang goes.
    const Places bare = PlacesOf("<html>\n<p>x</p>");
    EXPECT_EQ(bare.at(CheckId::Title), std::vector<std::string>{"-"});
    EXPECT_EQ(bare.at(CheckId::Language), std::vector<std::string>{"1:1"});
    EXPECT_EQ(bare.at(CheckId::Charset), std::vector<std::string>{"-"});
}

TEST(CheckLocations, DuplicatesPointAtThePagesTitleAndDescription) {
    const PageCheckReport report = RunPageChecks(
        "\n<title>T</title>\n <meta name=description content=d>", "p.html", {}, Meter());
    ASSERT_TRUE(report.titleElement && report.descriptionElement);
    EXPECT_EQ(report.titleElement->position, (TextPosition{2, 1}));
    const std::vector<std::string> others = {"other.html"};
    const CheckResult duplicate =
        DuplicateCheck(CheckId::DuplicateDescription, others, report.descriptionElement);
    ASSERT_TRUE(duplicate.element);
    EXPECT_EQ(duplicate.element->position, (TextPosition{3, 2}));
}

// Counting on from the place before gives what the line index gives from scratch, for places
// asked in page order, on one line or the next, and for places asked again further back.
TEST(CheckLocations, PositionsCountedOnAgreeWithTheLineIndex) {
    // A first line long enough to be counted on past the byte-order mark, which takes no column.
    std::string page = "\xEF\xBB\xBF<p>caf\xC3\xA9 bread";
    const char* const pieces[] = {"a", "\xC3\xA9", "\xE2\x82\xAC", "\r\n", "\n", "\r", "<b>"};
    std::mt19937 random(7);
    for (int i = 0; i < 4000; ++i) {
        page += pieces[random() % std::size(pieces)];
    }
    const LineIndex index(page, LineIndex::Unit::Utf8CodePoints);
    PagePositions positions(page);
    for (std::size_t offset = 0; offset <= page.size() + 1; offset += 1 + random() % 9) {
        ASSERT_EQ(positions.At(offset), index.At(offset)) << offset;
        if (random() % 50 == 0) {
            const std::size_t back = offset / 2;
            ASSERT_EQ(positions.At(back), index.At(back)) << back;
        }
    }
}

}  // namespace
}  // namespace velmora::page_checks::testing
