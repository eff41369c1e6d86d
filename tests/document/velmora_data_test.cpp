#include "document/velmora_data.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "analysis/compressed_html.h"
#include "core/html_functions_read.h"
#include "document/file_error.h"
#include "page_checks/page_checks.h"
#include "tests/support/file_bytes.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

constexpr LocalDateTime kSaveTime{2006, 3, 15, 14, 5, 9};
const std::string kBackupName = "index.bkp.2006.03.15.14.05.09.htm";

using test::ReadBytes;
using test::WriteBytes;

// A private folder for pages and one for backups, which TMPDIR names while a test runs.
class VelmoraDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(pages_);
        fs::create_directories(backups_);
    }

    fs::path Page(std::string_view bytes, const std::string& name = "index.htm") {
        const fs::path path = pages_ / name;
        WriteBytes(path, bytes);
        return path;
    }

    KelVelmoraData Loaded(const fs::path& path) {
        KelVelmoraData document([] { return kSaveTime; });
        document.Load(path.string(), options_);
        return document;
    }

    fs::path BackupFolder() const { return backups_ / "velmora" / "backups"; }

    std::size_t BackupCount() const {
        if (!fs::exists(BackupFolder())) {
            return 0;
        }
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(BackupFolder()), {}));
    }

    test::TemporaryFolder folder_;
    fs::path root_ = folder_.path();
    fs::path pages_ = root_ / "pages";
    fs::path backups_ = root_ / "backups";
    test::ScopedTmpdir tmpdir_{backups_};
    KelVelmoraOptions options_;
};

TEST_F(VelmoraDataTest, LoadEndsEveryLineWithCrLf) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"a\nb\n", "a\r\nb\r\n"},
        {"a\r\nb", "a\r\nb\r\n"},
        {"a\rb\r", "a\r\nb\r\n"},
        {"a\r\r\nb\n\nc", "a\r\n\r\nb\r\n\r\nc\r\n"},
        {"\n", "\r\n"},
        {"", ""},
        {"\xEF\xBB\xBFx\n", "\xEF\xBB\xBFx\r\n"},
    };
    for (const auto& [bytes, text] : cases) {
        const KelVelmoraData document = Loaded(Page(bytes));
        EXPECT_EQ(document.GetSavedText(), text) << bytes;
        EXPECT_EQ(document.GetHtml(), text);
        EXPECT_FALSE(document.IsModified());
    }
}

TEST_F(VelmoraDataTest, CtrlZEndsTheFileOnlyAsItsLastByteAtALineStart) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"a\r\n\x1A", "a\r\n"},
        {"a\n\x1A", "a\r\n"},
        {"a\r\x1A", "a\r\n"},
        {"\x1A", ""},
        {"a\x1A", "a\x1A\r\n"},
        {"a\r\n\x1A\r\nb", "a\r\n\x1A\r\nb\r\n"},
        {"a\r\n\x1A\x1A", "a\r\n\x1A\x1A\r\n"},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(Loaded(Page(bytes)).GetSavedText(), text) << bytes;
    }
}

TEST_F(VelmoraDataTest, SavedPageLoadsBackAsSaved) {
    KelVelmoraData document = Loaded(Page("<html><head>\n<title>t</title>\r</head>\n<p>x</p>"));
    document.Review(document.GetHtml() + "<p>y</p>\r\n", options_);
    ASSERT_TRUE(document.IsModified());
    document.Save();
    EXPECT_FALSE(document.IsModified());
    // Written in the line break that ends the page's first line, and without a final one, as
    // the page had none.
    const std::string written = ReadBytes(pages_ / "index.htm");
    EXPECT_EQ(written,
              "<html><head>\n<title>t</title>\n<meta name=\"GENERATOR\" "
              "content=\"Velmora\">\n</head>\n<p>x</p>\n<p>y</p>");
    EXPECT_EQ(Loaded(pages_ / "index.htm").GetSavedText(), document.GetSavedText());
}

