#include "cli/report_path.h"

namespace velmora::cli {
namespace {

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '/';
}

}  // namespace

std::string PathFromWorkingFolder(std::string_view path,
                                  const std::filesystem::path& workingFolder) {
    namespace fs = std::filesystem;
    const fs::path given(path);
    const fs::path folder = workingFolder.lexically_normal();
    const fs::path absolute = (given.is_absolute() ? given : folder / given).lexically_normal();
    const fs::path relative = absolute.lexically_relative(folder);
    if (relative.empty() || *relative.begin() == "..") {
        return absolute.generic_string();
    }
    return relative.generic_string();
}

std::string PathUri(std::string_view path) {
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = path.starts_with('/') ? "file://" : "";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsUnreserved(byte)) {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 0xF];
        }
    }
    return uri;
}

}  // namespace velmora::cli
