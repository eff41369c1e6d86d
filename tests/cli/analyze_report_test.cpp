// velmora-cli analyze's two reports, run in process: every JSON field against the document,
// the rating's exact float, decoded and escaped text, and the readable report's summary.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "analysis/keyword_choice.h"
#include "cli/error_output.h"
#include "cli/progress_bar.h"
#include "core/html_functions_read.h"
#include "document/velmora_data.h"
#include "tests/cli/cli_test_fixture.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::CompletePage;
using test::HostingPage;
using test::Json;
using test::JsonLines;
using test::ReadBytes;
using test::RunResult;
using test::VelmoraCli;

TEST_F(VelmoraCli, JsonReportHasEveryFieldAndAgreesWithTheDocument) {
    const fs::path page = Page("hosting.htm", HostingPage());
    const RunResult run = Run({"analyze", "--json", "--defaults", page.string()});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<Json> lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), 1u);
    const Json& report = lines[0];

    std::vector<std::string> keys;
    for (const auto& item : report.items()) {
        keys.push_back(item.key());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"format",
                                              "file",
                                              "encoding",
                                              "title",
                                              "description",
                                              "keywords_text",
                                              "keywords",
                                              "keyword_count",
                                              "good_keywords",
                                              "bad_keywords",
                                              "optimal_order",
                                              "duplicate_keywords",
                                              "spammed_word",
                                              "line_break_in_description",
                                              "space_to_remove",
                                              "word_count",
                                              "rating",
                                              "rating_text",
                                              "advice",
                                              "findings",
                                              "keyword_details",
                                              "good_candidates",
                                              "auto_keywords",
                                              "checks",
                                              "checks_summary",
                                              "score",
                                              "role",
                                              "site",
                                              "suppressed",
                                              "baselined",
                                              "suppressions"}));
    // A page below no root has no path, and its links stay unresolved.
    EXPECT_EQ(report["site"]["path"], nullptr);
    EXPECT_EQ(report["site"]["noindex"], false);

    KelVelmoraOptions options;
    KelVelmoraData document;
    document.Load(page.string(), options);
    EXPECT_EQ(report["format"], 1);
    EXPECT_EQ(report["file"], page.string());
    EXPECT_EQ(report["encoding"], "windows-1252");
    EXPECT_EQ(report["title"], "Cheap web hosting");
    EXPECT_EQ(report["description"], "Web hosting\r\nwith a domain");
    EXPECT_EQ(report["keywords_text"], "domain, web hosting, Domain, web shop");
    EXPECT_EQ(report["keywords"], Json(document.GetKeywords()));
    EXPECT_EQ(report["keyword_count"], 4);
    EXPECT_EQ(report["good_keywords"], document.GetGoodKeywordCount());
    EXPECT_EQ(report["bad_keywords"], 1);
    EXPECT_EQ(report["optimal_order"], false);
    EXPECT_EQ(report["duplicate_keywords"], true);
    EXPECT_EQ(report["spammed_word"], "");
    EXPECT_EQ(report["line_break_in_description"], true);
    EXPECT_EQ(report["space_to_remove"], document.GetSpaceToRemove());
    EXPECT_GT(report["space_to_remove"], 0);
    EXPECT_EQ(report["word_count"], document.GetWordCount());
    EXPECT_EQ(report["rating"].get<float>(), document.GetCheckList().Rating);
    EXPECT_EQ(report["rating_text"], document.GetRatingText());
    EXPECT_EQ(report["advice"], Json(document.GetAdvice()));
    ASSERT_EQ(report["findings"].size(), document.GetAdvice().size());
    EXPECT_EQ(report["findings"][0]["id"], "review/line-break-in-description");
    EXPECT_EQ(report["findings"][0]["title"], document.GetFindings()[0].title);
    EXPECT_EQ(report["findings"][0]["advice"], document.GetAdvice()[0]);

    const Json& details = report["keyword_details"];
    ASSERT_EQ(details.size(), 4u);
    EXPECT_EQ(details[0], Json({{"keyword", "domain"},
                                {"occurrences", 3},
                                {"good", true},
                                {"duplicate", false},
                                {"score", 3 * 10 + 6}}));
    EXPECT_EQ(details[2]["duplicate"], true);
    EXPECT_EQ(details[3]["good"], false);
    EXPECT_EQ(details[1]["score"], 5 * 10 + 9 + 100);

    const PrimedKeywordChoice primed =
        PrimeKeywordChoice(document.GetKeywords(), document.GetWordCount(),
                           document.GetCandidateList(), GetTitle(document.GetHtml()), options);
    const Json& candidates = report["good_candidates"];
    ASSERT_EQ(candidates.size(), primed.GoodCandidates.size());
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        EXPECT_EQ(candidates[i]["text"], primed.GoodCandidates[i]);
        EXPECT_EQ(candidates[i]["is_keyword"], primed.GoodCandidates[i] == "domain" ||
                                                   primed.GoodCandidates[i] == "web hosting");
    }
    EXPECT_EQ(
        report["auto_keywords"],
        Json(AutoKeywords(document.GetKeywords(), document.GetWordCount(),
                          document.GetCandidateList(), GetTitle(document.GetHtml()), options)));
}

