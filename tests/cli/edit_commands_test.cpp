// velmora-cli's edit commands run in process: what they save, the backup, line breaks, --stdout,
// the keyword order, failures that write nothing, and edits that race on one page.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "analysis/keyword_choice.h"
#include "bench/page_generator.h"
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
using test::WriteBytes;

TEST_F(VelmoraCli, EditsSaveWithBackupAndTypedTextInThePageEncoding) {
    const fs::path ascii = Page("ascii.htm", HostingPage());
    RunResult run = Run({"set-title", ascii.string(), "Caf\xC3\xA9\r\n  and   bar"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("Saved " + ascii.string()), std::string::npos);
    std::string saved = ReadBytes(ascii);
    EXPECT_EQ(GetTitle(saved), "Caf&#233; and bar");
    EXPECT_NE(saved.find("<meta name=\"GENERATOR\" content=\"Velmora\">"), std::string::npos);
    ASSERT_EQ(BackupCount(), 1u);
    EXPECT_EQ(ReadBytes(fs::directory_iterator(BackupFolder())->path()), HostingPage());

    const fs::path latin = Page("latin.htm", CompletePage("caf\xE9", "alpha"));
    ASSERT_EQ(
        Run({"set-description", latin.string(), "cr\xC3\xA8me\nbr\xC3\xBBl\xC3\xA9\xE2\x82\xAC"})
            .code,
        0);
    EXPECT_EQ(GetDescription(ReadBytes(latin)), "cr\xE8me br\xFBl\xE9\x80");

    // The same title again changes nothing, so nothing is written.
    const std::string before = ReadBytes(ascii);
    run = Run({"set-title", ascii.string(), "Caf\xC3\xA9 and bar"});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.err.find("nothing written"), std::string::npos);
    EXPECT_EQ(ReadBytes(ascii), before);
    EXPECT_EQ(BackupCount(), 2u);
}

