// Saves that fail part-way: a full disk, a read-only temporary folder, a page that turned into a
// folder or a device, a folder that is gone. Each must leave the page as it was, name the file
// and the system's reason, and keep the document modified so the user can save again.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "document/file_error.h"
#include "document/velmora_data.h"
#include "tests/support/file_bytes.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

using test::ReadBytes;
using test::WriteBytes;

// Pages and backups in a private folder; small file systems mounted inside it where a test
// needs a full or read-only disk (mounting needs root, as in CI; otherwise the test is skipped).
class SaveFailureTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(root_ / "backups"); }

    // The small disks go before the folder they are mounted in.
    void TearDown() override {
        for (auto it = mounts_.rbegin(); it != mounts_.rend(); ++it) {
            ::umount2(it->c_str(), MNT_DETACH);
        }
    }

    void UseBackupFolder(const fs::path& folder) { tmpdir_.Set(folder); }

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

    // A small ext4 without extents, which cannot reserve space ahead, mounted at root/name.
    bool MountExt4WithoutExtents(const std::string& name) {
        const fs::path folder = root_ / name;
        const fs::path image = root_ / (name + ".img");
        fs::create_directories(folder);
        std::ofstream(image).close();
        fs::resize_file(image, 4 << 20);
        const std::string make =
            "mkfs.ext4 -q -F -O ^extent,^64bit -b 1024 '" + image.string() + "' >/dev/null 2>&1";
        const std::string mount =
            "mount -o loop '" + image.string() + "' '" + folder.string() + "' >/dev/null 2>&1";
        if (std::system(make.c_str()) != 0 || std::system(mount.c_str()) != 0) {
            skipReason_ =
                "cannot make and mount a small ext4 without extents (mkfs.ext4, loop "
                "devices and root are needed)";
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

    // Sets or clears a folder's immutable flag, with which even root cannot create a file in it.
    static bool SetImmutable(const fs::path& folder, bool on) {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            return false;
        }
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        const int error = errno;
        ::close(fd);
        errno = error;
        return done;
    }

    KelVelmoraData LoadedAndEdited(const fs::path& page) {
        KelVelmoraData document([] { return LocalDateTime{2026, 12, 7, 9, 30, 0}; });
        document.Load(page.string(), options_);
        document.Review(document.GetHtml() + std::string(20000, 'n') + "\r\n", options_);
        return document;
    }

    // Saves, and returns the error; a save that goes through is a test failure.
    static std::optional<FileError> SaveMustFail(KelVelmoraData& document,
                                                 const std::string& what) {
        try {
            document.Save();
        } catch (const FileError& error) {
            return error;
        }
        ADD_FAILURE() << "saved " << what;
        return std::nullopt;
    }

    static bool Mentions(const FileError& error, std::string_view reason) {
        return std::string_view(error.what()).find(reason) != std::string_view::npos;
    }

    test::TemporaryFolder folder_;
    fs::path root_ = folder_.path();
    test::ScopedTmpdir tmpdir_{root_ / "backups"};
    std::vector<fs::path> mounts_;
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

    if (const auto error = SaveMustFail(document, "onto a full disk")) {
        EXPECT_EQ(error->path(), page.string());
        EXPECT_TRUE(Mentions(*error, std::strerror(ENOSPC))) << error->what();
    }
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(ReadBytes(page), oldText);
    EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "site"), {}), 2)
        << "temporary file left";

    fs::remove(filler);
    document.Save();
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(ReadBytes(page), document.GetHtml());
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

    // Where the system has no unnamed files, the backup is written under a hidden name: a full
    // disk must leave nothing under a backup's name, nor the hidden file.
    for (const bool unnamed : {true, false}) {
        SaveSeams seams;
        seams.unnamedBackups = unnamed;
        document.SetSaveSeams(seams);
        for (const auto& [folder, reason] :
             {std::pair{root_ / "full-tmp", ENOSPC}, std::pair{root_ / "ro-tmp", EROFS}}) {
            UseBackupFolder(folder);
            if (const auto error =
                    SaveMustFail(document, "without a backup in " + folder.string())) {
                EXPECT_TRUE(error->path().starts_with(folder.string() + "/")) << error->path();
                EXPECT_TRUE(Mentions(*error, std::strerror(reason))) << error->what();
            }
            EXPECT_TRUE(document.IsModified());
            EXPECT_EQ(ReadBytes(page), oldText);
            for (const auto& entry : fs::recursive_directory_iterator(folder)) {
                EXPECT_TRUE(entry.is_directory() || entry.path().filename() == "filler")
                    << entry.path() << ", unnamed " << unnamed;
            }
        }
    }
    document.SetSaveSeams({});

    UseBackupFolder(root_ / "backups");
    document.Save();
    EXPECT_EQ(ReadBytes(page), document.GetHtml());
    EXPECT_EQ(ReadBytes(document.LastBackupPath()), oldText);
}