TEST_F(VelmoraCli, RatingReadsBackToTheSameFloatAndTextIsUtf8) {
    const fs::path oneBad = Page("one.htm", CompletePage("alpha", "alpha, beta, zz"));
    const fs::path twoBad = Page("two.htm", CompletePage("alpha", "alpha, beta, zz, yy"));
    const fs::path latin = Page("latin.htm", CompletePage("caf\xE9 \x80", "alpha"));
    const fs::path utf8 = Page("utf8.htm", CompletePage("caf\xC3\xA9", "alpha"));
    const RunResult run = Run({"analyze", "--json", "--defaults", oneBad.string(), twoBad.string(),
                               latin.string(), utf8.string()});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("\"rating\":90.25,"), std::string::npos);

    std::smatch rating;
    ASSERT_TRUE(
        std::regex_search(run.out, rating, std::regex("two\\.htm\"[^\\n]*?\"rating\":([^,]+),")));
    ASSERT_EQ(rating.size(), 2u);
    KelVelmoraData document;
    document.Load(twoBad.string(), KelVelmoraOptions());
    EXPECT_EQ(std::strtof(rating[1].str().c_str(), nullptr), document.GetCheckList().Rating);
    EXPECT_EQ(rating[1].str(), "85.7375");

    const std::vector<Json> lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2]["encoding"], "windows-1252");
    EXPECT_EQ(lines[2]["title"], "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(lines[3]["encoding"], "utf-8");
    EXPECT_EQ(lines[3]["title"], "caf\xC3\xA9");
}

