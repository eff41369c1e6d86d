#pragma once

// The fixture of the in-process velmora-cli tests: a temporary folder for pages and backups
// (TMPDIR points into it), and the settings store in the test program's private settings folder,
// empty unless a test writes it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "tests/cli/cli_pages.h"
#include "tests/support/cli_runner.h"
#include "tests/support/config_home.h"
#include "tests/support/file_bytes.h"

namespace velmora::test {

using RunResult = CliRun;

inline const auto* const kCliConfigHome = ::testing::AddGlobalTestEnvironment(new ConfigHome);

// Runs a test from another working folder, and goes back.
class ScopedWorkingFolder {
public:
    explicit ScopedWorkingFolder(const std::filesystem::path& folder)
        : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~ScopedWorkingFolder() { std::filesystem::current_path(saved_); }
    ScopedWorkingFolder(const ScopedWorkingFolder&) = delete;
    ScopedWorkingFolder& operator=(const ScopedWorkingFolder&) = delete;

private:
    std::filesystem::path saved_;
};

class VelmoraCli : public ::testing::Test {
protected:
    VelmoraCli() { std::filesystem::create_directories(root_ / "tmp"); }
    void SetUp() override { std::filesystem::remove(SettingsFile()); }
    void TearDown() override { std::filesystem::remove(SettingsFile()); }

    std::filesystem::path Page(const std::string& name, const std::string& bytes) {
        std::filesystem::create_directories((root_ / name).parent_path());
        WriteBytes(root_ / name, bytes);
        return root_ / name;
    }

    static std::filesystem::path SettingsFile() {
        return std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "Kelgard/HtmlVelmora.conf";
    }

    static void StoreSettings(const std::string& text) {
        std::filesystem::create_directories(SettingsFile().parent_path());
        WriteBytes(SettingsFile(), text);
    }

    static RunResult Run(const std::vector<std::string>& arguments, bool terminalError = false) {
        return RunCli(arguments, terminalError);
    }

    std::filesystem::path BackupFolder() const { return root_ / "tmp" / "velmora" / "backups"; }

    std::size_t BackupCount() const {
        if (!std::filesystem::exists(BackupFolder())) {
            return 0;
        }
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(BackupFolder()),
                          std::filesystem::directory_iterator()));
    }

    TemporaryFolder folder_;
    const std::filesystem::path root_ = folder_.path();
    ScopedTmpdir tmpdir_{root_ / "tmp"};
};

}  // namespace velmora::test
