// velmora-cli in a project's CI: the configuration file, which files a search finds, the pages'
// suppression comments and the baseline.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/cli_test_fixture.h"

namespace velmora::test {
namespace {

namespace fs = std::filesystem;

// Two images without alt on lines 7 and 8, a generic link and no meta keywords.
const std::string kImagesPage =
    "<html lang=\"en\">\n<head>\n<title>Images</title>\n</head>\n<body>\n<h1>Images</h1>\n"
    "<img src=\"a.png\">\n<img src=\"b.png\">\n<a href=\"/x\">click here</a>\n</body>\n</html>\n";

std::set<std::string> Files(const std::string& jsonLines) {
    std::set<std::string> files;
    for (const Json& line : JsonLines(jsonLines)) {
        files.insert(line["file"].get<std::string>());
    }
    return files;
}

const Json* CheckOf(const Json& page, const std::string& id) {
    for (const Json& check : page["checks"]) {
        if (check["id"] == id) {
            return &check;
        }
    }
    return nullptr;
}

bool HasFinding(const Json& page, const std::string& id) {
    return std::any_of(page["findings"].begin(), page["findings"].end(),
                       [&](const Json& finding) { return finding["id"] == id; });
}

class CiRun : public VelmoraCli {
protected:
    // analyze --json from `folder`, which must succeed.
    Json AnalyzeOne(const fs::path& folder, std::vector<std::string> arguments) {
        const ScopedWorkingFolder here(folder);
        arguments.insert(arguments.begin(), {"analyze", "--json"});
        const RunResult run = Run(arguments);
        EXPECT_LE(run.code, 1) << run.err;
        const std::vector<Json> lines = JsonLines(run.out);
        return lines.empty() ? Json() : lines.front();
    }

