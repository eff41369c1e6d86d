// Saves under attack: line breaks and binary data, backups that must stay exact and private,
// rights, ACLs and hard links, changes made by another program, concurrent writers and kill -9.
// Each scenario runs as the page's owner and, when the tests run as root, again as an
// unprivileged second user; the scenarios between users need root.

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/html_functions_write.h"
#include "document/file_error.h"
#include "document/velmora_data.h"
#include "tests/support/file_bytes.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

// Users that need no account: setresuid takes any number. The page's owner is alice; bob and
// carol share her editors' group.
constexpr uid_t kSecondUser = 4242;
constexpr uid_t kThirdUser = 4343;
constexpr uid_t kAlice = 4444;
constexpr uid_t kBob = kSecondUser;
constexpr uid_t kCarol = kThirdUser;
constexpr gid_t kEditors = 4500;
constexpr LocalDateTime kSaveTime{2026, 12, 7, 12, 0, 0};
const std::string kGenerator = "<meta name=\"GENERATOR\" content=\"Velmora\">";

bool IsRoot() {
    return ::geteuid() == 0;
}

// Starts body in a child process as the given user (and group of the same number, with the
// supplementary groups given); returns its process id.
pid_t StartAs(uid_t user, const std::function<void()>& body,
              const std::vector<gid_t>& groups = {}) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgroups(groups.size(), groups.data()) != 0 || ::setresgid(user, user, user) != 0 ||
            ::setresuid(user, user, user) != 0) {
            ::_exit(2);
        }
        // Changing user makes a process undumpable, which closes /proc/self to it.
        ::prctl(PR_SET_DUMPABLE, 1);
        body();
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    return pid;
}