TEST_F(SaveFailureTest, PageReplacedByAFolderIsReportedAndLeftAlone) {
    fs::create_directories(root_ / "site");
    const fs::path page = root_ / "site" / "index.htm";
    WriteBytes(page, "<p>old</p>\r\n");
    KelVelmoraData document = LoadedAndEdited(page);
    fs::remove(page);
    fs::create_directories(page / "inside");

    if (const auto error = SaveMustFail(document, "over a folder")) {
        EXPECT_EQ(error->path(), page.string());
        EXPECT_TRUE(Mentions(*error, std::strerror(EISDIR))) << error->what();
    }
    EXPECT_TRUE(document.IsModified());
    EXPECT_TRUE(fs::is_directory(page / "inside"));

    fs::remove_all(page);
    EXPECT_THROW(document.Save(), PageChangedError);
    document.Save(ChangedOnDisk::Overwrite);
    EXPECT_EQ(ReadBytes(page), document.GetHtml());
}

TEST_F(SaveFailureTest, FolderGoneBetweenLoadAndSaveIsReportedAndNothingIsCreated) {
    const fs::path site = root_ / "site";
    fs::create_directories(site);
    const fs::path page = site / "index.htm";
    WriteBytes(page, "<p>old</p>\r\n");
    KelVelmoraData document = LoadedAndEdited(page);
    fs::remove_all(site);

    if (const auto error = SaveMustFail(document, "into a folder that is gone")) {
        EXPECT_EQ(error->path(), page.string());
        EXPECT_TRUE(Mentions(*error, std::strerror(ENOENT))) << error->what();
    }
    EXPECT_TRUE(document.IsModified());
    EXPECT_FALSE(fs::exists(site));

    fs::create_directories(site);
    document.Save(ChangedOnDisk::Overwrite);
    EXPECT_EQ(ReadBytes(page), document.GetHtml());
}

// TMPDIR that names a file or nothing is passed over for /tmp, as the C library does, so the
// save goes on with its backup there.
TEST_F(SaveFailureTest, TmpdirThatIsAFileOrMissingFallsBackToTmp) {
    if (!fs::is_directory("/tmp")) {
        GTEST_SKIP() << "no /tmp to fall back to";
    }
    fs::create_directories(root_ / "site");
    // A name of its own, so that backups of other runs in /tmp are never touched.
    const fs::path page = root_ / "site" / (root_.filename().string() + ".htm");
    const std::string oldText = "<p>old</p>\r\n";
    WriteBytes(page, oldText);
    KelVelmoraData document = LoadedAndEdited(page);
    WriteBytes(root_ / "a-file", "");

    std::string previous = oldText;
    for (const fs::path& tmpdir : {root_ / "a-file", root_ / "missing"}) {
        UseBackupFolder(tmpdir);
        // No state folder either: it cannot be made inside a file.
        ::setenv("XDG_STATE_HOME", (root_ / "a-file").c_str(), 1);
        document.Review(document.GetHtml() + "<p>more</p>\r\n", options_);
        document.Save();
        EXPECT_EQ(ReadBytes(page), document.GetHtml());
        EXPECT_EQ(fs::path(document.LastBackupPath()).parent_path(),
                  "/tmp/velmora-backups-" + std::to_string(::geteuid()));
        EXPECT_EQ(ReadBytes(document.LastBackupPath()), previous);
        fs::remove(document.LastBackupPath());
        previous = document.GetHtml();
    }
}

// A device where the page was, such as /dev/full, is refused before anything is written; the
// device is neither written to nor replaced.
TEST_F(SaveFailureTest, PageReplacedByALinkToDevFullIsRefused) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    fs::create_directories(root_ / "site");
    const fs::path page = root_ / "site" / "index.htm";
    WriteBytes(page, "<p>old</p>\r\n");
    KelVelmoraData document = LoadedAndEdited(page);
    fs::remove(page);
    fs::create_symlink("/dev/full", page);

    if (const auto error = SaveMustFail(document, "onto a device")) {
        EXPECT_EQ(error->path(), page.string());
        EXPECT_TRUE(Mentions(*error, "Not a regular file")) << error->what();
    }
    EXPECT_TRUE(document.IsModified());
    EXPECT_TRUE(fs::is_symlink(page));
    EXPECT_TRUE(fs::is_character_file("/dev/full"));

    fs::remove(page);
    document.Save(ChangedOnDisk::Overwrite);
    EXPECT_EQ(ReadBytes(page), document.GetHtml());
}