    RunResult RunIn(const fs::path& folder, const std::vector<std::string>& arguments) {
        const ScopedWorkingFolder here(folder);
        return Run(arguments);
    }
};

TEST_F(CiRun, ConfigurationIsFoundUpwardReplacesStoredSettingsAndYieldsToFlags) {
    StoreSettings("[General]\nMaximumRecommendedTags=1\nMinimumRecommendedTags=1\n");
    Page(".velmora.toml", "[review]\nmax-keywords = 3\ncase = \"sensitive\"\n");
    Page("site/deep/hosting.htm", HostingPage());
    const fs::path deep = root_ / "site/deep";

    const Json configured = AnalyzeOne(deep, {"hosting.htm"});
    EXPECT_EQ(configured["auto_keywords"].size(), 3u);
    EXPECT_FALSE(configured["duplicate_keywords"]);  // case sensitive, from the file
    EXPECT_EQ(AnalyzeOne(deep, {"hosting.htm", "--max-keywords", "2"})["auto_keywords"].size(), 2u);
    // Without the file the stored settings hold again.
    EXPECT_EQ(AnalyzeOne(deep, {"hosting.htm", "--no-config"})["auto_keywords"].size(), 1u);
    Page("other.toml", "[review]\nmax-keywords = 4\n");
    EXPECT_EQ(AnalyzeOne(deep, {"hosting.htm", "--config",
                                (root_ / "other.toml").string()})["auto_keywords"]
                  .size(),
              4u);
}

TEST_F(CiRun, ConfigurationSkipsChecksAndFindingsNamesPagesAndGivesKeyphrases) {
    Page(".velmora.toml",
         "skip = [\"links\", \"review/no-keywords\"]\ninclude = [\"site/**/*.html\"]\n"
         "exclude = [\"site/drafts/**\"]\nfail_on = \"problem\"\n\n"
         "[[focus]]\nfiles = \"site/blog/**\"\nphrase = \"image gallery\"\n");
    Page("site/images.html", kImagesPage);
    Page("site/blog/post.html", kImagesPage);
    Page("site/drafts/draft.html", kImagesPage);
    const RunResult run = RunIn(root_, {"analyze", "--json"});
    EXPECT_EQ(run.code, 1) << run.err;  // fail_on: the pages have problems
    const std::vector<Json> pages = JsonLines(run.out);
    ASSERT_EQ(pages.size(), 2u) << run.out;
    EXPECT_EQ(pages[0]["file"], "site/blog/post.html");
    EXPECT_EQ(pages[1]["file"], "site/images.html");
    for (const Json& page : pages) {
        EXPECT_EQ(CheckOf(page, "links"), nullptr);
        EXPECT_NE(CheckOf(page, "images"), nullptr);
        EXPECT_FALSE(HasFinding(page, "review/no-keywords"));
        EXPECT_TRUE(HasFinding(page, "review/no-description"));
    }
    EXPECT_EQ((*CheckOf(pages[0], "keyphrase"))["values"]["keyphrase"], "image gallery");
    EXPECT_EQ((*CheckOf(pages[1], "keyphrase"))["values"].value("keyphrase", ""), "");
    // Flags override the file.
    EXPECT_EQ(RunIn(root_, {"analyze", "--json", "--fail-on", "improve", "--skip-check", "images",
                            "--skip-check", "content", "--skip-check", "h1", "site/images.html"})
                  .code,
              1);
}

TEST_F(CiRun, ConfigurationPlacesThePagesOnTheSiteFromItsOwnFolder) {
    Page(".velmora.toml",
         "root = \"public\"\nbase_url = \"https://example.org/\"\nsitemap = \"maps/site.xml\"\n"
         "lang = \"pt-BR\"\nog_image = \"/social.png\"\n");
    Page("maps/site.xml",
         "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\"><url>"
         "<loc>https://example.org/blog/a.html</loc></url></urlset>");
    Page("public/blog/a.html",
         "<html lang=\"en\"><head><title>A</title></head><body>"
         "<a href=\"https://example.org/gone.html\">gone</a>\n"
         "<!-- velmora-disable-next-line broken-links -->\n<a href=\"/meant.html\">later</a>\n"
         "</body></html>");
    const fs::path blog = root_ / "public/blog";
    const Json page = AnalyzeOne(blog, {"a.html"});
    EXPECT_EQ(page["site"]["path"], "/blog/a.html");
    // The absolute link is the site's own, and leads to no file of it.
    const Json* broken = CheckOf(page, "broken-links");
    ASSERT_NE(broken, nullptr) << page["checks"];
    ASSERT_EQ((*broken)["elements"].size(), 1u);
    EXPECT_EQ((*broken)["elements"][0]["text"], "https://example.org/gone.html");
    // Suppressions reach the checks that compare pages, which come after the page's own.
    EXPECT_EQ(page["suppressed"], 1);
    // The flag names another root, from the working folder.
    EXPECT_EQ(AnalyzeOne(blog, {"a.html", "--root", "."})["site"]["path"], "/a.html");

    // The second pass reads the same file: the same root and address, and its bar.
    Page("public/blog/a.jsonl", RunIn(blog, {"analyze", "--json", "a.html"}).out);
    Page(".velmora.toml",
         "root = \"public\"\nbase_url = \"https://example.org/\"\n"
         "fail_on = \"problem\"\n");
    const RunResult site = RunIn(blog, {"site", "--format", "compact", "a.jsonl"});
    EXPECT_EQ(site.code, 1) << site.err;
    EXPECT_NE(site.out.find("a.html:1:52: problem broken-links: "), std::string::npos) << site.out;
    // The page's own suppression holds in the second pass too.
    EXPECT_EQ(site.out.find("a.html:3:"), std::string::npos) << site.out;
    EXPECT_EQ(RunIn(blog, {"site", "--no-config", "a.jsonl"}).code, 0);
}

TEST_F(CiRun, ConfigurationThatCannotBeUsedIsAUsageErrorNamingFileLineAndKey) {
    Page("page.html", kImagesPage);
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {"# settings\nmin_score = 50\ncolour = \"red\"\n", ".velmora.toml:3: colour: unknown key"},
        {"[review]\n\nmin-occurrences = 0\n", ".velmora.toml:3: review.min-occurrences:"},
        {"[review]\nmax-keywords = \"many\"\n", ".velmora.toml:2: review.max-keywords:"},
        {"[review]\nno-compression = 1\n", ".velmora.toml:2: review.no-compression: not true"},
        {"[checks]\ntitle-chars = \"60-30\"\n", ".velmora.toml:2: checks.title-chars:"},
        {"[checks]\nfocus = \"x\"\n", ".velmora.toml:2: checks.focus: unknown key"},
        {"skip = [\"links\",\n  \"nonsense\"]\n", ".velmora.toml:2: skip: 'nonsense' is not"},
        {"fail_on = \"bad\"\n", ".velmora.toml:1: fail_on: 'bad' is not problem or improve"},
        {"fail_under = 101\n", ".velmora.toml:1: fail_under: 101 is outside the range 0 to 100"},
        {"min_score = 5.5\n", ".velmora.toml:1: min_score: not a whole number"},
        {"[[focus]]\nfiles = \"*\"\n", ".velmora.toml:1: focus: needs both files and phrase"},
        {"this is not toml\n", ".velmora.toml:1: not TOML"},
        {"base_url = \"example.org\"\n", ".velmora.toml:1: base_url: \"example.org\""},
        {"root = \"missing\"\n", ".velmora.toml:1: root: '"},
        {"root = \"page.html\"\n", "/page.html' is not a folder"},
        {"sitemap = [\"a.xml\"]\n", ".velmora.toml:1: sitemap: not a string"},
        {"lang = \"en_US!\"\n", ".velmora.toml:1: lang: 'en_US!' is not a language tag"},
        {"lang = \"xx\"\n", ".velmora.toml:1: lang: 'xx' is not"},
        {"og_image = \"\"\n", ".velmora.toml:1: og_image: empty"},
    };
    for (const auto& each : cases) {
        Page(".velmora.toml", each.text);
        const RunResult run = RunIn(root_, {"analyze", "page.html"});
        EXPECT_EQ(run.code, 2) << each.text;
        EXPECT_NE(run.err.find(each.message), std::string::npos) << each.text << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    fs::remove(root_ / ".velmora.toml");

    fs::create_directories(root_ / "folder.toml");
    Page("huge.toml", "# " + std::string(2 << 20, 'x') + "\n");
    for (const auto& [file, message] : std::vector<std::pair<std::string, std::string>>{
             {"folder.toml", "folder.toml: is a folder"},
             {"huge.toml", "huge.toml: larger than 1 MiB"},
             {"missing.toml", "missing.toml: No such file or directory"}}) {
        const RunResult run = RunIn(root_, {"analyze", "page.html", "--config", file});
        EXPECT_EQ(run.code, 2) << file;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
    EXPECT_EQ(RunIn(root_, {"analyze"}).code, 2);  // no pages and no include globs
}

TEST_F(CiRun, FolderSearchesSkipHiddenFoldersPackagesAndWhatGitIgnores) {
    for (const std::string name :
         {"index.html", "keep.html", "build/out.html", "build/keep/in.html", "logs/a.htm",
          "logs/important.htm", "docs/notes/n.html", "docs/tracked.html", "sub/local.html",
          "sub/deeper/local.html", ".git-like/x.html", ".cache/x.html", "node_modules/p/x.html",
          "vendor/node_modules/y.html"}) {
        Page(name, kImagesPage);
    }
    Page(".gitignore",
         "build/\n!build/keep/\n*.htm\n!important.htm\ndocs/notes\n"
         "docs/tracked.html\n");
    Page("sub/.gitignore", "/local.html\n");
    const std::string git = "git -C '" + root_.string() + "' ";
    ASSERT_EQ(std::system((git + "init -q && " + git + "add -f docs/tracked.html").c_str()), 0);

    const std::set<std::string> found = Files(RunIn(root_, {"analyze", "--json", "."}).out);
    // What git says of each page that is not in a hidden folder or a package folder.
    std::set<std::string> expected;
    for (const std::string name :
         {"index.html", "keep.html", "build/out.html", "build/keep/in.html", "logs/a.htm",
          "logs/important.htm", "docs/notes/n.html", "docs/tracked.html", "sub/local.html",
          "sub/deeper/local.html"}) {
        if (std::system((git + "check-ignore -q '" + name + "'").c_str()) != 0) {
            expected.insert("./" + name);
        }
    }
    EXPECT_EQ(found, expected);
    EXPECT_TRUE(expected.contains("./docs/tracked.html"));  // tracked files are never ignored
    EXPECT_TRUE(expected.contains("./sub/deeper/local.html"));
    EXPECT_FALSE(expected.contains("./logs/a.htm"));
    // Outside a work tree, only hidden folders and packages are left out.
    fs::remove_all(root_ / ".git");
    EXPECT_EQ(Files(RunIn(root_, {"analyze", "--json", "."}).out).size(), 10u);
}

TEST_F(CiRun, GlobsAndExcludesNameThePages) {
    for (const std::string name : {"site/a.html", "site/b/c.html", "site/b/d.php",
                                   "site/drafts/e.html", "site/b/f.txt", "other/g.html"}) {
        Page(name, kImagesPage);
    }
    const auto files = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"analyze", "--json"});
        const RunResult run = RunIn(root_, arguments);
        EXPECT_EQ(run.code, 0) << run.err;
        return Files(run.out);
    };
    using Set = std::set<std::string>;
    EXPECT_EQ(files({"site/**/*.html"}),
              (Set{"site/a.html", "site/b/c.html", "site/drafts/e.html"}));
    EXPECT_EQ(files({"site/*.html"}), (Set{"site/a.html"}));
    EXPECT_EQ(files({"**/c.html"}), (Set{"site/b/c.html"}));
    EXPECT_EQ(files({"site", "--exclude", "site/drafts/**", "--exclude", "*.php"}),
              (Set{"site/a.html", "site/b/c.html"}));
    EXPECT_EQ(files({"site/b/?.*"}), (Set{"site/b/c.html", "site/b/d.php"}));