// The exit code of a child, or 128 + the signal that ended it.
int WaitFor(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Runs body as the user; true when it ran to its end without a test failure.
bool RunAs(uid_t user, const std::function<void()>& body, const std::vector<gid_t>& groups = {}) {
    return WaitFor(StartAs(user, body, groups)) == 0;
}

// A byte read from fd within a few seconds: the other side of a test's pipe got where it waits.
bool Told(int fd) {
    pollfd ready{fd, POLLIN, 0};
    char byte = 0;
    return ::poll(&ready, 1, 10000) == 1 && ::read(fd, &byte, 1) == 1;
}

void Tell(int fd) {
    EXPECT_EQ(::write(fd, "x", 1), 1);
}

// A POSIX ACL in the kernel's extended attribute form: user::rw-, user:ID:rw- for each named
// user, group::GROUP, mask::rw-, other::r--.
std::string AclBytes(std::uint16_t group, const std::vector<std::uint32_t>& users) {
    const auto entry = [](std::uint16_t tag, std::uint16_t permissions, std::uint32_t id) {
        std::string bytes(8, '\0');
        std::memcpy(bytes.data(), &tag, 2);
        std::memcpy(bytes.data() + 2, &permissions, 2);
        std::memcpy(bytes.data() + 4, &id, 4);
        return bytes;
    };
    const std::uint32_t version = 2;
    std::string acl(reinterpret_cast<const char*>(&version), 4);
    acl += entry(0x01, 6, ~0U);
    for (const std::uint32_t user : users) {
        acl += entry(0x02, 6, user);
    }
    return acl + entry(0x04, group, ~0U) + entry(0x10, 6, ~0U) + entry(0x20, 4, ~0U);
}

// A small page in one line break; extraHead is a line put after the title.
std::string Page(std::string_view lineBreak, std::string_view title, bool finalBreak,
                 std::string_view extraHead = {}) {
    std::string page;
    const auto line = [&](std::string_view text) { page.append(text).append(lineBreak); };
    line("<html>");
    line("<head>");
    line("<title>" + std::string(title) + "</title>");
    if (!extraHead.empty()) {
        line(extraHead);
    }
    line("</head>");
    line("<body>");
    line("<p>Fresh bread every day.</p>");
    line("</body>");
    page.append("</html>");
    if (finalBreak) {
        page.append(lineBreak);
    }
    return page;
}

mode_t ModeOf(const fs::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

enum class Saver { Owner, SecondUser };

class SaveSafetyTest : public ::testing::TestWithParam<Saver> {
protected:
    void SetUp() override {
        if (GetParam() == Saver::SecondUser && !IsRoot()) {
            GTEST_SKIP() << "acting as a second user needs root";
        }
        user_ = GetParam() == Saver::Owner ? ::geteuid() : kSecondUser;
        fs::permissions(folder_.path(), fs::perms::owner_all | fs::perms::group_read |
                                            fs::perms::group_exec | fs::perms::others_read |
                                            fs::perms::others_exec);
        site_ = folder_.path() / "site";
        tmp_ = folder_.path() / "tmp";
        fs::create_directories(site_);
        fs::create_directories(tmp_);
        if (GetParam() == Saver::SecondUser) {
            ASSERT_EQ(::chown(site_.c_str(), kSecondUser, kSecondUser), 0);
            ASSERT_EQ(::chown(tmp_.c_str(), kSecondUser, kSecondUser), 0);
        }
        tmpdir_.Set(tmp_);
    }

    // Runs the scenario as the saver of this run.
    void AsSaver(const std::function<void()>& body) {
        if (GetParam() == Saver::Owner) {
            body();
        } else {
            EXPECT_TRUE(RunAs(kSecondUser, body)) << "as user " << kSecondUser;
        }
    }

    KelVelmoraData Loaded(const fs::path& page) const {
        KelVelmoraData document([] { return kSaveTime; });
        document.Load(page.string(), options_);
        return document;
    }

    void EditTitle(KelVelmoraData& document, std::string_view title) const {
        document.Review(SetTitle(document.GetHtml(), title), options_);
    }

    fs::path BackupFolder() const { return tmp_ / "velmora" / "backups"; }

    // The complete backups, in name order.
    std::vector<fs::path> Backups() const {
        std::vector<fs::path> backups;
        if (fs::exists(BackupFolder())) {
            for (const auto& entry : fs::directory_iterator(BackupFolder())) {
                backups.push_back(entry.path());
            }
        }
        std::sort(backups.begin(), backups.end());
        return backups;
    }

    test::TemporaryFolder folder_;
    fs::path site_, tmp_;
    uid_t user_ = 0;
    test::ScopedTmpdir tmpdir_{folder_.path()};
    KelVelmoraOptions options_;
};

INSTANTIATE_TEST_SUITE_P(AsOwnerAndSecondUser, SaveSafetyTest,
                         ::testing::Values(Saver::Owner, Saver::SecondUser),
                         [](const ::testing::TestParamInfo<Saver>& run) {
                             return run.param == Saver::Owner ? "Owner" : "SecondUser";
                         });

TEST_P(SaveSafetyTest, PagesOfOneLineBreakComeBackByteIdenticalOutsideTheEdit) {
    AsSaver([&] {
        for (const std::string_view lineBreak : {"\n", "\r\n", "\r"}) {
            for (const bool finalBreak : {true, false}) {
                const fs::path page = site_ / "index.htm";
                const std::string original = Page(lineBreak, "Old", finalBreak);
                WriteBytes(page, original);
                KelVelmoraData document = Loaded(page);
                EXPECT_TRUE(document.SaveKeepsOtherBytes());
                EditTitle(document, "New");
                document.Save();
                EXPECT_EQ(ReadBytes(page), Page(lineBreak, "New", finalBreak, kGenerator))
                    << "line break " << static_cast<int>(lineBreak.back()) << ", final "
                    << finalBreak;
                EXPECT_EQ(ReadBytes(document.LastBackupPath()), original);
                fs::remove(document.LastBackupPath());
            }
        }
    });
}

// A PHP page may carry binary data after __halt_compiler(); it must survive as long as it holds no
// byte the text form changes, and otherwise the backup keeps it and the save says so.
TEST_P(SaveSafetyTest, BinaryAfterHaltCompilerSurvivesOrIsKeptInTheBackup) {
    AsSaver([&] {
        std::string withoutCr;
        std::string everyByte;
        for (int byte = 0; byte < 256; ++byte) {
            everyByte += static_cast<char>(byte);
            if (byte != '\r') {
                withoutCr += static_cast<char>(byte);
            }
        }
        const std::string head = "<?php include 'x'; ?>\n<html><head>\n<title>t</title>\n</head>\n";
        const std::string code = "<?php __halt_compiler();";
        const fs::path page = site_ / "packed.php";

        WriteBytes(page, head + code + withoutCr + withoutCr);
        KelVelmoraData clean = Loaded(page);
        EXPECT_TRUE(clean.SaveKeepsOtherBytes());
        clean.Save();
        const std::string withTag =
            "<?php include 'x'; ?>\n<html><head>\n<title>t</title>\n" + kGenerator + "\n</head>\n";
        EXPECT_EQ(ReadBytes(page), withTag + code + withoutCr + withoutCr);

        const std::string packed = head + code + everyByte + "\r\n\x1A";
        WriteBytes(page, packed);
        KelVelmoraData mixed = Loaded(page);
        EXPECT_FALSE(mixed.SaveKeepsOtherBytes());
        mixed.Save();
        EXPECT_EQ(ReadBytes(mixed.LastBackupPath()), packed);
    });
}

TEST_P(SaveSafetyTest, TwentySavesInOneSecondKeepTwentyExactPrivateBackups) {
    AsSaver([&] {
        const fs::path page = site_ / "index.htm";
        WriteBytes(page, Page("\n", "Version 0", false) + "\n\x1A");
        KelVelmoraData document = Loaded(page);
        std::vector<std::string> versions{ReadBytes(page)};
        for (int i = 1; i <= 20; ++i) {
            EditTitle(document, "Version " + std::to_string(i));
            document.Save();
            versions.push_back(ReadBytes(page));
        }
        const std::vector<fs::path> backups = Backups();
        ASSERT_EQ(backups.size(), 20U);
        EXPECT_EQ(ModeOf(BackupFolder()), 0700U);
        for (int i = 1; i <= 20; ++i) {
            const fs::path backup = BackupFolder() / BackupFileName("index.htm", kSaveTime, i);
            EXPECT_EQ(ReadBytes(backup), versions[static_cast<std::size_t>(i - 1)]) << backup;
            EXPECT_EQ(ModeOf(backup), 0600U) << backup;
        }
    });
}

// Another user watching the folder must never find a readable copy of a private page: the
// temporary file is private from the moment it has a name.
TEST_P(SaveSafetyTest, TemporaryFileIsPrivateFromItsFirstMoment) {
    AsSaver([&] {
        const fs::path page = site_ / "index.htm";
        WriteBytes(page, Page("\n", "Old", true) + std::string(8 << 20, ' '));
        ASSERT_EQ(::chmod(page.c_str(), 0644), 0);
        KelVelmoraData document = Loaded(page);
        EditTitle(document, "New");

        const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        ASSERT_GE(watch, 0);
        ASSERT_GE(::inotify_add_watch(watch, site_.c_str(), IN_CREATE), 0);
        std::atomic<bool> done{false};
        std::vector<std::pair<std::string, mode_t>> seen;
        std::thread watcher([&] {
            alignas(inotify_event) char buffer[4096];
            pollfd ready{watch, POLLIN, 0};
            while (!done) {
                if (::poll(&ready, 1, 10) <= 0) {
                    continue;
                }
                const ssize_t size = ::read(watch, buffer, sizeof buffer);
                for (ssize_t at = 0; at < size;) {
                    const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                    if (event->len > 0) {
                        seen.emplace_back(event->name, ModeOf(site_ / event->name));
                    }
                    at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
                }
            }
        });
        document.Save();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        done = true;
        watcher.join();
        ::close(watch);

        ASSERT_EQ(seen.size(), 1U);
        EXPECT_TRUE(seen[0].first.starts_with(".index.htm.velmora-save-")) << seen[0].first;
        EXPECT_EQ(seen[0].second, 0600U);
        EXPECT_EQ(ModeOf(page), 0644U);
    });
}

// An ACL that lets the owning group only read must survive: dropping it would hand the group the
// mask's write permission.
TEST_P(SaveSafetyTest, AclAndUserAttributesAreKept) {
    AsSaver([&] {
        const fs::path page = site_ / "index.htm";
        WriteBytes(page, Page("\n", "Old", true));
        const std::string acl = AclBytes(4, {kThirdUser});
        if (::setxattr(page.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0) {
            ASSERT_EQ(errno, ENOTSUP) << std::strerror(errno);
            GTEST_SKIP() << "the file system has no ACLs";
        }
        if (::setxattr(page.c_str(), "user.velmora-test", "kept", 4, 0) != 0) {
            ASSERT_EQ(errno, ENOTSUP) << std::strerror(errno);
            GTEST_SKIP() << "the file system has no user attributes";
        }
        const mode_t mode = ModeOf(page);

        KelVelmoraData document = Loaded(page);
        EditTitle(document, "New");
        document.Save();

        char value[256];
        const ssize_t aclSize =
            ::getxattr(page.c_str(), "system.posix_acl_access", value, sizeof value);
        ASSERT_GT(aclSize, 0);
        EXPECT_EQ(std::string(value, static_cast<std::size_t>(aclSize)), acl);
        const ssize_t userSize = ::getxattr(page.c_str(), "user.velmora-test", value, sizeof value);
        EXPECT_EQ(std::string(value, static_cast<std::size_t>(std::max<ssize_t>(userSize, 0))),
                  "kept");
        EXPECT_EQ(ModeOf(page), mode);
        EXPECT_NE(ReadBytes(page).find("<title>New</title>"), std::string::npos);

        // A folder's default ACL that lets another user write must not reach a page that had no
        // ACL of its own.
        const fs::path plain = site_ / "plain.htm";
        WriteBytes(plain, Page("\n", "Old", true));
        ASSERT_EQ(::chmod(plain.c_str(), 0640), 0);
        const std::string inherited = AclBytes(6, {kThirdUser});
        ASSERT_EQ(::setxattr(site_.c_str(), "system.posix_acl_default", inherited.data(),
                             inherited.size(), 0),
                  0)
            << std::strerror(errno);
        KelVelmoraData other = Loaded(plain);
        EditTitle(other, "New");
        other.Save();
        EXPECT_EQ(::getxattr(plain.c_str(), "system.posix_acl_access", value, sizeof value), -1);
        EXPECT_EQ(ModeOf(plain), 0640U);
        EXPECT_NE(ReadBytes(plain).find("<title>New</title>"), std::string::npos);
    });
}

TEST_P(SaveSafetyTest, ReadOnlyPageIsRefusedBeforeAnythingIsWritten) {
    AsSaver([&] {
        const fs::path page = site_ / "index.htm";
        const std::string original = Page("\n", "Old", true);
        WriteBytes(page, original);
        ASSERT_EQ(::chmod(page.c_str(), 0444), 0);
        KelVelmoraData document = Loaded(page);
        EditTitle(document, "New");
        try {
            document.Save();
            ADD_FAILURE() << "a read-only page was replaced";
        } catch (const FileError& error) {
            EXPECT_EQ(error.path(), page.string());
        }
        EXPECT_EQ(ReadBytes(page), original);
        EXPECT_EQ(ModeOf(page), 0444U);
        EXPECT_TRUE(Backups().empty());
        EXPECT_TRUE(document.IsModified());
    });
}

TEST_P(SaveSafetyTest, HardLinkedPageIsUpdatedThroughEveryName) {
    AsSaver([&] {
        const fs::path page = site_ / "index.htm";
        WriteBytes(page, Page("\n", "Old", true));
        fs::create_hard_link(page, site_ / "home.htm");
        KelVelmoraData document = Loaded(page);
        EditTitle(document, "New");
        document.Save();
        EXPECT_EQ(ReadBytes(page), Page("\n", "New", true, kGenerator));
        EXPECT_EQ(ReadBytes(site_ / "home.htm"), ReadBytes(page));
        EXPECT_EQ(fs::hard_link_count(page), 2U);
        EXPECT_EQ(ReadBytes(document.LastBackupPath()), Page("\n", "Old", true));
    });
}

TEST_P(SaveSafetyTest, ChangeOnDiskBetweenLoadAndSaveIsNeverOverwrittenSilently) {
    AsSaver([&] {
        const fs::path page = site_ / "index.htm";
        WriteBytes(page, Page("\n", "Old", true));
        KelVelmoraData document = Loaded(page);
        EditTitle(document, "Mine");
        const std::string theirs = Page("\n", "Theirs", true);
        WriteBytes(page, theirs);
        EXPECT_THROW(document.Save(), PageChangedError);
        EXPECT_EQ(ReadBytes(page), theirs);
        EXPECT_TRUE(Backups().empty());

        document.Save(ChangedOnDisk::Overwrite);
        EXPECT_EQ(ReadBytes(document.LastBackupPath()), theirs);
        EXPECT_NE(ReadBytes(page).find("<title>Mine</title>"), std::string::npos);
    });
}

// The generator tag goes after a leading doctype or PHP block, and follows the indentation of a
// head written a tag a line.
TEST_P(SaveSafetyTest, GeneratorTagGoesWhereThePageLeavesRoomForIt) {
    AsSaver([&] {
        const std::pair<std::string, std::string> cases[] = {
            {"<!DOCTYPE html>\n<p>x</p>\n", "<!DOCTYPE html>" + kGenerator + "\n<p>x</p>\n"},
            {"<?php header('Location: /'); ?>\n<html>\n<body>x</body>\n</html>\n",
             "<?php header('Location: /'); ?>\n<html>" + kGenerator +
                 "\n<body>x</body>\n</html>\n"},
            {"<html>\n  <head>\n    <title>x</title>\n  </head>\n<body>x</body>\n</html>\n",
             "<html>\n  <head>\n    <title>x</title>\n    " + kGenerator +
                 "\n  </head>\n<body>x</body>\n</html>\n"},
            {"<head>\r\n\t<title>x</title>\r\n</head>\r\n",
             "<head>\r\n\t<title>x</title>\r\n\t" + kGenerator + "\r\n</head>\r\n"},
            // Written as the user wrote them: a head on one line, one without indentation.
            {"<head><title>x</title></head>\n",
             "<head><title>x</title>" + kGenerator + "\n</head>\n"},
            {"<head>\n<title>x</title>\n</head>\n",
             "<head>\n<title>x</title>\n" + kGenerator + "\n</head>\n"},
        };
        for (const auto& [original, saved] : cases) {
            const fs::path page = site_ / "index.php";
            WriteBytes(page, original);
            KelVelmoraData document = Loaded(page);
            document.Save();
            EXPECT_EQ(ReadBytes(page), saved);
        }
    });
}

// Saves killed at random moments: the page is always wholly the old or wholly the new text, every
// backup is an exact earlier version, and a temporary file left behind is private or the new page.
TEST_P(SaveSafetyTest, KilledSavesLeaveThePageWholeAndEveryBackupExact) {
    AsSaver([&] {
        const fs::path page = site_ / "big.htm";
        // Large enough that a save takes tens of milliseconds to cut into; each version is
        // still reviewed before it is saved, which costs most of the test's time.
        const std::string body(16 << 20, 'x');
        const auto version = [&](int number) {
            return "<html><head><title>Version " + std::to_string(number) +
                   "</title></head><body>" + body + "</body></html>\n";
        };
        // Loaded small, so the test does not also spend its time loading the large page; every save
        // below overwrites what is on disk, as after an answered question.
        WriteBytes(page, "<p>small</p>\n");
        KelVelmoraData document = Loaded(page);
        WriteBytes(page, version(0));
        std::set<std::size_t> versions{std::hash<std::string>{}(version(0))};
        std::string current = version(0);

        std::mt19937 random(20261207);
        std::chrono::microseconds saveTime{0};
        for (int number = 1; number <= 8; ++number) {
            document.Review(TextToSave(version(number)), KelVelmoraOptions());
            const std::string next = document.BytesToSave();
            versions.insert(std::hash<std::string>{}(next));
            const auto started = std::chrono::steady_clock::now();
            const pid_t saver = ::fork();
            if (saver == 0) {
                document.Save(ChangedOnDisk::Overwrite);
                ::_exit(0);
            }
            if (number > 1) {
                std::uniform_int_distribution<long> moment(0, saveTime.count());
                std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
                ::kill(saver, SIGKILL);
            }
            int status = 0;
            ::waitpid(saver, &status, 0);
            if (number == 1) {
                ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
                saveTime = std::chrono::duration_cast<std::chrono::microseconds>(
                    std::chrono::steady_clock::now() - started);
            }

            const std::string onDisk = ReadBytes(page);
            ASSERT_TRUE(onDisk == current || onDisk == next) << "torn page after kill " << number;
            current = onDisk;
            for (const fs::path& backup : Backups()) {
                EXPECT_TRUE(versions.contains(std::hash<std::string>{}(ReadBytes(backup))))
                    << backup << " is not an exact earlier page";
                fs::remove(backup);
            }
            for (const auto& entry : fs::directory_iterator(site_)) {
                if (entry.path() == page) {
                    continue;
                }
                EXPECT_TRUE(entry.path().filename().string().starts_with(".big.htm.velmora-save-"))
                    << entry.path();
                EXPECT_TRUE(ModeOf(entry.path()) == 0600U || ReadBytes(entry.path()) == next)
                    << entry.path();
                fs::remove(entry.path());
            }
        }
    });
}

// Another program changes the page after the change check and before it is replaced: the save
// refuses as for any change on disk, leaves the page and the change as they are, and keeps no
// backup that may have caught the page mid-change. A pipe put in the page's place is refused
// without waiting for a reader.
TEST_P(SaveSafetyTest, ChangesBetweenTheCheckAndTheReplacementAreNeverOverwritten) {
    AsSaver([&] {
        const fs::path page = site_ / "index.htm";
        const fs::path moved = site_ / "moved.htm";
        const std::string old = Page("\n", "Old", true);
        struct Change {
            const char* name;
            SaveStep step;
            std::function<void()> make;
            std::function<void()> check;
        };
        const Change changes[] = {
            {"append", SaveStep::BeforeLastLook,
             [&] { std::ofstream(page, std::ios::app) << "<!-- appended -->\n"; },
             [&] { EXPECT_EQ(ReadBytes(page), old + "<!-- appended -->\n"); }},
            {"chmod 600", SaveStep::BeforeLastLook,
             [&] { fs::permissions(page, fs::perms::owner_read | fs::perms::owner_write); },
             [&] {
                 EXPECT_EQ(ModeOf(page), 0600U);
                 EXPECT_EQ(ReadBytes(page), old);
             }},
            {"moved away", SaveStep::BeforeLastLook, [&] { fs::rename(page, moved); },
             [&] {
                 EXPECT_FALSE(fs::exists(page));
                 EXPECT_EQ(ReadBytes(moved), old);
             }},
            {"pipe swapped in", SaveStep::BackupWritten,
             [&] {
                 fs::remove(page);
                 ASSERT_EQ(::mkfifo(page.c_str(), 0644), 0);
             },
             [&] { EXPECT_TRUE(fs::is_fifo(page)); }},
        };
        for (const Change& change : changes) {
            for (const bool linked : {false, true}) {
                WriteBytes(page, old);
                ASSERT_EQ(::chmod(page.c_str(), 0644), 0);
                if (linked) {
                    fs::create_hard_link(page, site_ / "home.htm");
                }
                KelVelmoraData document = Loaded(page);
                EditTitle(document, "New");
                bool made = false;
                SaveSeams seams;
                seams.reached = [&](SaveStep step) {
                    if (step == change.step && !made) {
                        made = true;
                        change.make();
                    }
                };
                document.SetSaveSeams(seams);
                EXPECT_THROW(document.Save(), PageChangedError) << change.name;
                EXPECT_TRUE(made) << change.name;
                change.check();
                EXPECT_TRUE(Backups().empty()) << change.name;
                EXPECT_TRUE(document.IsModified());
                for (const fs::path& left : {page, moved, site_ / "home.htm"}) {
                    fs::remove(left);
                }
                EXPECT_TRUE(fs::is_empty(site_)) << change.name << ", linked " << linked;
            }
        }
    });
}

// A save that cannot have the page's lock within its wait gives up and says what holds it.
TEST_P(SaveSafetyTest, LockHeldByAnotherIsWaitedForBrieflyAndNamed) {
    AsSaver([&] {
        const fs::path page = site_ / "index.htm";
        WriteBytes(page, Page("\n", "Old", true));
        KelVelmoraData document = Loaded(page);
        EditTitle(document, "New");
        SaveSeams seams;
        seams.lockWait = std::chrono::milliseconds(100);
        document.SetSaveSeams(seams);
        const int holder = ::open(page.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_EQ(::flock(holder, LOCK_EX), 0);
        try {
            document.Save();
            ADD_FAILURE() << "saved a page another save holds";
        } catch (const FileError& error) {
            EXPECT_EQ(error.path(), page.string());
            EXPECT_NE(std::string(error.what()).find("process " + std::to_string(::getpid())),
                      std::string::npos)
                << error.what();
        }
        EXPECT_EQ(ReadBytes(page), Page("\n", "Old", true));
        EXPECT_TRUE(Backups().empty());
        ::close(holder);
        document.Save();
        EXPECT_EQ(ReadBytes(page), document.BytesToSave());
    });
}

// Ctrl-C, SIGTERM or SIGHUP during a save: before the page is replaced, the save stops and removes
// its temporary file; during an in-place write, the write ends first. The program then ends by
// the signal, as it would have. A leftover of a killed save is removed by the next save, unless a
// running save holds it.
TEST_P(SaveSafetyTest, SignalsNeitherTearThePageNorLeaveTemporaryFiles) {
    AsSaver([&] {
        const fs::path page = site_ / "index.htm";
        const std::string old = Page("\n", "Old", true) + std::string(16 << 10, ' ');
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            for (const bool linked : {false, true}) {
                WriteBytes(page, old);
                if (linked) {
                    fs::create_hard_link(page, site_ / "home.htm");
                }
                KelVelmoraData document = Loaded(page);
                EditTitle(document, "New");
                const std::string saved = document.BytesToSave();
                SaveSeams seams;
                const SaveStep moment =
                    linked ? SaveStep::WritingInPlace : SaveStep::BeforeLastLook;
                seams.reached = [=](SaveStep step) {
                    if (step == moment) {
                        ::kill(::getpid(), signal);
                    }
                };
                document.SetSaveSeams(seams);
                const pid_t saver = ::fork();
                if (saver == 0) {
                    document.Save();
                    ::_exit(0);
                }
                EXPECT_EQ(WaitFor(saver), 128 + signal) << "signal " << signal;
                EXPECT_EQ(ReadBytes(page), linked ? saved : old) << "signal " << signal;
                EXPECT_EQ(std::distance(fs::directory_iterator(site_), {}), linked ? 2 : 1)
                    << "temporary file left after signal " << signal;
                const std::vector<fs::path> backups = Backups();
                ASSERT_EQ(backups.size(), 1U);
                EXPECT_EQ(ReadBytes(backups[0]), old);
                fs::remove(backups[0]);
                fs::remove(site_ / "home.htm");
            }
        }

        const fs::path stale = site_ / ".index.htm.velmora-save-Stale1";
        const fs::path held = site_ / ".index.htm.velmora-save-Held01";
        WriteBytes(stale, "left by a killed save");
        WriteBytes(held, "a running save's");
        const int holder = ::open(held.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_EQ(::flock(holder, LOCK_EX), 0);
        KelVelmoraData document = Loaded(page);
        EditTitle(document, "Newer");
        document.Save();
        EXPECT_FALSE(fs::exists(stale));
        EXPECT_TRUE(fs::exists(held));
        ::close(holder);
    });
}

// Between users, with the tests running as root.
class SaveBetweenUsersTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!IsRoot()) {
            GTEST_SKIP() << "needs root to act as other users";
        }
        fs::permissions(folder_.path(), fs::perms::all);
        fs::permissions(folder_.path(), fs::perms::sticky_bit, fs::perm_options::add);
        // A state folder only root may write: the others' backups go to the shared temporary
        // folder, where users can get in each other's way.
        const fs::path rootsState = folder_.path() / "root-state";
        fs::create_directories(rootsState);
        ::setenv("XDG_STATE_HOME", rootsState.c_str(), 1);
    }

    // A page of `owner` with `mode`, in a folder anyone may write.
    fs::path PageOf(uid_t owner, gid_t group, mode_t mode) {
        const fs::path site = folder_.path() / "site";
        fs::create_directories(site);
        fs::permissions(site, fs::perms::all);
        const fs::path page = site / "index.htm";
        WriteBytes(page, Page("\n", "Old", true));
        EXPECT_EQ(::chown(page.c_str(), owner, group), 0);
        EXPECT_EQ(::chmod(page.c_str(), mode), 0);
        return page;
    }

    static KelVelmoraData Loaded(const fs::path& page) {
        KelVelmoraData document([] { return kSaveTime; });
        document.Load(page.string(), KelVelmoraOptions());
        return document;
    }

    test::TemporaryFolder folder_;
    test::ScopedTmpdir tmpdir_{folder_.path()};
};

TEST_F(SaveBetweenUsersTest, AnotherUsersPageIsRefusedUnlessItMayBeWrittenAndThenKeepsItsOwner) {
    const fs::path page = PageOf(kThirdUser, kThirdUser, 0644);
    EXPECT_TRUE(RunAs(kSecondUser, [&] {
        KelVelmoraData document = Loaded(page);
        document.Review(SetTitle(document.GetHtml(), "Taken over"), KelVelmoraOptions());
        try {
            document.Save();
            ADD_FAILURE() << "another user's page was replaced";
        } catch (const FileError& error) {
            EXPECT_NE(std::string(error.what()).find(std::strerror(EACCES)), std::string::npos)
                << error.what();
        }
    }));
    EXPECT_EQ(ReadBytes(page), Page("\n", "Old", true));

    // Writable through the group: written in place, so the owner stays who it was.
    ASSERT_EQ(::chown(page.c_str(), kThirdUser, kSecondUser), 0);
    ASSERT_EQ(::chmod(page.c_str(), 0664), 0);
    EXPECT_TRUE(RunAs(kSecondUser, [&] {
        KelVelmoraData document = Loaded(page);
        document.Review(SetTitle(document.GetHtml(), "Shared"), KelVelmoraOptions());
        document.Save();
    }));
    struct stat status {};
    ASSERT_EQ(::stat(page.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, kThirdUser);
    EXPECT_EQ(status.st_mode & 07777, 0664U);
    EXPECT_EQ(ReadBytes(page), Page("\n", "Shared", true, kGenerator));
}

// In a shared temporary folder, another user can neither plant a file in a backup's way nor read
// one; a backup folder of our name that is not ours is refused with the reason.
TEST_F(SaveBetweenUsersTest, OtherUsersCannotPlantReadOrHijackBackups) {
    const fs::path page = PageOf(kSecondUser, kSecondUser, 0600);
    const fs::path shared = folder_.path();
    EXPECT_TRUE(RunAs(kThirdUser, [&] {
        WriteBytes(shared / "index.bkp.2026.12.07.12.00.00.htm", "planted");
        fs::create_symlink(page, shared / "index.bkp.2026.12.07.12.00.01.htm");
    }));
    EXPECT_TRUE(RunAs(kSecondUser, [&] {
        KelVelmoraData document = Loaded(page);
        document.Review(SetTitle(document.GetHtml(), "Mine"), KelVelmoraOptions());
        document.Save();
        EXPECT_EQ(fs::path(document.LastBackupPath()).parent_path(),
                  shared / ("velmora-backups-" + std::to_string(kSecondUser)));
    }));
    EXPECT_TRUE(RunAs(kThirdUser, [&] {
        const fs::path backups = shared / ("velmora-backups-" + std::to_string(kSecondUser));
        EXPECT_EQ(::open(backups.c_str(), O_RDONLY | O_DIRECTORY), -1);
        EXPECT_EQ(::open((backups / "index.bkp.2026.12.07.12.00.00.htm").c_str(), O_RDONLY), -1);
        EXPECT_EQ(::mkdir((backups / "planted").c_str(), 0777), -1);
    }));

    // A folder of the second user's backup name, made by the third user first: the backups go to
    // a private folder of an unpredictable name instead, the same one each time.
    const fs::path squatted = shared / ("velmora-backups-" + std::to_string(kSecondUser));
    fs::remove_all(squatted);
    ASSERT_TRUE(RunAs(kThirdUser, [&] { fs::create_directory(squatted); }));
    EXPECT_TRUE(RunAs(kSecondUser, [&] {
        KelVelmoraData document = Loaded(page);
        std::set<fs::path> folders;
        for (const char* title : {"Moved", "Again"}) {
            document.Review(SetTitle(document.GetHtml(), title), KelVelmoraOptions());
            document.Save();
            const fs::path folder = fs::path(document.LastBackupPath()).parent_path();
            folders.insert(folder);
            EXPECT_TRUE(folder.filename().string().starts_with(squatted.filename().string() + "-"))
                << folder;
            EXPECT_EQ(ModeOf(folder), 0700U);
        }
        EXPECT_EQ(folders.size(), 1U);
    }));
    EXPECT_TRUE(fs::is_empty(squatted));
}

TEST_F(SaveBetweenUsersTest, RootDoesNotFollowAnotherUsersLinkInASharedFolder) {
    const fs::path victim = folder_.path() / "victim";
    WriteBytes(victim, "root's file\n");
    ASSERT_EQ(::chmod(folder_.path().c_str(), 01777), 0);
    const fs::path link = folder_.path() / "index.htm";
    WriteBytes(folder_.path() / "real.htm", "<p>page</p>\n");
    KelVelmoraData document = Loaded(folder_.path() / "real.htm");
    fs::remove(folder_.path() / "real.htm");
    ASSERT_TRUE(RunAs(kSecondUser, [&] { fs::create_symlink(victim, link); }));
    try {
        document.SaveAs(link.string());
        ADD_FAILURE() << "followed another user's link";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("symbolic link"), std::string::npos);
    }
    EXPECT_EQ(ReadBytes(victim), "root's file\n");

    // The same for a link that is a folder in the page's path.
    const fs::path rootOnly = folder_.path() / "root-only";
    fs::create_directories(rootOnly);
    fs::permissions(rootOnly, fs::perms::owner_all);
    WriteBytes(rootOnly / "index.htm", "root's page\n");
    ASSERT_TRUE(RunAs(kSecondUser,
                      [&] { fs::create_directory_symlink(rootOnly, folder_.path() / "site"); }));
    try {
        document.SaveAs((folder_.path() / "site" / "index.htm").string());
        ADD_FAILURE() << "followed another user's link to a folder";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("symbolic link"), std::string::npos)
            << error.what();
    }
    EXPECT_EQ(ReadBytes(rootOnly / "index.htm"), "root's page\n");
}

