#include "document/velmora_data.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <ctime>
#include <functional>
#include <optional>
#include <utility>

#include "core/html_functions_write.h"
#include "core/kel_string_functions.h"
#include "core/text_rules.h"
#include "document/backup_folder.h"
#include "document/file_error.h"
#include "document/file_functions.h"
#include "document/page_replacement.h"

namespace velmora {
namespace {

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

std::string ReadPageFile(const std::string& fileName) {
    std::string bytes = ReadRegularFile(fileName);
    if (std::optional<std::string> reason = UnsupportedEncoding(bytes)) {
        throw FileError("Cannot load", fileName, std::move(*reason));
    }
    return bytes;
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

// Whether the text holds the tag anywhere. A page has '<' everywhere, so the search skips
// ahead by up to the tag's length instead of stopping at each one.
bool HoldsTag(std::string_view html, std::string_view tag) {
    return std::search(html.begin(), html.end(),
                       std::boyer_moore_horspool_searcher(tag.begin(), tag.end())) != html.end();
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

std::string BackupFileName(std::string_view pagePath, const LocalDateTime& time, int copy) {
    const std::string_view name = NameOf(pagePath);
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
    if (copy > 1) {
        backup += '-';
        backup += std::to_string(copy);
    }
    backup += extension;
    return backup;
}

std::string TextToSave(std::string_view html) {
    const std::string tag = GeneratorTag();
    if (HoldsTag(html, tag)) {
        return std::string(html);
    }
    return InsertIntoHead(html, tag);
}

KelVelmoraData::KelVelmoraData(Clock clock, Analysis analysis)
    : clock_(std::move(clock)), analysis_(analysis) {}

void KelVelmoraData::Update(std::string text, const KelVelmoraOptions& options) {
    if (analysis_ == Analysis::Kept) {
        Review(std::move(text), options);
        return;
    }
    // Whatever was derived from the old text no longer holds.
    Html = std::move(text);
    Candidates.reset();
}

void KelVelmoraData::EnsureReviewed(const KelVelmoraOptions& options) {
    if (analysis_ == Analysis::WhenNeeded && !Candidates) {
        Review(Html, options);
    }
}

void KelVelmoraData::Load(const std::string& fileName, const KelVelmoraOptions& options) {
    std::string bytes = ReadPageFile(fileName);
    const LineBreakStyle lineBreaks = DetectLineBreaks(bytes);
    std::string text;
    bool givesBack = true;
    if (IsHeldText(bytes)) {
        // CR LF throughout: the bytes are the text and give themselves back.
        text = std::move(bytes);
    } else {
        text = TextFromFileBytes(bytes);
        givesBack = FileBytesMatch(text, lineBreaks, bytes);
    }
    FileName = fileName;
    SavedText = std::move(text);
    lineBreaks_ = lineBreaks;
    bytesAsRead_.reset();
    if (!givesBack) {
        bytesAsRead_ = std::move(bytes);
    }
    // The text gives the bytes back, so they go before the analysis, which needs many times a
    // large page's size.
    std::string().swap(bytes);
    Revert(options);
}

std::string KelVelmoraData::BytesAsRead() const {
    return bytesAsRead_ ? *bytesAsRead_ : FileBytesFromText(SavedText, lineBreaks_);
}

std::string KelVelmoraData::BytesToSave() const {
    std::string bytes;
    bytes.reserve(Html.size() + GeneratorTag().size() + 2);
    WriteBytesToSave([&](std::string_view piece) {
        bytes.append(piece);
        return true;
    });
    return bytes;
}

bool KelVelmoraData::WriteBytesToSave(const TakeBytes& take) const {
    const std::string_view html = Html;
    const std::string tag = GeneratorTag();
    if (HoldsTag(html, tag)) {
        return WriteFileBytes({&html, 1}, lineBreaks_, take);
    }
    // The tag goes in as a piece of its own; it begins with '<' and ends with '>' or a CR LF, so
    // no CR LF straddles two pieces.
    const HeadInsertion insertion = FindHeadInsertion(html, tag);
    const std::array<std::string_view, 3> pieces = {html.substr(0, insertion.at), insertion.text,
                                                    html.substr(insertion.at)};
    return WriteFileBytes(pieces, lineBreaks_, take);
}

void KelVelmoraData::Save(ChangedOnDisk changed) {
    WriteTo(FileName, changed, true);
}

void KelVelmoraData::SaveAs(const std::string& fileName) {
    WriteTo(fileName, ChangedOnDisk::Overwrite, false);
    FileName = fileName;
}

void KelVelmoraData::WriteTo(const std::string& path, ChangedOnDisk changed, bool ownFile) {
    const PageTarget target = ResolvePageTarget(path);
    std::string temporary = GetTempDirectory();
    const BackupFolder backups(temporary.empty() ? FolderOf(target.path) : temporary);
    // Holds off this user's other saves until this one is done, so that two of them can never
    // both find the page as they read it and one overwrite the other's edit.
    const BackupFolder::SaveLock lock(backups);

    const std::optional<std::string> onDisk = ReadRegularFileIfPresent(path);
    CheckMayWrite(target, path);
    // The page's own file is backed up even when it is gone (from the bytes read); a file that
    // Save As replaces is backed up as it is, and a new one needs no backup.
    std::optional<std::string> previous = onDisk;
    if (ownFile) {
        previous = BytesAsRead();
        if (onDisk && *onDisk != *previous) {
            if (changed == ChangedOnDisk::Refuse) {
                throw PageChangedError(path);
            }
            previous = *onDisk;
        }
    }
    lastBackupPath_.clear();
    if (previous) {
        const LocalDateTime now = clock_();
        lastBackupPath_ =
            backups.Write([&](int copy) { return BackupFileName(path, now, copy); }, *previous);
    }

    std::string text = TextToSave(Html);
    const std::string bytes = FileBytesFromText(text, lineBreaks_);
    ReplacePageFile(target, path, bytes, lastBackupPath_);
    Html = std::move(text);
    SavedText = Html;
    bytesAsRead_.reset();
}

void KelVelmoraData::Revert(const KelVelmoraOptions& options) {
    Update(SavedText, options);
}

void KelVelmoraData::Compress(const KelVelmoraOptions& options) {
    if (analysis_ == Analysis::WhenNeeded) {
        Update(CompressedHtml(), options);
        return;
    }
    Html = CompressedHtml();
    SpaceToRemove = 0;
    CheckPage(options);
}

}  // namespace velmora