TEST_F(VelmoraDataTest, RefusedOrFailedLoadKeepsThePreviousPage) {
    KelVelmoraData document = Loaded(Page("<p>old</p>\n"));
    document.Review("<p>edited</p>\r\n", options_);
    const std::string fileName = document.GetFileName();

    WriteBytes(pages_ / "utf16.htm", std::string_view("\xFF\xFEh\0i\0", 6));
    WriteBytes(pages_ / "utf32.htm", std::string_view("\0\0\xFE\xFF\0\0\0h", 8));
    Page("x", "plain");
    ASSERT_EQ(mkfifo((pages_ / "pipe").c_str(), 0600), 0);
    const fs::path refused[] = {
        pages_ / "utf16.htm", pages_ / "utf32.htm", pages_,          pages_ / "plain" / "index.htm",
        pages_ / "missing",   "/dev/null",          pages_ / "pipe",
    };
    for (const fs::path& path : refused) {
        try {
            document.Load(path.string(), options_);
            ADD_FAILURE() << path << " loaded";
        } catch (const FileError& error) {
            EXPECT_EQ(error.path(), path.string());
            EXPECT_NE(std::string(error.what()).find(path.string()), std::string::npos);
        }
        EXPECT_EQ(document.GetFileName(), fileName);
        EXPECT_EQ(document.GetSavedText(), "<p>old</p>\r\n");
        EXPECT_EQ(document.GetHtml(), "<p>edited</p>\r\n");
    }
}

TEST(BackupFileName, BaseNameTimeAndExtension) {
    EXPECT_EQ(BackupFileName("/srv/www/index.htm", kSaveTime), kBackupName);
    EXPECT_EQ(BackupFileName("/srv/www.d/README", kSaveTime), "README.bkp.2006.03.15.14.05.09");
    EXPECT_EQ(BackupFileName("a.b.html", {2024, 12, 1, 0, 0, 0}),
              "a.b.bkp.2024.12.01.00.00.00.html");
    const std::string fifty(50, 'n');
    EXPECT_EQ(BackupFileName("/x/" + fifty + ".php", kSaveTime),
              std::string(40, 'n') + ".bkp.2006.03.15.14.05.09.php");
    // A two-byte character across the 40-byte cut is left out whole on a UTF-8 name.
    const std::string utf8 = std::string(39, 'a') + "\xC3\xA9" + "z";
    EXPECT_EQ(BackupFileName(utf8 + ".htm", kSaveTime),
              std::string(39, 'a') + ".bkp.2006.03.15.14.05.09.htm");
    // A long extension is cut so that the name fits the limit, copies' numbers included.
    const std::string extension = "." + std::string(240, 'e');
    EXPECT_EQ(BackupFileName("page" + extension, kSaveTime, 1, 255),
              "page.bkp.2006.03.15.14.05.09" + extension.substr(0, 255 - 28));
    EXPECT_EQ(BackupFileName("page" + extension, kSaveTime, 2, 255).size(), 255U);
    EXPECT_EQ(BackupFileName("page" + extension, kSaveTime, 12, 255),
              "page.bkp.2006.03.15.14.05.09-12" + extension.substr(0, 255 - 31));
}

// Names at the file system's limit save, again and again, with backups and temporary files
// whose names are cut to fit.
TEST_F(VelmoraDataTest, PagesWithNamesAtTheLimitSave) {
    for (const std::string& name : {std::string(251, 'n') + ".htm", std::string(235, 'n') + ".htm",
                                    "a." + std::string(241, 'x'), std::string(255, 'n')}) {
        KelVelmoraData document = Loaded(Page("<p>a</p>\n", name));
        for (const char* text : {"<p>b</p>\r\n", "<p>c</p>\r\n"}) {
            document.Review(text, options_);
            document.Save();
            EXPECT_EQ(ReadBytes(pages_ / name), document.BytesToSave()) << name;
            EXPECT_LE(fs::path(document.LastBackupPath()).filename().string().size(), 255U);
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(pages_), {}), 1) << name;
        fs::remove(pages_ / name);
    }
    EXPECT_EQ(BackupCount(), 8U);
}