// When the folder refuses new files, the page is written in place; a full disk must then fail
// before the first byte of the page changes.
TEST_F(SaveFailureTest, FullDiskInAFolderThatRefusesNewFilesKeepsThePageWhole) {
    if (!MountSmallDisk("site", "")) {
        GTEST_SKIP() << skipReason_;
    }
    const fs::path site = root_ / "site";
    const std::string oldText = "<html><head></head><body>old</body></html>\r\n";
    const fs::path page = site / "index.htm";
    WriteBytes(page, oldText);
    KelVelmoraData document = LoadedAndEdited(page);
    const fs::path filler = FillUp(site);
    if (!SetImmutable(site, true)) {
        GTEST_SKIP() << "cannot make a folder refuse new files: " << std::strerror(errno);
    }

    if (const auto error = SaveMustFail(document, "onto a full disk")) {
        EXPECT_EQ(error->path(), page.string());
        EXPECT_TRUE(Mentions(*error, std::strerror(ENOSPC))) << error->what();
    }
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(ReadBytes(page), oldText);

    ASSERT_TRUE(SetImmutable(site, false));
    fs::remove(filler);
    ASSERT_TRUE(SetImmutable(site, true));
    document.Save();
    EXPECT_EQ(ReadBytes(page), document.GetHtml());
    EXPECT_EQ(std::distance(fs::directory_iterator(site), {}), 1);
    SetImmutable(site, false);
}

// The new file's data reaches the disk before it takes the page's place; a sync the system refuses
// (an NFS or quota error) stops the save with the page untouched and the backup named.
TEST_F(SaveFailureTest, DataSyncComesBeforeTheRenameAndAFailedOneStopsTheSave) {
    fs::create_directories(root_ / "site");
    const std::string oldText = "<p>old</p>\r\n";
    const fs::path page = root_ / "site" / "index.htm";
    WriteBytes(page, oldText);
    KelVelmoraData document = LoadedAndEdited(page);

    std::vector<std::string> events;
    SaveSeams seams;
    seams.syncData = [&](int fd) {
        events.push_back("sync");
        return ::fdatasync(fd);
    };
    seams.reached = [&](SaveStep step) {
        if (step == SaveStep::Renaming) {
            events.push_back("rename");
        }
    };
    document.SetSaveSeams(seams);
    document.Save();
    EXPECT_EQ(events, (std::vector<std::string>{"sync", "rename"}));

    const std::string saved = ReadBytes(page);
    document.Review(document.GetHtml() + "<p>more</p>\r\n", options_);
    seams.syncData = [](int) {
        errno = EIO;
        return -1;
    };
    document.SetSaveSeams(seams);
    if (const auto error = SaveMustFail(document, "after a failed sync")) {
        EXPECT_EQ(error->path(), page.string());
        EXPECT_TRUE(Mentions(*error, std::strerror(EIO))) << error->what();
        EXPECT_TRUE(Mentions(*error, document.LastBackupPath())) << error->what();
        EXPECT_EQ(ReadBytes(document.LastBackupPath()), saved);
    }
    EXPECT_EQ(ReadBytes(page), saved);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "site"), {}), 1)
        << "temporary file left";
}