// Every text taken from a Windows-1252 page reaches both reports as UTF-8, the advice line that
// quotes the spammed word included.
TEST_F(VelmoraCli, EveryTextOfAWindows1252PageIsDecoded) {
    const std::string brulee =
        "br\xFBl\xE9"
        "e";
    const std::string bruleeUtf8 =
        "br\xC3\xBBl\xC3\xA9"
        "e";
    const fs::path page =
        Page("latin.htm", "<html><head><title>Cr\xE8me " + brulee +
                              "</title><meta name=\"description\" content=\"Caf\xE9 " + brulee +
                              "\"><meta name=\"keywords\" content=\"cr\xE8me " + brulee + ", " +
                              brulee + " tart, " + brulee + " cake, " + brulee +
                              " pie\"></head><body>" + brulee + " tart, cr\xE8me " + brulee + ". " +
                              brulee + " tart and cr\xE8me " + brulee + ".</body></html>\r\n");
    const std::string advice =
        "Keyword \"" + bruleeUtf8 + "\" used too often, reduce usage (keyword spamming)";

    const RunResult json = Run({"analyze", "--json", "--defaults", page.string()});
    ASSERT_EQ(json.code, 0) << json.err;
    const Json report = JsonLines(json.out).at(0);
    EXPECT_EQ(report["encoding"], "windows-1252");
    EXPECT_EQ(report["spammed_word"], bruleeUtf8);
    EXPECT_EQ(report["advice"][1], advice);
    EXPECT_EQ(report["findings"][1]["advice"], advice);
    EXPECT_EQ(report["keyword_details"][1]["keyword"], bruleeUtf8 + " tart");
    EXPECT_FALSE(report["good_candidates"].empty());
    EXPECT_NE(json.out.find("\"text\":\"" + bruleeUtf8 + " tart\""), std::string::npos);
    // No text lost a byte to the replacement character on the way.
    EXPECT_EQ(json.out.find("\xEF\xBF\xBD"), std::string::npos) << json.out;

    const RunResult text = Run({"analyze", "--defaults", page.string()});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_NE(text.out.find("                   " + advice + "\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("Cr\xC3\xA8me " + bruleeUtf8), std::string::npos);
    EXPECT_EQ(text.out.find(brulee), std::string::npos);
}

TEST_F(VelmoraCli, ReadableReportWithSummary) {
    const fs::path good = Page("good.htm", CompletePage("alpha", "alpha, beta"));
    const fs::path bare = Page("bare.htm", "<html><body>nothing</body></html>");
    const RunResult run = Run({"analyze", "--defaults", good.string(), bare.string()});
    EXPECT_EQ(run.code, 0);
    // Each page leads with its verdict, then its page checks, then the keyword rating.
    const std::size_t goodAt = run.out.find(good.string() + "\n  Score: ");
    ASSERT_NE(goodAt, std::string::npos) << run.out;
    EXPECT_LT(run.out.find("  Page checks:", goodAt),
              run.out.find("  Keyword rating:  100%", goodAt));
    EXPECT_NE(run.out.find(bare.string() + "\n  Score: "), std::string::npos);
    EXPECT_NE(run.out.find("Add a description"), std::string::npos);
    EXPECT_NE(run.out.find("Summary: 2 pages analysed, average keyword rating 50.0%"),
              std::string::npos);
    EXPECT_NE(run.out.find("  Scores:\n"), std::string::npos);
    EXPECT_NE(run.out.find("  Lowest scoring:\n"), std::string::npos);
    EXPECT_NE(run.out.find("Lowest keyword rating:\n      0%  " + bare.string()),
              std::string::npos);
    EXPECT_EQ(run.out.find("On most pages:"), std::string::npos);
    EXPECT_EQ(run.err, "");  // no progress bar when standard error is not a terminal

    const RunResult shown = Run({"analyze", "--json", good.string(), bare.string()}, true);
    EXPECT_EQ(shown.code, 0);
    EXPECT_NE(shown.err.find("] 2/2 pages"), std::string::npos) << shown.err;
    EXPECT_EQ(JsonLines(shown.out).size(), 2u);
    EXPECT_EQ(Run({"analyze", "--json", good.string()}, true).err, "");
}

// The bar keeps its width whatever the count, stops at the total and names the pages in the
// right number; it wipes its line when it goes.
TEST(ProgressBar, WidthCountAndNumber) {
    const std::string empty(30, '.');
    const std::string full(30, '#');
    const struct {
        std::size_t done, total;
        std::string line;
    } cases[] = {
        {0, 1, "\r[" + empty + "] 0/1 page"},
        {1, 1, "\r[" + full + "] 1/1 page"},
        {1, 2, "\r[" + std::string(15, '#') + std::string(15, '.') + "] 1/2 pages"},
        {7, 3, "\r[" + full + "] 3/3 pages"},
        {1, 300, "\r[" + empty + "] 1/300 pages"},
    };
    for (const auto& [done, total, line] : cases) {
        std::string text;
        {
            cli::ErrorOutput err(text, true);
            cli::ProgressBar bar(err, total, true);
            bar.Update(done);
        }
        EXPECT_EQ(text, line + "\r\033[K") << done << "/" << total;
    }
}

TEST_F(VelmoraCli, ReadableReportVerdictsElementsAndTemplateWideFaults) {
    // A redirect stub has no score; its only check names the target.
    const fs::path stub = Page("old.html",
                               "<html><head><meta http-equiv=\"refresh\" content=\"0; "
                               "url=/new.html\"></head></html>\n");
    // LF line breaks, pure ASCII though it declares UTF-8, seven images without alt.
    std::string images;
    for (int i = 0; i < 7; ++i) {
        images += "<img src=\"p" + std::to_string(i) + ".png\">\n";
    }
    const fs::path plain = Page("plain.html",
                                "<html><head><meta charset=\"utf-8\"><title>Plain</title>\n"
                                "<meta name=\"description\" content=\"one\ntwo\"></head>\n<body>" +
                                    images + "</body></html>\n");
    const fs::path third = Page("third.html", "<html><body><p>x</p></body></html>\n");
    const fs::path fourth = Page("fourth.html", "<html><body><p>y</p></body></html>\n");
    // CR LF line breaks and a character beyond ASCII.
    const fs::path crlf =
        Page("crlf.html",
             "<html><head><meta charset=\"utf-8\"><title>Caf\xC3\xA9</title>\r\n"
             "<meta name=\"description\" content=\"one\r\ntwo\"></head></html>\r\n");
    const RunResult run = Run(
        {"analyze", "--defaults", stub.string(), plain.string(), third.string(), fourth.string()});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::size_t plainAt = run.out.find(plain.string() + "\n");
    ASSERT_NE(plainAt, std::string::npos);
    EXPECT_EQ(run.out.substr(0, plainAt),
              stub.string() +
                  "\n"
                  "  no score · redirect to /new.html\n"
                  "  Page checks:     0 problem, 0 improve, 0 good, 1 info\n"
                  "    info    indexable: Redirects to /new.html.\n"
                  "  Keyword rating:    0%\n"
                  "  Encoding:        us-ascii\n"
                  "  Title:           (none)\n"
                  "  Description:     (none)\n"
                  "  Keywords:        (none)\n"
                  "  Words:           0\n"
                  "  Removable space: 0 bytes\n"
                  "  Advice:          Add a title\n"
                  "                   Add a description\n"
                  "                   Add some keywords or phrases.\n"
                  "  Good candidates: 0\n"
                  "  Auto keywords:   (none)\n"
                  "\n");
    const std::string page = run.out.substr(plainAt, run.out.find(third.string()) - plainAt);
    EXPECT_TRUE(page.starts_with(plain.string() + "\n  Score: 57 · page\n  Page checks:")) << page;
    EXPECT_NE(page.find("    improve images: 7 of 7 images have no alt attribute; describe each, "
                        "or use alt=\"\" for decoration.\n"
                        "            line 4: p0.png\n"),
              std::string::npos);
    EXPECT_NE(page.find("            line 8: p4.png\n            and 2 more\n"), std::string::npos);
    EXPECT_EQ(page.find("p5.png"), std::string::npos);
    // The review section: a pure-ASCII page is us-ascii, the page's own LF shows in its
    // description, and our own counts are singular where they are one.
    EXPECT_NE(page.find("  Keyword rating:   53%\n  Encoding:        us-ascii\n"),
              std::string::npos);
    EXPECT_NE(page.find("  Description:     one\\ntwo\n"), std::string::npos);
    EXPECT_NE(page.find("  Removable space: 1 byte\n"), std::string::npos);
    EXPECT_NE(page.find("File contains 1 bytes of unnecessary space."), std::string::npos);
    EXPECT_NE(run.out.find("content: The page has only 1 word of text;"), std::string::npos);

    // The redirect is neither scored nor counted among the pages the template faults are
    // held against; the histogram shows it apart.
    const std::size_t summaryAt = run.out.find("Summary: 4 pages analysed");
    ASSERT_NE(summaryAt, std::string::npos) << run.out;
    const std::string summary = run.out.substr(summaryAt);
    EXPECT_TRUE(
        summary.starts_with("Summary: 4 pages analysed, average keyword rating 13.4%\n"
                            "  Scores:\n"
                            "     90–100 0\n"
                            "     80–89  0\n"
                            "     70–79  0\n"
                            "     60–69  0\n"
                            "     50–59  #################### 1\n"
                            "     40–49  0\n"
                            "     30–39  ######################################## 2\n"
                            "     20–29  0\n"
                            "     10–19  0\n"
                            "      0–9   0\n"
                            "    no score 1 (redirects and pages not indexed)\n"
                            "  On most pages:\n"
                            "    content: problem on 3 of 3 pages: likely the template; "
                            "fix it once\n"))
        << summary;
    EXPECT_NE(summary.find("    og:image missing on 3 of 3 pages: likely the template; fix it "
                           "once\n"),
              std::string::npos);
    // Most pages first: two of three follow every fault of all three.
    EXPECT_LT(summary.find("viewport: improve on 3 of 3"),
              summary.find("title: problem on 2 of 3"));
    EXPECT_EQ(summary.find("images: improve"), std::string::npos);  // one page of three
    // Only indexable pages are among the lowest scoring, lowest first, ties in run order.
    EXPECT_NE(summary.find("  Lowest scoring:\n"
                           "     39  " +
                           third.string() + "\n     39  " + fourth.string() + "\n     57  " +
                           plain.string() + "\n  Lowest keyword rating:\n      0%  " +
                           stub.string() + "\n"),
              std::string::npos)
        << summary;

    // --min-level keeps the verdict and leaves out the lesser check lines; --quiet keeps only
    // the problems and the summary.
    const RunResult problems =
        Run({"analyze", "--defaults", "--min-level", "problem", plain.string()});
    EXPECT_NE(problems.out.find(plain.string() +
                                "\n  Score: 57 · page\n"
                                "  Page checks:     2 problem, 6 improve, 3 good, 6 info\n"
                                "    problem h1: "),
              std::string::npos)
        << problems.out;
    const RunResult quiet = Run({"analyze", "--defaults", "--quiet", plain.string()});
    EXPECT_TRUE(quiet.out.starts_with(plain.string() + "\n    problem h1: ")) << quiet.out;
    EXPECT_NE(quiet.out.find("\nSummary: 1 page analysed"), std::string::npos);

    // A CR LF page shows its own line break, and a page beyond ASCII its encoding.
    const RunResult own = Run({"analyze", "--defaults", crlf.string()});
    EXPECT_NE(own.out.find("  Encoding:        utf-8\n"), std::string::npos) << own.out;
    EXPECT_NE(own.out.find("  Description:     one\\r\\ntwo\n"), std::string::npos);
    EXPECT_EQ(own.out.find("Summary:"), std::string::npos);

    // JSON keeps its contract: the encoding as read, the description as held, every element.
    const RunResult json = Run({"analyze", "--defaults", "--json", plain.string()});
    const std::vector<Json> lines = JsonLines(json.out);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["encoding"], "windows-1252");
    EXPECT_EQ(lines[0]["description"], "one\r\ntwo");
    bool listed = false;
    for (const Json& check : lines[0]["checks"]) {
        if (check["id"] == "images") {
            EXPECT_EQ(check["elements"].size(), 7u);
            EXPECT_EQ(check["elements"][6]["text"], "p6.png");
            listed = true;
        }
    }
    EXPECT_TRUE(listed);
}

// Control characters from pages and file names are shown as escapes: none reaches the terminal
// and no text starts a line of its own.
TEST_F(VelmoraCli, ReadableReportEscapesControlCharacters) {
    const fs::path latin =
        Page("odd\nname\x1B[2J.htm",
             "<html><head><title>T\x1B]0;owned\x07 \x81 end</title><meta name=\"description\" "
             "content=\"a\x7F b\x1B[8m\"><meta name=\"keywords\" content=\"alpha\x1B[31m, beta\x7F"
             "\"></head><body>alpha alpha</body></html>\r\n");
    const fs::path utf8 = Page("utf8.htm", CompletePage("caf\xC3\xA9 \xC2\x9B"
                                                        "1m",
                                                        "alpha \xC2\x85 x, beta"));
    const RunResult run = Run({"analyze", "--defaults", latin.string(), utf8.string()});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string escapedName = (root_ / "odd\\nname\\x1b[2J.htm").string();
    EXPECT_NE(run.out.find(escapedName + "\n  Score:"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  " + escapedName + "\n"), std::string::npos);  // in the summary
    EXPECT_NE(run.out.find("Title:           T\\x1b]0;owned\\x07 \\u0081 end\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("Description:     a\\x7f b\\x1b[8m\n"), std::string::npos);
    EXPECT_NE(run.out.find("Keywords:        alpha\\x1b[31m, beta\\x7f ("), std::string::npos);
    EXPECT_NE(run.out.find("    alpha\\x1b[31m: "), std::string::npos);
    EXPECT_NE(run.out.find("Title:           caf\xC3\xA9 \\u009b1m\n"), std::string::npos);
    EXPECT_NE(run.out.find("alpha \\u0085 x, beta"), std::string::npos);
    for (std::size_t i = 0; i < run.out.size(); ++i) {
        const auto c = static_cast<unsigned char>(run.out[i]);
        EXPECT_TRUE((c >= 0x20 && c != 0x7F) || c == '\n') << "byte " << i << ": " << int{c};
        if (c == 0xC2 && i + 1 < run.out.size()) {
            EXPECT_GE(static_cast<unsigned char>(run.out[i + 1]), 0xA0) << "C1 control at " << i;
        }
    }

    // A problem line names the file in one line too.
    const RunResult missing = Run({"analyze", (root_ / "gone\n.htm").string()});
    EXPECT_EQ(missing.code, 3);
    EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1) << missing.err;
    EXPECT_NE(missing.err.find("gone\\n.htm: No such file or directory"), std::string::npos);
}

}  // namespace
}  // namespace velmora