TEST_F(VelmoraDataTest, BackupsAreExactPrivateAndNeverOverwritten) {
    KelVelmoraData document = Loaded(Page("<p>a</p>\n<p>b</p>\n\x1A"));
    document.Review("<p>new</p>\r\n", options_);
    document.Save();
    const fs::path backup = BackupFolder() / kBackupName;
    EXPECT_EQ(document.LastBackupPath(), backup.string());
    EXPECT_EQ(ReadBytes(backup), "<p>a</p>\n<p>b</p>\n\x1A");
    EXPECT_EQ(fs::status(backup).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(BackupFolder()).permissions() & fs::perms::all, fs::perms::owner_all);

    // A second save in the same second, and a page of the same name elsewhere, take the next
    // free names.
    document.Review("<p>newer</p>\r\n", options_);
    document.Save();
    EXPECT_EQ(document.LastBackupPath(),
              (BackupFolder() / "index.bkp.2006.03.15.14.05.09-2.htm").string());
    EXPECT_EQ(ReadBytes(document.LastBackupPath()), TextToSave("<p>new</p>\n"));
    fs::create_directories(pages_ / "other");
    KelVelmoraData other = Loaded(Page("<p>other</p>\n", "other/index.htm"));
    other.Save();
    EXPECT_EQ(other.LastBackupPath(),
              (BackupFolder() / "index.bkp.2006.03.15.14.05.09-3.htm").string());
    EXPECT_EQ(ReadBytes(backup), "<p>a</p>\n<p>b</p>\n\x1A");
    EXPECT_EQ(ReadBytes(other.LastBackupPath()), "<p>other</p>\n");
}

TEST_F(VelmoraDataTest, PageChangedOnDiskIsNotOverwrittenUnlessTold) {
    KelVelmoraData document = Loaded(Page("<p>a</p>\r\n"));
    WriteBytes(pages_ / "index.htm", "<p>changed elsewhere</p>\n");
    document.Review("<p>mine</p>\r\n", options_);
    EXPECT_THROW(document.Save(), PageChangedError);
    EXPECT_EQ(ReadBytes(pages_ / "index.htm"), "<p>changed elsewhere</p>\n");
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(BackupCount(), 0U);

    document.Save(ChangedOnDisk::Overwrite);
    EXPECT_EQ(ReadBytes(BackupFolder() / kBackupName), "<p>changed elsewhere</p>\n");
    EXPECT_EQ(ReadBytes(pages_ / "index.htm"), TextToSave("<p>mine</p>\r\n"));
}