// A save killed while its backup is written, where the system has no unnamed files, leaves no
// file under a backup's name.
TEST_F(SaveFailureTest, KilledBackupWithoutUnnamedFilesLeavesNoPartialBackup) {
    fs::create_directories(root_ / "site");
    const fs::path page = root_ / "site" / "index.htm";
    WriteBytes(page, "<p>old</p>\r\n" + std::string(1 << 20, ' '));
    KelVelmoraData document = LoadedAndEdited(page);
    SaveSeams seams;
    seams.unnamedBackups = false;
    seams.reached = [](SaveStep step) {
        if (step == SaveStep::BackupWritten) {
            ::raise(SIGKILL);
        }
    };
    document.SetSaveSeams(seams);
    const pid_t saver = ::fork();
    if (saver == 0) {
        document.Save();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(saver, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    const fs::path backups = root_ / "backups" / "velmora" / "backups";
    for (const auto& entry : fs::directory_iterator(backups)) {
        EXPECT_TRUE(entry.path().filename().string().starts_with(".")) << entry.path();
    }

    seams.reached = {};
    document.SetSaveSeams(seams);
    document.Save();
    EXPECT_EQ(ReadBytes(document.LastBackupPath()), "<p>old</p>\r\n" + std::string(1 << 20, ' '));
}

// Where space cannot be reserved (ext4 without extents), an in-place write puts the bytes past
// the old end first, so a full disk fails before the first old byte changes.
TEST_F(SaveFailureTest, FullDiskWithoutReservationKeepsAnInPlacePageWhole) {
    if (!MountExt4WithoutExtents("site")) {
        GTEST_SKIP() << skipReason_;
    }
    const fs::path page = root_ / "site" / "index.htm";
    const std::string oldText =
        "<html><head></head><body>" + std::string(200000, 'o') + "</body></html>\r\n";
    WriteBytes(page, oldText);
    fs::create_hard_link(page, root_ / "site" / "home.htm");
    KelVelmoraData document([] { return LocalDateTime{2026, 12, 7, 9, 30, 0}; });
    document.Load(page.string(), options_);
    document.Review(document.GetHtml() + std::string(400000, 'n') + "\r\n", options_);
    const fs::path filler = FillUp(root_ / "site");

    if (const auto error = SaveMustFail(document, "onto a full disk")) {
        EXPECT_EQ(error->path(), page.string());
        EXPECT_TRUE(Mentions(*error, std::strerror(ENOSPC))) << error->what();
        EXPECT_TRUE(Mentions(*error, "backup")) << error->what();
    }
    EXPECT_TRUE(ReadBytes(page) == oldText) << "the page changed";

    fs::remove(filler);
    document.Save();
    EXPECT_TRUE(ReadBytes(root_ / "site" / "home.htm") == document.BytesToSave());
}

// Inode flags the saver can read (no-dump here), and as root the trusted attributes only root
// can list, stay on the page.
TEST_F(SaveFailureTest, InodeFlagsAndRootsAttributesAreKept) {
    if (!MountExt4WithoutExtents("site")) {
        GTEST_SKIP() << skipReason_;
    }
    const fs::path page = root_ / "site" / "index.htm";
    WriteBytes(page, "<p>old</p>\r\n");
    const int fd = ::open(page.c_str(), O_RDONLY | O_CLOEXEC);
    int flags = 0;
    ASSERT_EQ(::ioctl(fd, FS_IOC_GETFLAGS, &flags), 0);
    flags |= FS_NODUMP_FL;
    ASSERT_EQ(::ioctl(fd, FS_IOC_SETFLAGS, &flags), 0) << std::strerror(errno);
    ::close(fd);
    ASSERT_EQ(::setxattr(page.c_str(), "trusted.velmora-test", "root's", 6, 0), 0)
        << std::strerror(errno);

    KelVelmoraData document = LoadedAndEdited(page);
    document.Save();
    EXPECT_EQ(ReadBytes(page), document.BytesToSave());
    const int saved = ::open(page.c_str(), O_RDONLY | O_CLOEXEC);
    flags = 0;
    ASSERT_EQ(::ioctl(saved, FS_IOC_GETFLAGS, &flags), 0);
    ::close(saved);
    EXPECT_NE(flags & FS_NODUMP_FL, 0);
    char value[16];
    const ssize_t size = ::getxattr(page.c_str(), "trusted.velmora-test", value, sizeof value);
    EXPECT_EQ(std::string(value, static_cast<std::size_t>(std::max<ssize_t>(size, 0))), "root's");
}

// A page that is a mount point of its own, as containers mount single files, cannot be renamed
// over: it is written in place.
TEST_F(SaveFailureTest, SingleFileBindMountIsWrittenInPlace) {
    fs::create_directories(root_ / "site");
    const fs::path source = root_ / "source.htm";
    const fs::path page = root_ / "site" / "index.htm";
    WriteBytes(source, "<p>old</p>\r\n");
    WriteBytes(page, "");
    if (::mount(source.c_str(), page.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        GTEST_SKIP() << "cannot bind-mount a file: " << std::strerror(errno);
    }
    mounts_.push_back(page);
    KelVelmoraData document = LoadedAndEdited(page);
    document.Save();
    EXPECT_EQ(ReadBytes(page), document.BytesToSave());
    EXPECT_EQ(ReadBytes(source), document.BytesToSave());
    EXPECT_EQ(ReadBytes(document.LastBackupPath()), "<p>old</p>\r\n");
}

}  // namespace
}  // namespace velmora