// A page keeps its own line breaks; one whose breaks cannot all come back is saved with a warning,
// its original in the backup named on the "Saved" line.
TEST_F(VelmoraCli, EditsKeepLineBreaksAndWarnWhenTheyCannot) {
    const std::string lf = "<html>\n<head>\n<title>Old</title>\n</head>\n<body>x</body>\n</html>";
    const fs::path page = Page("lf.htm", lf);
    RunResult run = Run({"set-title", page.string(), "New"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(ReadBytes(page),
              "<html>\n<head>\n<title>New</title>\n<meta name=\"GENERATOR\" "
              "content=\"Velmora\">\n</head>\n<body>x</body>\n</html>");

    const std::string mixed = "<html>\r\n<head>\n<title>Old</title>\r\n</head>\n</html>\n";
    const fs::path mixedPage = Page("mixed.htm", mixed);
    run = Run({"set-title", mixedPage.string(), "New", "--stdout"});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.err.find(mixedPage.string() + ": warning: the page printed changes line breaks"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(ReadBytes(mixedPage), mixed);

    run = Run({"set-title", mixedPage.string(), "New"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find(mixedPage.string() + ": warning: saving changes line breaks"),
              std::string::npos)
        << run.err;
    const std::size_t backup = run.out.find("(backup: ");
    ASSERT_NE(backup, std::string::npos) << run.out;
    const std::string backupPath = run.out.substr(backup + 9, run.out.find(')') - backup - 9);
    EXPECT_EQ(ReadBytes(backupPath), mixed);
    EXPECT_EQ(ReadBytes(mixedPage).find('\n'), ReadBytes(mixedPage).find("\r\n") + 1);
}

// Edits run at the same moment on one page, each on its own thread: each either saves or is
// refused with exit 3, and no saved edit is lost: it is in the page or in the backup of a later
// save. With --defaults the settings store is not read: its locks are Qt's own, which a thread
// sanitizer cannot see.
TEST_F(VelmoraCli, ConcurrentEditsNeverLoseAnEdit) {
    const fs::path page = Page("shared.htm", HostingPage());
    for (int round = 0; round < 8; ++round) {
        const std::vector<std::string> titles{"First " + std::to_string(round),
                                              "Second " + std::to_string(round)};
        std::vector<RunResult> runs(titles.size());
        {
            std::vector<std::jthread> editors;
            for (std::size_t i = 0; i < titles.size(); ++i) {
                editors.emplace_back([&, i] {
                    runs[i] = Run({"set-title", "--defaults", page.string(), titles[i]});
                });
            }
        }
        std::vector<std::string> saved;
        for (std::size_t i = 0; i < titles.size(); ++i) {
            if (runs[i].code == 0) {
                saved.push_back(titles[i]);
            } else {
                EXPECT_EQ(runs[i].code, 3) << runs[i].err;
                EXPECT_NE(runs[i].err.find("changed by another program"), std::string::npos)
                    << runs[i].err;
            }
        }
        ASSERT_FALSE(saved.empty());
        for (const std::string& title : saved) {
            bool kept = GetTitle(ReadBytes(page)) == title;
            for (const auto& backup : fs::directory_iterator(BackupFolder())) {
                kept = kept || GetTitle(ReadBytes(backup.path())) == title;
            }
            EXPECT_TRUE(kept) << "the edit \"" << title << "\" was lost";
        }
    }
}

TEST_F(VelmoraCli, KeywordCommandsOrderAsTheDialog) {
    const fs::path page = Page("hosting.htm", HostingPage());
    KelVelmoraOptions options;
    KelVelmoraData document;
    document.Load(page.string(), options);
    const auto keywordsOf = [](const fs::path& path) {
        return SplitKeywords(GetMetaKeywords(ReadBytes(path)));
    };

    ASSERT_EQ(Run({"set-keywords", "--defaults", page.string(), "domain, web hosting, cheap"}).code,
              0);
    EXPECT_EQ(
        keywordsOf(page),
        OrderKeywordsAsDialog({"domain", "web hosting", "cheap"}, document.GetWordCount(),
                              document.GetCandidateList(), GetTitle(document.GetHtml()), options));
    EXPECT_EQ(keywordsOf(page), (KeywordList{"web hosting", "cheap", "domain"}));

    ASSERT_EQ(
        Run({"set-keywords", page.string(), "domain, web hosting, cheap", "--keep-order"}).code, 0);
    EXPECT_EQ(keywordsOf(page), (KeywordList{"domain", "web hosting", "cheap"}));

    const RunResult analysis = Run({"analyze", "--json", "--defaults", page.string()});
    const Json expected = JsonLines(analysis.out).at(0)["auto_keywords"];
    ASSERT_EQ(Run({"auto-keywords", "--defaults", page.string()}).code, 0);
    EXPECT_EQ(Json(keywordsOf(page)), expected);
}

// A large page in LF line breaks reaches standard output line by line, gathered into larger
// writes; what is printed is still exactly the page as Save would write it.
TEST_F(VelmoraCli, StdoutPrintsALargePageAsSaveWouldWriteIt) {
    std::string lines = "<html>\n<head>\n<title>t</title>\n</head>\n<body>\n";
    for (int line = 0; line < 20000; ++line) {
        lines += "  <p>line  " + std::to_string(line) + "</p>\n";
    }
    lines += std::string(70000, 'x') + "\n</body>\n</html>";
    const fs::path page = Page("large.htm", lines);
    const RunResult run = Run({"compress", page.string(), "--stdout"});
    ASSERT_EQ(run.code, 0) << run.err;
    KelVelmoraData document;
    document.Load(page.string(), KelVelmoraOptions());
    document.Compress(KelVelmoraOptions());
    EXPECT_EQ(run.out, document.BytesToSave());
    EXPECT_EQ(run.out.find('\r'), std::string::npos);
    EXPECT_TRUE(run.out.ends_with("</html>"));
}

TEST_F(VelmoraCli, StdoutTouchesNothingAndFailedEditsWriteNothing) {
    const std::string original = HostingPage();
    const fs::path page = Page("hosting.htm", original);
    const auto stamp = fs::last_write_time(page);

    RunResult run = Run({"compress", page.string(), "--stdout"});
    ASSERT_EQ(run.code, 0) << run.err;
    KelVelmoraData document;
    document.Load(page.string(), KelVelmoraOptions());
    document.Compress(KelVelmoraOptions());
    EXPECT_EQ(run.out, TextToSave(document.GetHtml()));
    EXPECT_NE(run.out, TextToSave(original));
    for (const std::vector<std::string>& edit :
         {std::vector<std::string>{"set-title", page.string(), "x", "--stdout"},
          {"set-description", page.string(), "x", "--stdout"},
          {"set-keywords", page.string(), "x", "--stdout"},
          {"auto-keywords", page.string(), "--stdout"}}) {
        EXPECT_EQ(Run(edit).code, 0);
    }
    EXPECT_EQ(ReadBytes(page), original);
    EXPECT_EQ(fs::last_write_time(page), stamp);
    EXPECT_EQ(BackupCount(), 0u);

    run = Run({"compress", "--no-compression", page.string()});
    EXPECT_EQ(run.code, 2);
    run = Run({"set-title", root_.string(), "x"});
    EXPECT_EQ(run.code, 3);
    EXPECT_EQ(run.err, "velmora-cli: " + root_.string() + ": Is a directory, not a page\n");
    run = Run({"set-keywords", (root_ / "missing.htm").string(), "a"});
    EXPECT_EQ(run.code, 3);
    EXPECT_NE(run.err.find("missing.htm: No such file or directory"), std::string::npos);
    EXPECT_EQ(ReadBytes(page), original);
    EXPECT_EQ(BackupCount(), 0u);

    ASSERT_EQ(Run({"compress", page.string()}).code, 0);
    EXPECT_EQ(ReadBytes(page), TextToSave(document.GetHtml()));
}

// fix: every fix saved at once with one exact backup; a second fix changes nothing and says so.
TEST_F(VelmoraCli, FixSavesOnceWithBackupAndSaysWhenNothingIsLeft) {
    const std::string lf =
        "<!DOCTYPE html>\n<html>\n<head>\n<title>Tea</title>\n</head>\n<body><p>x</p></body>\n"
        "</html>\n";
    const fs::path page = Page("site/tea.html", lf);
    const std::vector<std::string> fix = {"fix",        "--no-config",
                                          "--lang",     "en",
                                          "--og-image", "https://example.org/i.png",
                                          "--base-url", "https://example.org/",
                                          "--root",     (root_ / "site").string(),
                                          page.string()};
    RunResult run = Run(fix);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(ReadBytes(page),
              "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
              "<title>Tea</title>\n"
              "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
              "<link rel=\"canonical\" href=\"https://example.org/tea.html\">\n"
              "<meta property=\"og:title\" content=\"Tea\">\n"
              "<meta property=\"og:url\" content=\"https://example.org/tea.html\">\n"
              "<meta property=\"og:image\" content=\"https://example.org/i.png\">\n"
              "<meta name=\"twitter:card\" content=\"summary_large_image\">\n"
              "<meta name=\"GENERATOR\" content=\"Velmora\">\n</head>\n<body><p>x</p></body>\n"
              "</html>\n");
    EXPECT_TRUE(run.out.starts_with("Fixed " + page.string() +
                                    ": charset, viewport, language, canonical, social (backup: "))
        << run.out;
    EXPECT_NE(run.out.find(". Left: social (og:description needs a description). Left to you: "
                           "title, description, h1, content.\n"),
              std::string::npos)
        << run.out;
    ASSERT_EQ(BackupCount(), 1u);
    EXPECT_EQ(ReadBytes(fs::directory_iterator(BackupFolder())->path()), lf);

    const std::string fixed = ReadBytes(page);
    run = Run(fix);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(run.out.starts_with("Nothing to fix in " + page.string() + ". Left: social"))
        << run.out;
    EXPECT_EQ(ReadBytes(page), fixed);
    EXPECT_EQ(BackupCount(), 1u);
}

// --dry-run prints a unified diff and --stdout the fixed page, and neither writes; a fix that
// needs a setting not given gives exit 1.
TEST_F(VelmoraCli, FixDryRunAndStdoutWriteNothing) {
    const std::string crlf =
        "<html>\r\n<head>\r\n<title>Tea</title>\r\n</head>\r\n<body>x</body>\r\n</html>\r\n";
    Page("tea.html", crlf);
    const test::ScopedWorkingFolder here(root_);
    RunResult run = Run({"fix", "--no-config", "--dry-run", "tea.html"});
    EXPECT_EQ(run.code, 1) << run.err;
    EXPECT_EQ(run.out,
              "--- a/tea.html\n+++ b/tea.html\n@@ -1,6 +1,11 @@\n <html>\r\n <head>\r\n"
              "+<meta charset=\"utf-8\">\r\n <title>Tea</title>\r\n"
              "+<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n"
              "+<meta property=\"og:title\" content=\"Tea\">\r\n"
              "+<meta name=\"twitter:card\" content=\"summary\">\r\n"
              "+<meta name=\"GENERATOR\" content=\"Velmora\">\r\n"
              " </head>\r\n <body>x</body>\r\n </html>\r\n");
    EXPECT_TRUE(run.err.starts_with(
        "Would fix tea.html: charset, viewport, social. Left: language (needs the page's "
        "language (--lang or lang)), canonical (needs the site's address (--base-url or "
        "base_url)), social (og:description needs a description), social (og:image needs an "
        "image address (--og-image or og_image)). Left to you: title, description"))
        << run.err;

    run = Run({"fix", "--no-config", "--stdout", "--only", "viewport", "tea.html"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out,
              "<html>\r\n<head>\r\n<title>Tea</title>\r\n"
              "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n"
              "<meta name=\"GENERATOR\" content=\"Velmora\">\r\n</head>\r\n<body>x</body>\r\n"
              "</html>\r\n");
    EXPECT_EQ(run.err, "Fixed tea.html: viewport.\n");

    // The diff starts from the page's bytes as they were read, even where the file mixes its line
    // breaks and the held text cannot give them back.
    Page("mixed.html", "<html>\n<head>\r\n<title>Tea</title>\n</head>\n<body>x</body>\n</html>\n");
    run = Run({"fix", "--no-config", "--dry-run", "--only", "viewport", "mixed.html"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out,
              "--- a/mixed.html\n+++ b/mixed.html\n@@ -1,6 +1,8 @@\n <html>\n-<head>\r\n+<head>\n"
              " <title>Tea</title>\n"
              "+<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
              "+<meta name=\"GENERATOR\" content=\"Velmora\">\n"
              " </head>\n <body>x</body>\n </html>\n");

    // A page that turns a check off for itself is not fixed there.
    Page("quiet.html", "<!-- velmora-disable viewport, social -->" + crlf);
    run = Run({"fix", "--no-config", "--dry-run", "--only", "viewport", "--only", "social",
               "quiet.html"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Nothing to fix in quiet.html.\n");
    run = Run({"fix", "--no-config", "--stdout", "--only", "viewport", "quiet.html"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "<!-- velmora-disable viewport, social -->" + crlf);

    for (const std::vector<std::string>& usage :
         {std::vector<std::string>{"fix", "--only", "title", "tea.html"},
          {"fix", "--stdout", "tea.html", "quiet.html"},
          {"fix", "--stdout", "--dry-run", "tea.html"},
          {"fix", "--lang", "english!", "tea.html"},
          {"fix", "-"}}) {
        EXPECT_EQ(Run(usage).code, 2) << usage[1];
    }
    // The other pages are still fixed.
    run = Run({"fix", "--no-config", "--dry-run", "missing.html", "tea.html"});
    EXPECT_EQ(run.code, 3);
    EXPECT_NE(run.err.find("missing.html: No such file or directory"), std::string::npos);
    EXPECT_TRUE(run.out.starts_with("--- a/tea.html\n")) << run.out;
    EXPECT_EQ(ReadBytes(root_ / "tea.html"), crlf);
    EXPECT_EQ(BackupCount(), 0u);
}

// On the examples and on generated pages: after fix, analyze finds every fixed check good, the
// bytes from the body on are untouched, and fixing again changes nothing.
TEST_F(VelmoraCli, FixedChecksAreGoodAndOnlyTheHeadChanges) {
    const fs::path pages = root_ / "pages";
    fs::copy(VELMORA_EXAMPLES, pages, fs::copy_options::recursive);
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        WriteBytes(pages / ("generated-" + std::to_string(seed) + ".html"),
                   bench::GeneratePage(3000 + 200 * seed, seed));
    }
    std::map<std::string, std::string> before;
    for (const auto& entry : fs::recursive_directory_iterator(pages)) {
        if (entry.is_regular_file()) {
            before[entry.path().string()] = ReadBytes(entry.path());
        }
    }
    const std::vector<std::string> fix = {"fix",        "--no-config",          "--lang",
                                          "en",         "--og-image",           "/i.png",
                                          "--base-url", "https://example.org/", pages.string()};
    RunResult run = Run(fix);
    ASSERT_EQ(run.code, 0) << run.err;

    std::map<std::string, std::vector<std::string>> fixedIds;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("Fixed ")) {
            continue;
        }
        // A fix that made only part of its check good names it again among what is left.
        const std::size_t colon = line.find(": ");
        const std::size_t leftAt = line.find(". Left: ");
        const std::string left = leftAt == std::string::npos ? "" : line.substr(leftAt);
        const std::string ids = line.substr(colon + 2, line.find(" (backup") - colon - 2);
        std::istringstream split(ids);
        for (std::string id; std::getline(split, id, ',');) {
            id = id.substr(id.starts_with(' ') ? 1 : 0);
            if (left.find(" " + id + " (") == std::string::npos) {
                fixedIds[line.substr(6, colon - 6)].push_back(id);
            }
        }
    }
    EXPECT_GE(fixedIds.size(), 25u) << run.out;

    run = Run({"analyze", "--json", "--no-config", pages.string()});
    for (const Json& page : JsonLines(run.out)) {
        const std::string file = page["file"];
        for (const Json& check : page["checks"]) {
            const auto& ids = fixedIds[file];
            if (std::find(ids.begin(), ids.end(), check["id"]) != ids.end() &&
                check["id"] != "description") {
                EXPECT_EQ(check["state"], "good") << file << " " << check["id"];
            }
        }
    }
    for (const auto& [file, bytes] : before) {
        const std::string after = ReadBytes(file);
        const std::size_t body = bytes.find("<body");
        if (body != std::string::npos) {
            EXPECT_TRUE(after.ends_with(bytes.substr(body))) << file;
        } else {
            EXPECT_TRUE(fixedIds[file].empty() || after.size() > bytes.size()) << file;
        }
    }

    run = Run(fix);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out.find("Fixed "), std::string::npos) << run.out;
}

}  // namespace
}  // namespace velmora