// A page moved away or deleted since it was read is a change on disk: never re-created unasked,
// and when the user says to overwrite, re-created as private as it was.
TEST_F(VelmoraDataTest, PageGoneFromDiskIsAChangeAndIsRecreatedOnlyWhenToldWithItsMode) {
    const fs::path page = Page("<p>a</p>\n");
    ASSERT_EQ(::chmod(page.c_str(), 0600), 0);
    KelVelmoraData document = Loaded(page);
    fs::rename(page, pages_ / "moved.htm");
    document.Review("<p>b</p>\r\n", options_);
    EXPECT_THROW(document.Save(), PageChangedError);
    EXPECT_FALSE(fs::exists(page));
    EXPECT_EQ(BackupCount(), 0U);

    document.Save(ChangedOnDisk::Overwrite);
    EXPECT_EQ(ReadBytes(BackupFolder() / kBackupName), "<p>a</p>\n");
    EXPECT_EQ(ReadBytes(page), TextToSave("<p>b</p>\n"));
    struct stat status {};
    ASSERT_EQ(::stat(page.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600U);
}

// Backups outlast a restart in the state folder; only without one do they go to the temporary
// folder.
TEST_F(VelmoraDataTest, BackupsGoToTheStateFolderElseTheTemporaryFolder) {
    const fs::path home = root_ / "home";
    const fs::path notAFolder = root_ / "a-file";
    WriteBytes(notAFolder, "");
    struct Case {
        const char* stateHome;  // nullptr: unset
        fs::path folder;
    };
    const Case cases[] = {
        {backups_.c_str(), backups_ / "velmora" / "backups"},
        {nullptr, home / ".local" / "state" / "velmora" / "backups"},
        {"relative", home / ".local" / "state" / "velmora" / "backups"},
        {notAFolder.c_str(), backups_ / ("velmora-backups-" + std::to_string(::geteuid()))},
    };
    const char* oldHome = std::getenv("HOME");
    const std::string keptHome = oldHome != nullptr ? oldHome : "";
    ::setenv("HOME", home.c_str(), 1);
    KelVelmoraData document = Loaded(Page("<p>a</p>\n"));
    for (const Case& test : cases) {
        if (test.stateHome != nullptr) {
            ::setenv("XDG_STATE_HOME", test.stateHome, 1);
        } else {
            ::unsetenv("XDG_STATE_HOME");
        }
        document.Review(document.GetHtml() + "<p>b</p>\r\n", options_);
        document.Save();
        EXPECT_EQ(fs::path(document.LastBackupPath()).parent_path(), test.folder);
        EXPECT_EQ(fs::status(test.folder).permissions() & fs::perms::all, fs::perms::owner_all);
    }
    ::setenv("HOME", keptHome.c_str(), 1);
}

TEST_F(VelmoraDataTest, PlantedFilesAndLinksInTheBackupFolderAreNeverWrittenThrough) {
    const fs::path victim = root_ / "victim";
    WriteBytes(victim, "keep me");
    fs::create_directories(BackupFolder());
    fs::permissions(BackupFolder(), fs::perms::owner_all);
    fs::create_symlink(victim, BackupFolder() / kBackupName);
    fs::create_directory(BackupFolder() / "index.bkp.2006.03.15.14.05.09-2.htm");
    KelVelmoraData document = Loaded(Page("<p>a</p>\r\n"));
    document.Save();
    EXPECT_EQ(ReadBytes(victim), "keep me");
    EXPECT_TRUE(fs::is_symlink(BackupFolder() / kBackupName));
    EXPECT_EQ(document.LastBackupPath(),
              (BackupFolder() / "index.bkp.2006.03.15.14.05.09-3.htm").string());
    EXPECT_EQ(ReadBytes(document.LastBackupPath()), "<p>a</p>\r\n");
}

TEST_F(VelmoraDataTest, BackupFolderThatIsNotPrivateIsRefusedAndThePageLeftAlone) {
    const fs::path elsewhere = root_ / "elsewhere";
    fs::create_directories(elsewhere);
    fs::create_directories(BackupFolder().parent_path());
    const std::function<void()> plants[] = {
        [&] { WriteBytes(BackupFolder(), "a file"); },
        [&] { fs::create_directory_symlink(elsewhere, BackupFolder()); },
        [&] {
            fs::create_directory(BackupFolder());
            fs::permissions(BackupFolder(),
                            fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
        },
    };
    for (const auto& plant : plants) {
        KelVelmoraData document = Loaded(Page("<p>a</p>\n"));
        plant();
        document.Review("<p>mine</p>\r\n", options_);
        try {
            document.Save();
            ADD_FAILURE() << "saved with a backup folder that is not private";
        } catch (const FileError& error) {
            EXPECT_EQ(error.path(), BackupFolder().string());
        }
        EXPECT_EQ(ReadBytes(pages_ / "index.htm"), "<p>a</p>\n");
        EXPECT_TRUE(document.IsModified());
        EXPECT_EQ(document.GetHtml(), "<p>mine</p>\r\n");
        EXPECT_TRUE(fs::is_empty(elsewhere));
        fs::remove_all(BackupFolder());
    }
}

TEST(TextToSave, GeneratorTagAddedOnce) {
    const std::string tag = "<meta name=\"GENERATOR\" content=\"Velmora\">";
    EXPECT_EQ(GeneratorTag(), tag);
    EXPECT_EQ(TextToSave("<p>x</p>\r\n"), tag + "<p>x</p>\r\n");
    EXPECT_EQ(TextToSave("<head></HEAD>"), "<head>" + tag + "\r\n</HEAD>");
    // On a head written a tag a line, the tag is indented as the line above the end tag.
    EXPECT_EQ(TextToSave("<head>\r\n  <title>t</title>\r\n</head>"),
              "<head>\r\n  <title>t</title>\r\n  " + tag + "\r\n</head>");
    EXPECT_EQ(TextToSave("<html>\r\n  <head>\r\n\t\t<title>t</title> \r\n  </head>"),
              "<html>\r\n  <head>\r\n\t\t<title>t</title> \r\n\t\t" + tag + "\r\n  </head>");
    const std::string tagged = "<head>" + tag + "</head>";
    EXPECT_EQ(TextToSave(tagged), tagged);
    const std::string otherCase = "<head><meta name=\"generator\" content=\"Velmora\"></head>";
    EXPECT_EQ(TextToSave(otherCase),
              "<head><meta name=\"generator\" content=\"Velmora\">" + tag + "\r\n</head>");
}

// The pieces handed out around the generator tag are the bytes Save writes, in every line-break
// style, with and without a head, and when the page already has the tag.
TEST_F(VelmoraDataTest, BytesToSaveInPiecesAreTheBytesSaveWrites) {
    const std::string body = "<title>t</title>\r\n</head>\r\n<p>a</p>\r\n";
    const std::string pages[] = {
        "<head>" + body,
        "<p>no head</p>\r\n",
        "<!DOCTYPE html>\r\n<html>\r\n<p>x</p>",
        "<head>" + GeneratorTag() + body,
        "",
        "\r\n",
    };
    for (const std::string& text : pages) {
        for (const std::string_view lineBreak : {"\r\n", "\n", "\r"}) {
            std::string bytes;
            for (const char c : text) {
                if (c != '\n') {
                    bytes += c == '\r' ? std::string(lineBreak) : std::string(1, c);
                }
            }
            for (const bool finalBreak : {true, false}) {
                const std::string page = finalBreak || !bytes.ends_with(lineBreak)
                                             ? bytes
                                             : bytes.substr(0, bytes.size() - lineBreak.size());
                const KelVelmoraData document = Loaded(Page(page));
                std::string pieces;
                EXPECT_TRUE(document.WriteBytesToSave([&](std::string_view piece) {
                    pieces += piece;
                    return true;
                }));
                EXPECT_EQ(pieces, document.BytesToSave()) << page;
                EXPECT_EQ(pieces,
                          FileBytesFromText(TextToSave(document.GetHtml()), DetectLineBreaks(page)))
                    << page;
            }
        }
    }
}

// A page with CR LF throughout is held as it was read; one with a stray break is converted.
TEST_F(VelmoraDataTest, CrLfPagesAreHeldAsReadAndGiveTheirBytesBack) {
    const std::string crlf(300 * 1024, 'x');
    const std::string page = crlf + "\r\n<p>a</p>\r\n";
    const KelVelmoraData held = Loaded(Page(page));
    EXPECT_EQ(held.GetSavedText(), page);
    EXPECT_TRUE(held.SaveKeepsOtherBytes());
    const KelVelmoraData stray = Loaded(Page(page + "b\n"));
    EXPECT_EQ(stray.GetSavedText(), page + "b\r\n");
    EXPECT_FALSE(stray.SaveKeepsOtherBytes());
}

TEST_F(VelmoraDataTest, SaveReplacesALinksTargetAndKeepsItsMode) {
    const fs::path target = Page("<p>a</p>\r\n", "real.htm");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(target, pages_ / "index.htm");
    KelVelmoraData document = Loaded(pages_ / "index.htm");
    document.Review("<p>b</p>\r\n", options_);
    document.Save();
    EXPECT_TRUE(fs::is_symlink(pages_ / "index.htm"));
    EXPECT_EQ(ReadBytes(target), TextToSave("<p>b</p>\r\n"));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(pages_), {}), 2);
}

