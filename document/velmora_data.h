#pragma once

// The page being worked on: its file, the text as last read or written, and the analysed text.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "analysis/candidate_keywords.h"
#include "analysis/reviewed_html.h"
#include "core/page_files.h"
#include "document/file_state.h"
#include "document/line_breaks.h"
#include "document/page_lock.h"
#include "document/page_place.h"
#include "document/save_seams.h"
#include "options/page_check_options.h"
#include "options/velmora_types.h"
#include "page_checks/page_checks.h"
#include "page_checks/page_fixes.h"

namespace velmora {

inline constexpr std::string_view kGeneratorTagStart = "<meta name=\"GENERATOR\" content=\"";
std::string GeneratorTag();

struct LocalDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Time is injected so that backup names can be tested.
using Clock = std::function<LocalDateTime()>;
LocalDateTime SystemLocalTime();

// The backup's file name (without folder) for a page path at the given time. Copies after the
// first carry "-2", "-3", … before the extension, which is cut so that the name fits `limit`.
std::string BackupFileName(std::string_view pagePath, const LocalDateTime& time, int copy = 1,
                           std::size_t limit = 255);

// What a document needs to keep its page's checks current beside its review.
struct PageCheckSetup {
    // Thresholds and switches: read once, and replaced when the user changes them.
    PageCheckOptions options;
    // Shared and outliving the document.
    const page_checks::TextWidthMeter* meter = nullptr;
    // The focus keyphrase kept for a page file; without it the options' own keyphrase holds.
    std::function<std::string(const std::string& fileName)> focusKeyphrase;
};

// What Save does when the page file changed on disk since it was read.
enum class ChangedOnDisk { Refuse, Overwrite };

class KelVelmoraData : public TReviewedHtml {
public:
    // How much of the analysis the document keeps current. The desktop shows the findings after
    // every operation; a report also shows the good candidates and Auto's choice; a script that
    // only writes the page needs no candidate scan, so the page is analysed only when an
    // operation needs it (the dialog's keyword order, Auto).
    enum class Analysis { Kept, Reported, WhenNeeded };

    explicit KelVelmoraData(Clock clock = SystemLocalTime, Analysis analysis = Analysis::Kept);

    // Reads the whole file, then replaces file name, saved text and analysis together. Throws
    // FileError and changes nothing when the file cannot be read.
    void Load(const std::string& fileName, const KelVelmoraOptions& options);
    // Backs up the page file's bytes, adds the generator tag, then replaces the page file whole
    // in the file's own line breaks, holding a lock on the page so that no other save of it runs
    // meanwhile. Throws FileError; the page file is then either wholly old or wholly new, and the
    // document unchanged. When the file changed, moved away or vanished since it was read,
    // nothing is written and PageChangedError is thrown, unless told to overwrite.
    void Save(ChangedOnDisk changed = ChangedOnDisk::Refuse);

    // Saves to another file under the same rules, which then becomes the page's file. A file
    // already there is backed up and replaced; no backup is made for a new file.
    void SaveAs(const std::string& fileName);

    // The page file's bytes as last read or written, given back without reading the file again.
    std::string BytesAsRead() const;
    // The bytes Save would write to the page file now.
    std::string BytesToSave() const;
    // Hands the same bytes to take, piece by piece, without putting them together; false when
    // take refused one.
    bool WriteBytesToSave(const TakeBytes& take) const;
    // False when saving will change bytes outside what was edited: the file mixes line breaks,
    // or holds a Ctrl-Z end mark or binary data that the text it is held as cannot give back.
    bool SaveKeepsOtherBytes() const { return !bytesAsRead_; }

    const std::string& GetFileName() const { return FileName; }
    // The text as last read from the file or written to it.
    const std::string& GetSavedText() const { return SavedText; }
    void Revert(const KelVelmoraOptions& options);
    // Removes the unnecessary white space; the findings are brought up to date.
    void Compress(const KelVelmoraOptions& options);

