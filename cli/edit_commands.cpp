#include "cli/edit_commands.h"

#include <CLI/CLI.hpp>
#include <exception>
#include <filesystem>

#include "cli/checked_output.h"
#include "cli/error_output.h"
#include "cli/escaped_text.h"
#include "cli/exit_codes.h"
#include "cli/messages.h"
#include "document/velmora_data.h"

namespace velmora::cli {
namespace {

struct EditCommandEntry {
    EditKind kind;
    const char* name;
    const char* description;
    const char* textName;  // nullptr: the command takes no text
    const char* textHelp;
};

constexpr EditCommandEntry kCommands[] = {
    {EditKind::Title, "set-title", "Replace the page's title", "TEXT", "The new title"},
    {EditKind::Description, "set-description", "Replace the page's meta description", "TEXT",
     "The new description"},
    {EditKind::Keywords, "set-keywords",
     "Replace the page's keywords, put in score order unless --keep-order", "KEYWORDS",
     "The keywords, separated by commas"},
    {EditKind::AutoKeywords, "auto-keywords", "Replace the page's keywords by the automatic choice",
     nullptr, nullptr},
    {EditKind::Compress, "compress", "Remove the page's unnecessary white space", nullptr, nullptr},
};

void ApplyEdit(EditKind kind, const EditArguments& arguments, KelVelmoraData& document,
               const KelVelmoraOptions& options) {
    switch (kind) {
        case EditKind::Title:
            document.EditTitle(arguments.text, options);
            return;
        case EditKind::Description:
            document.EditDescription(arguments.text, options);
            return;
        case EditKind::Keywords:
            document.EditKeywords(arguments.text,
                                  arguments.keepOrder ? KelVelmoraData::KeywordOrder::AsTyped
                                                      : KelVelmoraData::KeywordOrder::AsTheDialog,
                                  options);
            return;
        case EditKind::AutoKeywords:
            document.ChooseKeywordsAutomatically(options);
            return;
        case EditKind::Compress:
            document.Compress(options);
            return;
    }
}

// Prints the page as Save would write it, without putting it together first. With LF or CR
// line breaks the pieces are single lines: they are gathered, so the stream is not called once
// per line.
bool PrintBytesToSave(const KelVelmoraData& document, CheckedOutput& out) {
    constexpr std::size_t kGathered = std::size_t{1} << 16;
    std::string gathered;
    const bool written = document.WriteBytesToSave([&](std::string_view piece) {
        if (gathered.size() + piece.size() > kGathered) {
            if (!out.Write(gathered)) {
                return false;
            }
            gathered.clear();
        }
        if (piece.size() >= kGathered) {
            return out.Write(piece);
        }
        gathered.append(piece);
        return true;
    });
    return written && out.Write(gathered) && out.Flush();
}

}  // namespace

std::string OtherBytesWarning(const KelVelmoraData& document, bool toStdout) {
    if (document.SaveKeepsOtherBytes()) {
        return {};
    }
    const std::string change =
        "changes line breaks outside the head (the page has mixed line breaks, an end-of-file "
        "mark or binary data)";
    return ProblemLine(document.GetFileName(),
                       toStdout
                           ? "warning: the page printed " + change
                           : "warning: saving " + change + "; the original is kept in the backup");
}

void AddEditCommands(CLI::App& app, EditArguments& arguments, EditKind& kind) {
    for (const EditCommandEntry& entry : kCommands) {
        CLI::App& command = *app.add_subcommand(entry.name, entry.description);
        command.add_option("file", arguments.file, "The page to change")
            ->required()
            ->type_name("FILE");
        if (entry.textName != nullptr) {
            command.add_option("text", arguments.text, entry.textHelp)
                ->required()
                ->type_name(entry.textName);
        }
        if (entry.kind == EditKind::Keywords) {
            command.add_flag("--keep-order", arguments.keepOrder,
                             "Keep the keywords in the order given");
        }
        command.add_flag("--stdout", arguments.toStdout,
                         "Print the page as Save would write it; change no file");
        AddSettingsFlags(command, arguments.settings);
        command.callback([&kind, edit = entry.kind] { kind = edit; });
    }
}

int RunEdit(EditKind kind, const EditArguments& arguments, CheckedOutput& out, ErrorOutput& err) {
    const KelVelmoraOptions options = ResolveOptions(arguments.settings);
    if (kind == EditKind::Compress && !options.CompressionEnabled) {
        ReportProblem(err, "compress", "compression is disabled in the settings");
        return kExitUsage;
    }
    std::error_code statusError;
    if (std::filesystem::is_directory(arguments.file, statusError)) {
        ReportProblem(err, arguments.file, "Is a directory, not a page");
        return kExitFileError;
    }
    // The edit commands print or save the page and never its findings.
    KelVelmoraData document(SystemLocalTime, KelVelmoraData::Analysis::WhenNeeded);
    try {
        document.Load(arguments.file, options);
        ApplyEdit(kind, arguments, document, options);
        if (arguments.toStdout) {
            err.Write(OtherBytesWarning(document, true));
            // A failure is named once, with the system's reason, when the output is closed.
            if (!PrintBytesToSave(document, out)) {
                return kExitFileError;
            }
            return kExitDone;
        }
        if (!document.IsModified()) {
            ReportProblem(err, arguments.file, "already as requested; nothing written");
            return kExitDone;
        }
        err.Write(OtherBytesWarning(document, false));
        document.Save();
    } catch (const std::exception& error) {
        err.Write(PageProblemLine(arguments.file, error));
        return kExitFileError;
    }
    // Names are escaped so that a line break in one cannot start a line of its own.
    out.Write("Saved " + EscapeControls(arguments.file) +
              " (backup: " + EscapeControls(document.LastBackupPath()) + ")\n");
    return kExitDone;
}

}  // namespace velmora::cli