TEST_F(VelmoraDataTest, FailedPageWriteKeepsTheDocumentModified) {
    fs::create_directories(pages_ / "gone");
    KelVelmoraData document = Loaded(Page("<p>a</p>\r\n", "gone/index.htm"));
    fs::remove_all(pages_ / "gone");
    document.Review("<p>b</p>\r\n", options_);
    try {
        document.Save();
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), (pages_ / "gone/index.htm").string());
    }
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(document.GetSavedText(), "<p>a</p>\r\n");
    EXPECT_EQ(BackupCount(), 0U);
}

TEST_F(VelmoraDataTest, CompressThenRevert) {
    KelVelmoraData document = Loaded(Page("<p>   a    b   </p>\n\n\n<p>c</p>\n"));
    const std::int32_t removable = document.GetSpaceToRemove();
    ASSERT_GT(removable, 0);
    document.Compress(options_);
    EXPECT_EQ(document.GetHtml(), CompressHtml(document.GetSavedText()));
    EXPECT_EQ(document.GetSpaceToRemove(), 0);
    EXPECT_TRUE(document.IsModified());
    document.Revert(options_);
    EXPECT_EQ(document.GetHtml(), document.GetSavedText());
    EXPECT_EQ(document.GetSpaceToRemove(), removable);
}