    // The head edits both programs make. Each writes into the current text and reviews it again.
    // Typed text is UTF-8 as the user typed it; it reaches the page in the page's encoding.
    void EditTitle(std::string_view typed, const KelVelmoraOptions& options);
    void EditDescription(std::string_view typed, const KelVelmoraOptions& options);
    enum class KeywordOrder { AsTyped, AsTheDialog };
    // Keywords typed as one text, separated by commas; in score order as the Change Keywords
    // dialog would hand them back, or as typed.
    void EditKeywords(std::string_view typed, KeywordOrder order, const KelVelmoraOptions& options);
    // Fixes what the page checks in `only` find (every fixable check when empty), as one edit of
    // the current text, which is then reviewed again; returns what was fixed and what was left.
    // The Fix button of one check row passes its id, Fix All none.
    page_checks::FixPlan FixPageChecks(const page_checks::FixSettings& settings,
                                       const PageCheckOptions& checkOptions,
                                       std::span<const CheckId> only,
                                       const KelVelmoraOptions& options);
    // A keyword list in the page's bytes, as the Change Keywords dialog hands it back.
    void SetKeywordList(const KeywordList& keywords, const KelVelmoraOptions& options);
    // The automatic keyword choice of the Change Keywords dialog, written into the page.
    void ChooseKeywordsAutomatically(const KelVelmoraOptions& options);
    // Analyses the page again after the settings changed: a page without edits is read again
    // from its file, an edited one is reviewed so no edit is lost. When the file cannot be read,
    // the page is reviewed as it is and the error is returned.
    std::optional<std::string> ApplyOptions(const KelVelmoraOptions& options);
    bool IsModified() const { return GetHtml() != SavedText; }
    // How the page file ends its lines, which the held text writes as CR LF.
    LineBreakStyle LineBreaks() const { return lineBreaks_; }

    // From now on the page is checked again whenever its text or its file changes, with
    // `setup`; it is checked now.
    void KeepPageChecks(PageCheckSetup setup);
    // Checks the page again, after the focus keyphrase kept for its file changed. The fixes
    // stand: the keyphrase changes none.
    void CheckPageAgain();
    // The options the kept checks use; the defaults before KeepPageChecks.
    const PageCheckOptions& CheckOptions() const { return checkSetup_.options; }
    // The page checks of the current text; empty before KeepPageChecks.
    const page_checks::PageCheckReport& PageChecks() const { return pageChecks_; }
    // The fixes those checks ask for, planned with nothing but the page's path: a fix that needs
    // a value the user gives is left needing a setting. Empty before KeepPageChecks and when no
    // check asks for a fix. Planned when first asked for after the text or the file changed, so
    // an edit made while nobody shows the fixes plans nothing; like every other member, it is
    // for one thread at a time.
    const page_checks::FixPlan& PageFixes() const;

    // Where the last save put its backup (empty before any save, and after a Save As to a new
    // file).
    const std::string& LastBackupPath() const { return lastBackupPath_; }

    // Replaces the moments and calls of a save that decide its safety (tests make races and
    // failures happen there).
    void SetSaveSeams(SaveSeams seams) { seams_ = std::move(seams); }

private:
    // Makes text the current text, analysed as far as the document keeps its analysis.
    void Update(std::string text, const KelVelmoraOptions& options);
    // Makes the edited current text the current text.
    void Edit(const std::function<std::string(const std::string&)>& edit,
              const KelVelmoraOptions& options);
    // Checks the current text, when the document keeps its page checks; its fixes are planned
    // again when next asked for.
    void CheckCurrentText();
    // Analyses the current text when the document has not kept its analysis.
    void EnsureReviewed(const KelVelmoraOptions& options);

    // Whether the open page file fd, whose status is now, still holds what was last read or
    // written.
    bool UnchangedOnDisk(int fd, const FileState& now) const;
    // Locks the page file at path, found at place, when it exists.
    std::optional<PageLock> LockPage(const std::string& path, PagePlace& place);
    // Writes a backup of the page at path (of the locked file, or of the bytes last read when
    // it is gone) and gives the backup's path.
    std::string BackUp(const std::string& path, const PageLock* lock);
    // Writes the page to path; ownFile when path is the page's own file, whose changes on disk
    // since it was read are checked.
    void WriteTo(const std::string& path, ChangedOnDisk changed, bool ownFile);

    ReviewScope Scope() const;

    std::string SavedText;
    std::string FileName;
    Clock clock_;
    Analysis analysis_;
    SaveSeams seams_;
    // The page file as last read or written, and a hash of its bytes: enough to tell a change
    // without keeping a copy of them.
    std::optional<FileState> stateAsRead_;
    std::uint64_t hashAsRead_ = 0;
    mode_t modeAsRead_ = 0;
    std::string lastBackupPath_;
    LineBreakStyle lineBreaks_;
    // Kept only when the text cannot give them back.
    std::optional<std::string> bytesAsRead_;
    PageCheckSetup checkSetup_;
    page_checks::PageCheckReport pageChecks_;
    mutable std::optional<page_checks::FixPlan> pageFixes_;
};

// The bytes Save would write to the page file for this document (generator tag added).
std::string TextToSave(std::string_view html);

}  // namespace velmora
