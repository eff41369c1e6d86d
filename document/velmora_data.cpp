#include "document/velmora_data.h"

#include <cstring>
#include <ctime>
#include <optional>
#include <utility>

#include "document/file_error.h"
#include "document/file_functions.h"
#include "core/html_functions_write.h"
#include "core/kel_string_functions.h"
#include "core/text_rules.h"

namespace velmora {
namespace {

constexpr char kCtrlZ = 26;
constexpr std::size_t kBackupBaseNameLimit = 40;

// Converting the line breaks of UTF-16 or UTF-32 text byte by byte would corrupt it.
std::optional<std::string> UnsupportedEncoding(std::string_view bytes) {
    if (bytes.starts_with(std::string_view("\xFF\xFE\0\0", 4)) ||
        bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4))) {
        return "UTF-32 text is not supported";
    }
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        return "UTF-16 text is not supported";
    }
    return std::nullopt;
}

void AppendLines(std::string& text, std::string_view bytes) {
    std::size_t start = 0;
    while (const void* found = std::memchr(bytes.data() + start, '\r', bytes.size() - start)) {
        const auto cr = static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data());
        text.append(bytes, start, cr - start);
        text += "\r\n";
        start = cr + 1;
    }
    text.append(bytes, start);
}

// The text Load makes of a file's bytes: every line, whatever ends it (LF, CR LF or a lone CR),
// followed by CR LF. A Ctrl-Z that begins the last line and is the file's last byte ends the file.
std::string PageText(std::string_view bytes) {
    if (bytes.ends_with(kCtrlZ)) {
        const std::string_view rest = bytes.substr(0, bytes.size() - 1);
        if (rest.empty() || rest.ends_with('\n') || rest.ends_with('\r')) {
            bytes = rest;
        }
    }
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16 + 2);
    std::size_t start = 0;
    while (start < bytes.size()) {
        const void* found = std::memchr(bytes.data() + start, '\n', bytes.size() - start);
        if (found == nullptr) {
            // The last line has no line feed; it may still end in a lone CR.
            const std::string_view line = bytes.substr(start);
            AppendLines(text, line);
            if (!line.ends_with('\r')) {
                text += "\r\n";
            }
            break;
        }
        const auto lf = static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data());
        std::string_view line = bytes.substr(start, lf - start);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        AppendLines(text, line);
        text += "\r\n";
        start = lf + 1;
    }
    return text;
}

std::string LoadPageText(const std::string& fileName) {
    const std::string bytes = ReadRegularFile(fileName);
    if (std::optional<std::string> reason = UnsupportedEncoding(bytes)) {
        throw FileError("Cannot load", fileName, std::move(*reason));
    }
    return PageText(bytes);
}

// Cuts a base name to the limit; in a UTF-8 name the cut never splits a character.
std::string_view CutBaseName(std::string_view base) {
    if (base.size() <= kBackupBaseNameLimit) {
        return base;
    }
    std::size_t cut = kBackupBaseNameLimit;
    if (DetectEncoding(base) == Encoding::Utf8) {
        while (cut > 0 && (static_cast<unsigned char>(base[cut]) & 0xC0) == 0x80) {
            --cut;
        }
    }
    return base.substr(0, cut);
}

}  // namespace

std::string GeneratorTag() {
    std::string tag(kGeneratorTagStart);
    tag += kApplicationTitle;
    tag += "\">";
    return tag;
}

LocalDateTime SystemLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string BackupFileName(std::string_view pagePath, const LocalDateTime& time) {
    const std::size_t slash = pagePath.rfind('/');
    const std::string_view name =
        slash == std::string_view::npos ? pagePath : pagePath.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    const std::string_view extension =
        dot == std::string_view::npos ? std::string_view() : name.substr(dot);
    const std::string_view base = name.substr(0, name.size() - extension.size());

    const auto two = [](int value) { return ZeroPad(static_cast<std::uint16_t>(value), 2); };
    std::string backup(CutBaseName(base));
    backup += ".bkp.";
    backup += ZeroPad(static_cast<std::uint16_t>(time.year), 4);
    for (const int part : {time.month, time.day, time.hour, time.minute, time.second}) {
        backup += '.';
        backup += two(part);
    }
    backup += extension;
    return backup;
}

std::string TextToSave(std::string_view html) {
    const std::string tag = GeneratorTag();
    if (html.find(tag) != std::string_view::npos) {
        return std::string(html);
    }
    return InsertIntoHead(html, tag);
}

KelVelmoraData::KelVelmoraData(Clock clock) : clock_(std::move(clock)) {}

void KelVelmoraData::Load(const std::string& fileName, const KelVelmoraOptions& options) {
    std::string text = LoadPageText(fileName);
    FileName = fileName;
    SavedText = std::move(text);
    Revert(options);
}

void KelVelmoraData::Save() {
    std::string folder = GetTempDirectory();
    if (folder.empty()) {
        folder = FolderOf(FileName);
    }
    const std::string backupPath = folder + BackupFileName(FileName, clock_());

    // When another program changed the page since it was read, its bytes on disk are what the
    // save is about to overwrite, so they are what the backup keeps.
    const std::optional<std::string> onDisk = ReadRegularFileIfPresent(FileName);
    const bool changedOnDisk =
        onDisk && (UnsupportedEncoding(*onDisk) || PageText(*onDisk) != SavedText);
    WritePrivateFile(backupPath, changedOnDisk ? *onDisk : SavedText);
    lastBackupPath_ = backupPath;

    Html = TextToSave(Html);
    ReplaceFile(FileName, Html);
    SavedText = Html;
}

void KelVelmoraData::Revert(const KelVelmoraOptions& options) {
    Review(SavedText, options);
}

void KelVelmoraData::Compress() {
    Html = CompressedHtml();
    SpaceToRemove = 0;
}

}  // namespace velmora