TEST_F(VelmoraDataTest, SaveAsWritesANewFileOrBacksUpTheOneItReplaces) {
    KelVelmoraData document = Loaded(Page("<p>a</p>\n"));
    document.EditTitle("Copy", options_);
    const fs::path copy = pages_ / "copy.htm";
    document.SaveAs(copy.string());
    EXPECT_EQ(document.GetFileName(), copy.string());
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(document.LastBackupPath(), "");
    EXPECT_EQ(BackupCount(), 0U);
    EXPECT_EQ(ReadBytes(copy), TextToSave("<title>Copy</title><p>a</p>\n"));
    EXPECT_EQ(ReadBytes(pages_ / "index.htm"), "<p>a</p>\n");

    WriteBytes(pages_ / "other.htm", "<p>other</p>\r\n");
    document.EditTitle("Over", options_);
    document.SaveAs((pages_ / "other.htm").string());
    EXPECT_EQ(ReadBytes(document.LastBackupPath()), "<p>other</p>\r\n");
    EXPECT_NE(ReadBytes(pages_ / "other.htm").find("<title>Over</title>"), std::string::npos);
    // The new file is the page's own from now on: a change there is noticed.
    WriteBytes(pages_ / "other.htm", "<p>changed</p>\n");
    document.EditTitle("Again", options_);
    EXPECT_THROW(document.Save(), PageChangedError);
}

// Every operation leaves the findings as a fresh review would give them.
TEST_F(VelmoraDataTest, CompressLeavesTheFindingsFresh) {
    KelVelmoraData document = Loaded(Page("<p>   a    b   </p>\n\n\n<p>c</p>\n"));
    document.Compress(options_);
    KelVelmoraData reviewed;
    reviewed.Review(document.GetHtml(), options_);
    EXPECT_EQ(document.GetAdvice(), reviewed.GetAdvice());
    EXPECT_EQ(document.GetRatingText(), reviewed.GetRatingText());
}

// What a report says, check by check.
std::vector<std::string> Said(const page_checks::PageCheckReport& report) {
    std::vector<std::string> said{report.title.value_or("(no title)")};
    for (const page_checks::CheckResult& check : report.checks) {
        said.push_back(std::string(CheckIdName(check.id)) + " " +
                       std::string(page_checks::CheckStateName(check.state)) + " " + check.message);
    }
    return said;
}

// The page checks kept beside the review, and the fixes they ask for, follow every change of the
// text and of the file, with the settings given once and the keyphrase kept for the file of the
// moment.
TEST_F(VelmoraDataTest, KeptPageChecksFollowEveryChangeOfTextAndFile) {
    const page_checks::TextWidthMeter meter;
    PageCheckOptions checks;
    checks.TitleMaximumCharacters = 40;
    checks.SetEnabled(CheckId::Social, false);
    const auto keyphraseOf = [](const std::string& file) {
        return file.ends_with("copy.htm") ? std::string("rye") : std::string("bread");
    };
    KelVelmoraData document([] { return kSaveTime; });
    EXPECT_TRUE(document.PageChecks().checks.empty());
    document.KeepPageChecks({checks, &meter, keyphraseOf});
    const auto fresh = [&] {
        PageCheckOptions focused = checks;
        focused.FocusKeyphrase = keyphraseOf(document.GetFileName());
        return Said(
            page_checks::RunPageChecks(document.GetHtml(), document.GetFileName(), focused, meter));
    };
    const auto operations = std::to_array<std::pair<const char*, std::function<void()>>>({
        {"load", [&] { document.Load(Page("<p>   fresh    bread   </p>\n").string(), options_); }},
        {"title", [&] { document.EditTitle("Fresh bread and rye from the oven today", options_); }},
        {"description", [&] { document.EditDescription("Rye and bread", options_); }},
        {"keywords", [&] { document.ChooseKeywordsAutomatically(options_); }},
        {"compress", [&] { document.Compress(options_); }},
        {"save", [&] { document.Save(); }},
        {"save as", [&] { document.SaveAs((pages_ / "copy.htm").string()); }},
        {"revert", [&] { document.Revert(options_); }},
        {"options", [&] { document.ApplyOptions(options_); }},
        {"fix", [&] {
             document.FixPageChecks({document.GetFileName(), "en", {}, {}}, checks,
                                    std::array{CheckId::Viewport, CheckId::Language}, options_);
         }},
    });
    EXPECT_TRUE(document.PageFixes().fixes.empty());
    for (const auto& [name, operation] : operations) {
        SCOPED_TRACE(name);
        operation();
        EXPECT_EQ(Said(document.PageChecks()), fresh());
        const page_checks::FixPlan planned = page_checks::PlanPageFixes(
            document.GetHtml(), {document.GetFileName(), {}, {}, {}}, checks);
        EXPECT_EQ(document.PageFixes(), planned);
        // Language and canonical need values the page cannot tell.
        EXPECT_TRUE(planned.NeedsSettings());
        EXPECT_TRUE(std::none_of(
            document.PageChecks().checks.begin(), document.PageChecks().checks.end(),
            [](const page_checks::CheckResult& check) { return check.id == CheckId::Social; }));
    }
}

