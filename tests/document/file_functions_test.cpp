#include "document/file_functions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace velmora {
namespace {

namespace fs = std::filesystem;

TEST(GetTempDirectory, UsesTmpdirOnlyWhenItIsAFolder) {
    std::string pattern = "/tmp/velmora-tmpdir-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path folder = pattern;
    const fs::path file = folder / "file";
    std::ofstream(file) << "x";

    setenv("TMPDIR", folder.c_str(), 1);
    EXPECT_EQ(GetTempDirectory(), folder.string() + "/");
    setenv("TMPDIR", (folder.string() + "/").c_str(), 1);
    EXPECT_EQ(GetTempDirectory(), folder.string() + "/");
    setenv("TMPDIR", file.c_str(), 1);
    EXPECT_EQ(GetTempDirectory(), "/tmp/");
    setenv("TMPDIR", (folder / "missing").c_str(), 1);
    EXPECT_EQ(GetTempDirectory(), "/tmp/");
    unsetenv("TMPDIR");
    EXPECT_EQ(GetTempDirectory(), "/tmp/");
    fs::remove_all(folder);
}

TEST(FolderOf, KeepsTheTrailingSlash) {
    EXPECT_EQ(FolderOf("/srv/www/index.htm"), "/srv/www/");
    EXPECT_EQ(FolderOf("/index.htm"), "/");
    EXPECT_EQ(FolderOf("index.htm"), "");
}

}  // namespace
}  // namespace velmora