// Root, or a member of the page's group through a supplementary group, saving another's page:
// the page keeps its owner, group and mode.
TEST_F(SaveBetweenUsersTest, SavedPagesKeepTheirOwnerGroupAndMode) {
    struct Case {
        uid_t saver;
        std::vector<gid_t> groups;
        uid_t owner;
        gid_t group;
        mode_t mode;
    };
    const Case cases[] = {
        {0, {}, kBob, kBob, 0640},
        {0, {}, 65534, 65534, 0604},
        {kBob, {kEditors}, kBob, kEditors, 0664},
        {kBob, {kEditors}, kAlice, kEditors, 0660},
    };
    for (const Case& test : cases) {
        const fs::path page = PageOf(test.owner, test.group, test.mode);
        EXPECT_TRUE(RunAs(
            test.saver,
            [&] {
                KelVelmoraData document = Loaded(page);
                document.Review(SetTitle(document.GetHtml(), "Kept"), KelVelmoraOptions());
                document.Save();
            },
            test.groups));
        struct stat status {};
        ASSERT_EQ(::stat(page.c_str(), &status), 0);
        EXPECT_EQ(status.st_uid, test.owner) << "saved by " << test.saver;
        EXPECT_EQ(status.st_gid, test.group) << "saved by " << test.saver;
        EXPECT_EQ(status.st_mode & 07777, test.mode) << "saved by " << test.saver;
        EXPECT_EQ(ReadBytes(page), Page("\n", "Kept", true, kGenerator));
    }
}