TEST_F(VelmoraDataTest, NewOptionsReloadAnUneditedPageAndKeepEdits) {
    KelVelmoraData document = Loaded(Page("<title>a</title>\n"));
    WriteBytes(pages_ / "index.htm", "<title>b</title>\n");
    EXPECT_EQ(document.ApplyOptions(options_), std::nullopt);
    EXPECT_EQ(document.GetHtml(), "<title>b</title>\r\n");

    document.EditTitle("mine", options_);
    WriteBytes(pages_ / "index.htm", "<title>c</title>\n");
    EXPECT_EQ(document.ApplyOptions(options_), std::nullopt);
    EXPECT_EQ(document.GetHtml(), "<title>mine</title>\r\n");

    document.Revert(options_);
    fs::remove(pages_ / "index.htm");
    const std::optional<std::string> error = document.ApplyOptions(options_);
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find((pages_ / "index.htm").string()), std::string::npos);
    EXPECT_EQ(document.GetHtml(), "<title>b</title>\r\n");
}

TEST_F(VelmoraDataTest, TypedEditsReachThePageInItsEncoding) {
    KelVelmoraData document = Loaded(Page("<title>Caf\xE9</title><p>caf\xE9 bar</p>\n"));
    document.EditTitle(
        "Cr\xC3\xA8me\n  br\xC3\xBBl\xC3\xA9"
        "e",
        options_);
    EXPECT_EQ(GetTitle(document.GetHtml()),
              "Cr\xE8me br\xFBl\xE9"
              "e");
    document.EditKeywords("bar, caf\xC3\xA9", KelVelmoraData::KeywordOrder::AsTyped, options_);
    EXPECT_EQ(document.GetKeywords(), (KeywordList{"bar", "caf\xE9"}));
}

// A document that analyses only when needed writes exactly the page one that keeps its findings
// writes, through every operation, and skips the candidate scan when nothing needs it.
TEST_F(VelmoraDataTest, AnalysisOnlyWhenNeededWritesTheSamePages) {
    const fs::path page = Page(
        "<html><head><title>Cheap hosting</title>\n<meta name=\"keywords\" content=\"zebra, "
        "web hosting\">\n</head><body>  <p>web   hosting email  cheap web hosting email</p>\n"
        "<p>email domain web hosting</p>\n</body></html>\n");
    KelVelmoraData kept([] { return kSaveTime; });
    KelVelmoraData lazy([] { return kSaveTime; }, KelVelmoraData::Analysis::WhenNeeded);
    kept.Load(page.string(), options_);
    lazy.Load(page.string(), options_);
    EXPECT_TRUE(lazy.GetCandidateList().empty());
    EXPECT_EQ(lazy.BytesToSave(), kept.BytesToSave());

    const std::vector<std::function<void(KelVelmoraData&)>> operations = {
        [&](KelVelmoraData& d) { d.EditTitle("Web hosting, cheap", options_); },
        [&](KelVelmoraData& d) { d.EditDescription("Hosting and domains", options_); },
        [&](KelVelmoraData& d) {
            d.EditKeywords("domain, web hosting, email", KelVelmoraData::KeywordOrder::AsTyped,
                           options_);
        },
        [&](KelVelmoraData& d) { d.Compress(options_); },
        [&](KelVelmoraData& d) {
            d.EditKeywords("domain, email, zebra", KelVelmoraData::KeywordOrder::AsTheDialog,
                           options_);
        },
        [&](KelVelmoraData& d) { d.ChooseKeywordsAutomatically(options_); },
        [&](KelVelmoraData& d) { d.EditTitle("Hosting", options_); },
    };
    for (std::size_t i = 0; i < operations.size(); ++i) {
        operations[i](kept);
        operations[i](lazy);
        EXPECT_EQ(lazy.BytesToSave(), kept.BytesToSave()) << "after operation " << i;
    }
    EXPECT_TRUE(lazy.GetCandidateList().empty());
}

}  // namespace
}  // namespace velmora
