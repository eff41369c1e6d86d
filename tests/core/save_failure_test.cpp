// Saves that fail part-way: a full disk, a read-only temporary folder, a page that turned into a
// folder. Each must leave the page as it was, name the file and the system's
// reason, and keep the document modified so the user can save again.

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "core/file_error.h"
#include "core/velmora_data.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

void WriteBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Pages and backups in a private folder; small file systems mounted inside it where a test
// needs a full or read-only disk (mounting needs root, as in CI; otherwise the test is skipped).
class SaveFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "velmora-save-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        fs::create_directories(root_ / "backups");
        if (const char* old = std::getenv("TMPDIR")) {
            oldTmpdir_ = old;
        }
        UseBackupFolder(root_ / "backups");
    }

    void TearDown() override {
        for (auto it = mounts_.rbegin(); it != mounts_.rend(); ++it) {
            ::umount2(it->c_str(), MNT_DETACH);
        }
        if (oldTmpdir_) {
            setenv("TMPDIR", oldTmpdir_->c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
        fs::remove_all(root_);
    }

    void UseBackupFolder(const fs::path& folder) { setenv("TMPDIR", folder.c_str(), 1); }

    // A tmpfs of the given size at root/name; false when the system refuses to mount it.
    bool MountSmallDisk(const std::string& name, const std::string& options) {
        const fs::path folder = root_ / name;
        fs::create_directories(folder);
        const unsigned long flags = options.find("ro") == 0 ? MS_RDONLY : 0;
        if (::mount("tmpfs", folder.c_str(), "tmpfs", flags, "size=64k") != 0) {
            skipReason_ = std::string("cannot mount a small file system: ") + std::strerror(errno);
            return false;
        }
        mounts_.push_back(folder);
        return true;
    }

    // Fills the file system at folder until a write fails; returns the filler to remove later.
    static fs::path FillUp(const fs::path& folder) {
        const fs::path filler = folder / "filler";
        std::ofstream out(filler, std::ios::binary);
        const std::string block(4096, 'x');
        while (out.write(block.data(), static_cast<std::streamsize>(block.size()))) {
            out.flush();
        }
        return filler;
    }

    KelVelmoraData LoadedAndEdited(const fs::path& page) {
        KelVelmoraData document([] { return LocalDateTime{2026, 12, 7, 9, 30, 0}; });
        document.Load(page.string(), options_);
        document.Review(document.Html + std::string(20000, 'n') + "\r\n", options_);
        return document;
    }

    fs::path root_;
    std::vector<fs::path> mounts_;
    std::optional<std::string> oldTmpdir_;
    std::string skipReason_;
    KelVelmoraOptions options_;
};

TEST_F(SaveFailureTest, FullDiskUnderThePageKeepsItAndASecondSaveWorks) {
    if (!MountSmallDisk("site", "")) {
        GTEST_SKIP() << skipReason_;
    }
    const std::string oldText = "<html><head></head><body>old</body></html>\r\n";
    const fs::path page = root_ / "site" / "index.htm";
    WriteBytes(page, oldText);
    KelVelmoraData document = LoadedAndEdited(page);
    const fs::path filler = FillUp(root_ / "site");

    try {
        document.Save();
        ADD_FAILURE() << "saved onto a full disk";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), page.string());
        EXPECT_NE(std::string(error.what()).find(std::strerror(ENOSPC)), std::string::npos)
            << error.what();
    }
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(ReadBytes(page), oldText);
    EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "site"), {}), 2)
        << "temporary file left";

    fs::remove(filler);
    document.Save();
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(ReadBytes(page), document.Html);
}

TEST_F(SaveFailureTest, FullOrReadOnlyBackupFolderLeavesThePageUntouched) {
    if (!MountSmallDisk("full-tmp", "") || !MountSmallDisk("ro-tmp", "ro")) {
        GTEST_SKIP() << skipReason_;
    }
    fs::create_directories(root_ / "site");
    const std::string oldText = "<p>old</p>\r\n";
    const fs::path page = root_ / "site" / "index.htm";
    WriteBytes(page, oldText);
    KelVelmoraData document = LoadedAndEdited(page);
    FillUp(root_ / "full-tmp");

    for (const auto& [folder, reason] :
         {std::pair{root_ / "full-tmp", ENOSPC}, std::pair{root_ / "ro-tmp", EROFS}}) {
        UseBackupFolder(folder);
        try {
            document.Save();
            ADD_FAILURE() << "saved without a backup in " << folder;
        } catch (const FileError& error) {
            EXPECT_EQ(fs::path(error.path()).parent_path(), folder);
            EXPECT_NE(std::string(error.what()).find(std::strerror(reason)), std::string::npos)
                << error.what();
        }
        EXPECT_TRUE(document.IsModified());
        EXPECT_EQ(ReadBytes(page), oldText);
    }

    UseBackupFolder(root_ / "backups");
    document.Save();
    EXPECT_EQ(ReadBytes(page), document.Html);
    EXPECT_EQ(ReadBytes(document.LastBackupPath()), oldText);
}

TEST_F(SaveFailureTest, PageReplacedByAFolderIsReportedAndLeftAlone) {
    fs::create_directories(root_ / "site");
    const fs::path page = root_ / "site" / "index.htm";
    WriteBytes(page, "<p>old</p>\r\n");
    KelVelmoraData document = LoadedAndEdited(page);
    fs::remove(page);
    fs::create_directories(page / "inside");

    try {
        document.Save();
        ADD_FAILURE() << "saved over a folder";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), page.string());
        EXPECT_NE(std::string(error.what()).find(std::strerror(EISDIR)), std::string::npos)
            << error.what();
    }
    EXPECT_TRUE(document.IsModified());
    EXPECT_TRUE(fs::is_directory(page / "inside"));

    fs::remove_all(page);
    document.Save();
    EXPECT_EQ(ReadBytes(page), document.Html);
}

}  // namespace
}  // namespace velmora