// Bob and carol, or bob from two programs with different temporary folders, save alice's shared
// page at once. The second save waits for the first, sees the change and refuses: no edit is
// lost silently and the page is never torn.
TEST_F(SaveBetweenUsersTest, SavesOfOnePageByAnyoneAreOneAtATime) {
    for (const uid_t second : {kCarol, kBob}) {
        const fs::path page = PageOf(kAlice, kEditors, 0664);
        const std::string tmpA = (folder_.path() / "tmpA").string();
        const std::string tmpB = (folder_.path() / "tmpB").string();
        for (const std::string& tmp : {tmpA, tmpB}) {
            fs::create_directories(tmp);
            fs::permissions(tmp, fs::perms::all | fs::perms::sticky_bit);
        }
        int fromBob[2], toBob[2], fromSecond[2], toSecond[2];
        for (int* pipe : {fromBob, toBob, fromSecond, toSecond}) {
            ASSERT_EQ(::pipe(pipe), 0);
        }
        const auto saver = [&](const std::string& tmp, const char* title, int* from, int* to,
                               SaveStep pause, bool waitAfter) {
            return [&, tmp, title, from, to, pause, waitAfter] {
                ::setenv("TMPDIR", tmp.c_str(), 1);
                KelVelmoraData document = Loaded(page);
                document.Review(SetTitle(document.GetHtml(), title), KelVelmoraOptions());
                Tell(from[1]);
                Told(to[0]);
                SaveSeams seams;
                seams.reached = [&](SaveStep step) {
                    if (step == pause) {
                        Tell(from[1]);
                        if (waitAfter) {
                            Told(to[0]);
                        }
                    }
                };
                document.SetSaveSeams(seams);
                try {
                    document.Save();
                } catch (const PageChangedError&) {
                    ::_exit(3);
                }
            };
        };
        const pid_t bob = StartAs(
            kBob, saver(tmpA, "Bob", fromBob, toBob, SaveStep::BeforeLastLook, true), {kEditors});
        const pid_t other = StartAs(
            second, saver(tmpB, "Second", fromSecond, toSecond, SaveStep::WaitingForLock, false),
            {kEditors});
        EXPECT_TRUE(Told(fromBob[0]) && Told(fromSecond[0])) << "both loaded";
        Tell(toBob[1]);
        EXPECT_TRUE(Told(fromBob[0])) << "bob is about to replace the page";
        Tell(toSecond[1]);
        EXPECT_TRUE(Told(fromSecond[0])) << "the second save did not wait for bob's";
        Tell(toBob[1]);
        EXPECT_EQ(WaitFor(bob), 0);
        EXPECT_EQ(WaitFor(other), 3) << "second saver " << second;
        EXPECT_EQ(ReadBytes(page), Page("\n", "Bob", true, kGenerator));
        for (int* pipe : {fromBob, toBob, fromSecond, toSecond}) {
            ::close(pipe[0]);
            ::close(pipe[1]);
        }
    }
}