    const RunResult none = RunIn(root_, {"analyze", "site/**/*.xml", "site/a.html"});
    EXPECT_EQ(none.code, 3);
    EXPECT_NE(none.err.find("velmora-cli: site/**/*.xml: no pages match"), std::string::npos);
    EXPECT_NE(none.out.find("site/a.html"), std::string::npos);  // the rest is still analysed
}

// Standard input on a file for the length of a run in this process.
class StandardInputFrom {
public:
    explicit StandardInputFrom(const fs::path& file) : saved_(dup(STDIN_FILENO)) {
        const int fd = open(file.c_str(), O_RDONLY);
        dup2(fd, STDIN_FILENO);
        close(fd);
    }
    ~StandardInputFrom() {
        dup2(saved_, STDIN_FILENO);
        close(saved_);
    }
    StandardInputFrom(const StandardInputFrom&) = delete;
    StandardInputFrom& operator=(const StandardInputFrom&) = delete;

private:
    int saved_;
};

TEST_F(CiRun, DashReadsOnePageFromStandardInputNamedStdin) {
    const fs::path file = Page("piped.html",
                               "<html lang=\"en\"><head><title>Piped</title>\n"
                               "<!-- velmora-disable-next-line nothing -->\n</head></html>\n");
    const fs::path other = Page("other.html", kImagesPage);
    const StandardInputFrom piped(file);
    const RunResult run = RunIn(root_, {"analyze", "--json", "other.html", "-", "-"});
    EXPECT_EQ(run.code, 0) << run.err;
    const std::vector<Json> pages = JsonLines(run.out);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0]["file"], "other.html");
    // Read once, and the same page wherever "-" stands.
    for (const Json& page : {pages[1], pages[2]}) {
        EXPECT_EQ(page["file"], "<stdin>");
        EXPECT_EQ(page["title"], "Piped");
    }
    EXPECT_NE(run.err.find("warning: <stdin>:2: unknown check 'nothing'"), std::string::npos)
        << run.err;
    // The copy it was read into is gone.
    for (const auto& entry : fs::directory_iterator(root_ / "tmp")) {
        EXPECT_FALSE(entry.path().filename().string().starts_with("velmora-stdin")) << entry;
    }
}

