// velmora-cli duplicates: the second pass over merged JSON Lines finds what the duplicate
// checks of one run over all the pages find.

#include <set>

#include "tests/cli/cli_test_fixture.h"

namespace velmora::test {
namespace {

using Duplicates = VelmoraCli;

std::string PageWith(const std::string& title, const std::string& description) {
    return "<html><head><title>" + title + "</title><meta name=\"description\" content=\"" +
           description + "\"></head><body><p>text</p></body></html>\n";
}

// The files the duplicate-title check of a one-run analysis names for a page.
std::set<std::string> NamedByCheck(const Json& page, const std::string& id) {
    std::set<std::string> files;
    for (const Json& check : page["checks"]) {
        if (check["id"] == id) {
            for (const Json& file : check["values"]["files"]) {
                files.insert(file.get<std::string>());
            }
        }
    }
    return files;
}

TEST_F(Duplicates, MergedRunsGiveTheGroupsOfOneRun) {
    const std::string a = Page("a.html", PageWith("Fresh  Bread", "Baked daily")).string();
    const std::string b = Page("b.html", PageWith("Cakes", "Baked daily")).string();
    const std::string c = Page("c.html", PageWith("fresh bread", "Other")).string();
    const std::string d = Page("d.html", PageWith("Pies", "Also other")).string();
    // Empty descriptions are missing, not shared; a redirect stub is meant to look like its
    // target.
    const std::string e = Page("e.html", PageWith("Tarts", "")).string();
    const std::string f = Page("f.html", PageWith("Buns", "  ")).string();
    const std::string moved = Page("moved.html",
                                   "<html><head><title>Cakes</title><meta http-equiv=\"refresh\" "
                                   "content=\"0; url=b.html\"><meta name=\"description\" "
                                   "content=\"Baked daily\"></head></html>\n")
                                  .string();
    // Two runs, as two machines would make them: no page of one sees the other's.
    const RunResult first = Run({"analyze", "--json", "--defaults", a, b, e});
    const RunResult second = Run({"analyze", "--json", "--defaults", c, d, f, moved});
    ASSERT_EQ(first.code, 0) << first.err;
    ASSERT_EQ(second.code, 0) << second.err;
    const auto one = Page("one.jsonl", first.out);
    const auto two = Page("two.jsonl", second.out);

    const RunResult merged = Run({"duplicates", one.string(), two.string()});
    EXPECT_EQ(merged.code, 0) << merged.err;
    // The check's own text, white space collapsed, stands for the group.
    EXPECT_EQ(merged.out, "Same title in 2 pages: \"Fresh Bread\"\n  " + a + "\n  " + c +
                              "\nSame description in 2 pages: \"Baked daily\"\n  " + a + "\n  " +
                              b + "\n");
    EXPECT_EQ(merged.err, "velmora-cli: 7 pages read; 1 group shares a title, 1 a description\n");

    // One run over all the pages names the same pages.
    const std::vector<Json> all =
        JsonLines(Run({"analyze", "--json", "--defaults", a, b, c, d, e, f, moved}).out);
    ASSERT_EQ(all.size(), 7u);
    EXPECT_EQ(NamedByCheck(all[0], "duplicate-title"), (std::set<std::string>{c}));
    EXPECT_EQ(NamedByCheck(all[0], "duplicate-description"), (std::set<std::string>{b}));
    EXPECT_EQ(NamedByCheck(all[4], "duplicate-description"), (std::set<std::string>{}));

    // A run of one page and no group says so in the singular too.
    const RunResult single =
        Run({"duplicates",
             Page("single.jsonl", first.out.substr(0, first.out.find('\n') + 1)).string()});
    EXPECT_EQ(single.err, "velmora-cli: 1 page read; 0 groups share a title, 0 a description\n");
}

TEST_F(Duplicates, BadLinesAndFilesAreNamedAndTheRestCompared) {
    const std::string a = Page("a.html", PageWith("Same", "x")).string();
    const std::string b = Page("b.html", PageWith("same", "y")).string();
    const std::string lines = Run({"analyze", "--json", "--defaults", a, b}).out;
    const auto broken = Page("broken.jsonl", "{\"file\": 1}\n" + lines + "not json\n\n");
    const RunResult run = Run({"duplicates", broken.string(), (root_ / "missing.jsonl").string()});
    EXPECT_EQ(run.code, 3);
    EXPECT_NE(run.out.find("Same title in 2 pages"), std::string::npos);
    EXPECT_NE(run.err.find(broken.string() + ":1: not a page"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(broken.string() + ":4: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("missing.jsonl: No such file or directory"), std::string::npos);
    EXPECT_EQ(run.err.find(broken.string() + ":5"), std::string::npos)
        << "empty lines are no pages";

    EXPECT_EQ(Run({"duplicates", root_.string()}).code, 3);
    EXPECT_EQ(Run({"duplicates"}).code, 2);
}

TEST_F(Duplicates, PageTextReachesTheTerminalEscaped) {
    const std::string a = Page("a\nb.html", PageWith("Bell\x07 and \x1b[2J", "x")).string();
    const std::string b = Page("c.html", PageWith("bell\x07 AND \x1b[2J", "y")).string();
    const auto lines = Page("run.jsonl", Run({"analyze", "--json", "--defaults", a, b}).out);
    const RunResult run = Run({"duplicates", lines.string()});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(run.out.find('\x07'), std::string::npos);
    EXPECT_NE(run.out.find("a\\nb.html"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace velmora::test