// Two programs that loaded the same page and save at once: one saves, the other is told and
// writes nothing. Neither edit is lost silently.
TEST(ConcurrentSaves, OneSavesTheOtherIsRefused) {
    test::TemporaryFolder folder;
    test::ScopedTmpdir tmpdir(folder.path());
    const fs::path page = folder.path() / "index.htm";
    for (int round = 0; round < 10; ++round) {
        WriteBytes(page, Page("\n", "Old", true));
        int go[2];
        ASSERT_EQ(::pipe(go), 0);
        std::vector<pid_t> savers;
        for (const char* title : {"First", "Second"}) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                KelVelmoraData document([] { return kSaveTime; });
                document.Load(page.string(), KelVelmoraOptions());
                document.Review(SetTitle(document.GetHtml(), title), KelVelmoraOptions());
                char byte = 0;
                ::close(go[1]);
                [[maybe_unused]] const ssize_t got = ::read(go[0], &byte, 1);
                try {
                    document.Save();
                } catch (const PageChangedError&) {
                    ::_exit(3);
                }
                ::_exit(0);
            }
            savers.push_back(pid);
        }
        ::close(go[0]);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ::close(go[1]);
        int saved = 0;
        int refused = 0;
        for (const pid_t pid : savers) {
            int status = 0;
            ::waitpid(pid, &status, 0);
            ASSERT_TRUE(WIFEXITED(status));
            saved += WEXITSTATUS(status) == 0 ? 1 : 0;
            refused += WEXITSTATUS(status) == 3 ? 1 : 0;
        }
        EXPECT_EQ(saved, 1);
        EXPECT_EQ(refused, 1);
        const std::string result = ReadBytes(page);
        EXPECT_TRUE(result == Page("\n", "First", true, kGenerator) ||
                    result == Page("\n", "Second", true, kGenerator));
    }
}

}  // namespace
}  // namespace velmora
