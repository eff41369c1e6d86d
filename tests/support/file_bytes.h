#pragma once

// Whole-file reads and writes for tests, and a temporary folder removed with everything in it.

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace velmora::test {

// Empty when the file cannot be read.
inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        return {};
    }
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// False when the file cannot be written.
inline bool WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::filesystem::filesystem_error(
                "mkdtemp", std::error_code(errno, std::generic_category()));
        }
        path_ = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Points TMPDIR and XDG_STATE_HOME, where backups go, at a folder while it lives; then puts them
// back as they were. Backups are then in FOLDER/velmora/backups.
class ScopedTmpdir {
public:
    explicit ScopedTmpdir(const std::filesystem::path& folder) { Set(folder); }
    ~ScopedTmpdir() {
        for (const Saved& variable : saved_) {
            if (variable.had) {
                ::setenv(variable.name, variable.value.c_str(), 1);
            } else {
                ::unsetenv(variable.name);
            }
        }
    }
    ScopedTmpdir(const ScopedTmpdir&) = delete;
    ScopedTmpdir& operator=(const ScopedTmpdir&) = delete;

    void Set(const std::filesystem::path& folder) {
        ::setenv("TMPDIR", folder.c_str(), 1);
        ::setenv("XDG_STATE_HOME", folder.c_str(), 1);
    }

private:
    struct Saved {
        const char* name;
        bool had;
        std::string value;
    };
    static Saved Save(const char* name) {
        const char* value = std::getenv(name);
        return {name, value != nullptr, value != nullptr ? value : ""};
    }

    Saved saved_[2] = {Save("TMPDIR"), Save("XDG_STATE_HOME")};
};

}  // namespace velmora::test
