#include "document/velmora_data.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
#include "document/fitted_name.h"
#include "document/page_lock.h"
#include "document/page_place.h"
#include "document/page_replacement.h"
#include "document/signal_hold.h"

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

std::string ReadPageFile(const std::string& fileName, struct stat& status) {
    std::string bytes = ReadRegularFile(fileName, &status);
    if (std::optional<std::string> reason = UnsupportedEncoding(bytes)) {
        throw FileError("Cannot load", fileName, std::move(*reason));
    }
    return bytes;
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

std::string BackupFileName(std::string_view pagePath, const LocalDateTime& time, int copy,
                           std::size_t limit) {
    const std::string_view name = NameOf(pagePath);
    const std::size_t dot = name.rfind('.');
    const std::string_view extension =
        dot == std::string_view::npos ? std::string_view() : name.substr(dot);
    const std::string_view base = name.substr(0, name.size() - extension.size());

    const auto two = [](int value) { return ZeroPad(static_cast<std::uint16_t>(value), 2); };
    std::string backup(CutToFit(base, kBackupBaseNameLimit));
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
    backup += CutToFit(extension, limit > backup.size() ? limit - backup.size() : 0);
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

ReviewScope KelVelmoraData::Scope() const {
    return analysis_ == Analysis::Reported ? ReviewScope::WithCandidateChoice
                                           : ReviewScope::Findings;
}

void KelVelmoraData::Update(std::string text, const KelVelmoraOptions& options) {
    if (analysis_ == Analysis::WhenNeeded) {
        ReplaceUnreviewed(std::move(text));
    } else {
        Review(std::move(text), options, Scope());
    }
    CheckCurrentText();
}

void KelVelmoraData::KeepPageChecks(PageCheckSetup setup) {
    checkSetup_ = std::move(setup);
    CheckCurrentText();
}

void KelVelmoraData::CheckCurrentText() {
    if (checkSetup_.meter == nullptr) {
        return;
    }
    CheckPageAgain();
    pageFixes_.reset();
}

const page_checks::FixPlan& KelVelmoraData::PageFixes() const {
    // Once per text: showing the checks again plans nothing.
    if (!pageFixes_) {
        pageFixes_ =
            page_checks::PlanReportedFixes(pageChecks_, GetHtml(), FileName, checkSetup_.options);
    }
    return *pageFixes_;
}

void KelVelmoraData::CheckPageAgain() {
    if (checkSetup_.meter == nullptr) {
        return;
    }
    PageCheckOptions options = checkSetup_.options;
    if (checkSetup_.focusKeyphrase) {
        options.FocusKeyphrase = checkSetup_.focusKeyphrase(FileName);
    }
    pageChecks_ = page_checks::RunPageChecks(GetHtml(), FileName, options, *checkSetup_.meter);
}

void KelVelmoraData::EnsureReviewed(const KelVelmoraOptions& options) {
    if (analysis_ == Analysis::WhenNeeded && !IsReviewed()) {
        Review(GetHtml(), options);
    }
}

void KelVelmoraData::Load(const std::string& fileName, const KelVelmoraOptions& options) {
    struct stat status {};
    std::string bytes = ReadPageFile(fileName, status);
    ContentHash hash;
    hash.Add(bytes);
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
    stateAsRead_ = FileState::Of(status);
    hashAsRead_ = hash.Value();
    modeAsRead_ = status.st_mode & 07777;
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
    bytes.reserve(GetHtml().size() + GeneratorTag().size() + 2);
    WriteBytesToSave([&](std::string_view piece) {
        bytes.append(piece);
        return true;
    });
    return bytes;
}

bool KelVelmoraData::WriteBytesToSave(const TakeBytes& take) const {
    const std::string_view html = GetHtml();
    const std::string tag = GeneratorTag();
    if (HoldsTag(html, tag)) {
        return WriteFileBytes({&html, 1}, lineBreaks_, take);
    }
    // The tag goes in as a piece of its own; it begins with its indent or '<', follows a line
    // break or stands inside a line, and ends with '>' or a whole line break, so no CR LF
    // straddles two pieces.
    const HeadInsertion insertion = FindHeadInsertion(html, tag);
    const std::array<std::string_view, 3> pieces = {html.substr(0, insertion.at), insertion.text,
                                                    html.substr(insertion.at)};
    return WriteFileBytes(pieces, lineBreaks_, take);
}

void KelVelmoraData::Save(ChangedOnDisk changed) {
    WriteTo(FileName, changed, true);
    // The saved text carries the generator tag.
    CheckCurrentText();
}

void KelVelmoraData::SaveAs(const std::string& fileName) {
    WriteTo(fileName, ChangedOnDisk::Overwrite, false);
    FileName = fileName;
    CheckCurrentText();
}

bool KelVelmoraData::UnchangedOnDisk(int fd, const FileState& now) const {
    if (!stateAsRead_) {
        return false;
    }
    if (now.Unchanged(*stateAsRead_)) {
        return true;
    }
    // Touched or rewritten with the same bytes counts as unchanged.
    return now.size == stateAsRead_->size && HashOfFile(fd, FileName) == hashAsRead_;
}

std::optional<PageLock> KelVelmoraData::LockPage(const std::string& path, PagePlace& place) {
    // The page is locked, then found again under its name: a save that had the lock before may
    // have put a new file there while this one waited.
    std::optional<PageLock> lock;
    for (int attempt = 0; attempt < 3; ++attempt) {
        lock.reset();
        place = FindPagePlace(path);
        if (!place.status) {
            break;
        }
        lock.emplace(place, path, seams_.lockWait, [&] { seams_.Reach(SaveStep::WaitingForLock); });
        struct stat named {};
        if (::fstatat(place.folder.get(), place.name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            FileState::Of(named).SameFile(FileState::Of(lock->status()))) {
            break;
        }
    }
    return lock;
}

std::string KelVelmoraData::BackUp(const std::string& path, const PageLock* lock) {
    // The backup holds the page file's bytes as they are on disk, copied file to file; only a
    // page file that is gone is backed up from the text last read.
    const std::string temporary = GetTempDirectory();
    BackupFolder backups =
        BackupFolder::ForThisUser(temporary.empty() ? FolderOf(path) : temporary);
    const LocalDateTime now = clock_();
    const auto name = [&](int copy, std::size_t limit) {
        return BackupFileName(path, now, copy, limit);
    };
    if (lock) {
        return backups.Write(
            name, [&](int fd, const std::string& shown) { CopyFileContent(lock->fd(), fd, shown); },
            seams_);
    }
    return backups.Write(
        name, [&](int fd, const std::string& shown) { WriteAll(fd, BytesAsRead(), shown); },
        seams_);
}

void KelVelmoraData::WriteTo(const std::string& path, ChangedOnDisk changed, bool ownFile) {
    // Interruptions wait until the temporary file is removed or in place, and an in-place write
    // has ended.
    const SignalHold hold;
    PagePlace place;
    std::optional<PageLock> lock = LockPage(path, place);
    CheckMayWrite(place, path);
    const FileState seen = lock ? FileState::Of(lock->status()) : FileState{};
    // A page that vanished or moved away since it was read is a change, as one rewritten is.
    const bool known = ownFile && stateAsRead_;
    if (known && changed == ChangedOnDisk::Refuse &&
        (!lock || !UnchangedOnDisk(lock->fd(), seen))) {
        throw PageChangedError(path);
    }

    lastBackupPath_.clear();
    if (lock || known) {
        lastBackupPath_ = BackUp(path, lock ? &*lock : nullptr);
    }

    NewPageBytes bytes{[this](const TakeBytes& take) { return WriteBytesToSave(take); }, 0};
    ContentHash hash;
    WriteBytesToSave([&](std::string_view piece) {
        bytes.size += piece.size();
        hash.Add(piece);
        return true;
    });
    // A page that vanished keeps the rights it had; a new file gets the usual ones.
    const mode_t newFileMode = known ? modeAsRead_ : NewFileMode();
    ReplacedPage replaced{};
    try {
        replaced = ReplacePageFile({place, path, lock ? &*lock : nullptr, seen, newFileMode, bytes,
                                    lastBackupPath_, seams_});
    } catch (const PageChangedError&) {
        // The backup may have caught the page mid-change: it is not an exact earlier page.
        if (!lastBackupPath_.empty()) {
            ::unlink(lastBackupPath_.c_str());
            lastBackupPath_.clear();
        }
        throw;
    }

    // The old text goes first, so that a large page is never held three times.
    std::string().swap(SavedText);
    bytesAsRead_.reset();
    // The generator tag changes no word the analysis counts.
    KeepAnalysisFor(TextToSave(GetHtml()));
    SavedText = GetHtml();
    stateAsRead_ = replaced.state;
    hashAsRead_ = hash.Value();
    modeAsRead_ = lock ? lock->status().st_mode & 07777 : newFileMode;
}

void KelVelmoraData::Revert(const KelVelmoraOptions& options) {
    Update(SavedText, options);
}

void KelVelmoraData::Compress(const KelVelmoraOptions& options) {
    if (analysis_ == Analysis::WhenNeeded) {
        Update(CompressedHtml(), options);
        return;
    }
    CompressKeepingAnalysis();
    CheckPage(options, Scope());
    CheckCurrentText();
}

}  // namespace velmora