TEST_F(CiRun, SuppressionCommentsLeaveResultsOutAndAreCounted) {
    const fs::path page = Page(
        "page.html",
        "<html lang=\"en\">\n<head>\n<title>Images</title>\n"
        "<!-- velmora-disable links, review/no-keywords -->\n</head>\n<body>\n<h1>Images</h1>\n"
        "<!-- velmora-disable-next-line images -->\n<img src=\"a.png\">\n<img src=\"b.png\">\n"
        "<a href=\"/x\">click here</a>\n<!-- velmora-disable-next-line nothing, check/h1 -->\n"
        "<!--velmora-disabled images-->\n</body>\n</html>\n");
    const RunResult run = Run({"analyze", "--json", page.string()});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "velmora-cli: warning: " + page.string() +
                           ":12: unknown check 'nothing' in velmora-disable-next-line\n");
    const Json json = JsonLines(run.out).at(0);
    EXPECT_EQ(CheckOf(json, "links"), nullptr);
    EXPECT_FALSE(HasFinding(json, "review/no-keywords"));
    const Json& images = *CheckOf(json, "images");
    ASSERT_EQ(images["elements"].size(), 1u);
    EXPECT_EQ(images["elements"][0]["line"], 10);
    // links, the finding and the image on line 9.
    EXPECT_EQ(json["suppressed"], 3);
    EXPECT_EQ(json["checks_summary"]["improve"].get<int>() +
                  json["checks_summary"]["problem"].get<int>() +
                  json["checks_summary"]["good"].get<int>() +
                  json["checks_summary"]["info"].get<int>(),
              static_cast<int>(json["checks"].size()));

    const RunResult text = Run({"analyze", page.string()});
    EXPECT_NE(text.out.find("  3 results suppressed by comments in the pages\n"),
              std::string::npos);
}

