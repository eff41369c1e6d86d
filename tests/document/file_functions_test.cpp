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

// Files are read a piece at a time; every size around the pieces comes back whole.
TEST(ReadRegularFile, ReturnsEveryByteWhateverTheSize) {
    std::string pattern = "/tmp/velmora-read-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path file = fs::path(pattern) / "page.htm";
    constexpr std::size_t kPiece = std::size_t{1} << 18;
    for (const std::size_t size :
         {std::size_t{0}, std::size_t{1}, kPiece - 1, kPiece, kPiece + 1, 3 * kPiece + 7}) {
        std::string bytes(size, '\0');
        for (std::size_t k = 0; k < size; ++k) {
            bytes[k] = static_cast<char>(k * 131 % 251);
        }
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        EXPECT_EQ(ReadRegularFile(file.string()), bytes) << size;
    }
    EXPECT_EQ(ReadRegularFileIfPresent((fs::path(pattern) / "missing").string()), std::nullopt);
    fs::remove_all(pattern);
}

}  // namespace
}  // namespace velmora