TEST_F(CiRun, BaselineKeepsOnlyNewResultsWhateverLineTheOldOnesMovedTo) {
    const fs::path page = Page("site/page.html", kImagesPage);
    const RunResult before = RunIn(root_, {"analyze", "--json", "site/page.html"});
    Page("baseline.jsonl", before.out);

    // Lines added above every result, and one new image without alt.
    std::string edited = kImagesPage;
    edited.replace(edited.find("<body>\n"), 7, "<body>\n<p>New</p>\n<p>Lines</p>\n");
    edited.replace(edited.find("</body>"), 0, "<img src=\"new.png\">\n");
    WriteBytes(page, edited);
    const RunResult after =
        RunIn(root_, {"analyze", "--json", "--baseline", "baseline.jsonl", "--fail-on", "improve",
                      (root_ / "site/page.html").string()});
    EXPECT_EQ(after.code, 1) << after.err;
    const Json json = JsonLines(after.out).at(0);
    EXPECT_TRUE(json["findings"].empty()) << json["findings"];
    for (const Json& check : json["checks"]) {
        EXPECT_TRUE(check["id"] == "images" || check["state"] == "good") << check;
    }
    const Json& images = *CheckOf(json, "images");
    ASSERT_EQ(images["elements"].size(), 1u);
    EXPECT_EQ(images["elements"][0]["text"], "new.png");
    EXPECT_GT(json["baselined"].get<int>(), 3);

    // Once the new result is in the baseline too, nothing fails.
    Page("baseline.jsonl", RunIn(root_, {"analyze", "--json", "site/page.html"}).out);
    EXPECT_EQ(RunIn(root_, {"analyze", "--baseline", "baseline.jsonl", "--fail-on", "improve",
                            "site/page.html"})
                  .code,
              0);

    for (const std::string line :
         {"{\"file\": 3}", "[1]",
          "{\"file\": \"x\", \"checks\": [{\"id\": \"images\", \"state\": 2}]}",
          "{\"file\": \"x\", \"checks\": [{\"id\": \"images\", \"elements\": [{\"text\": 5}]}]}"}) {
        Page("bad.jsonl", before.out + line + "\n");
        const RunResult bad =
            RunIn(root_, {"analyze", "--baseline", "bad.jsonl", "site/page.html"});
        EXPECT_EQ(bad.code, 3) << line;
        EXPECT_NE(bad.err.find("bad.jsonl:2: not a line of analyze --json output"),
                  std::string::npos)
            << bad.err;
    }
    const RunResult missing =
        RunIn(root_, {"analyze", "--baseline", "missing.jsonl", "site/page.html"});
    EXPECT_EQ(missing.code, 3);
    EXPECT_NE(missing.err.find("missing.jsonl"), std::string::npos);
}

}  // namespace
}  // namespace velmora::test
