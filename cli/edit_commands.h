#pragma once

// The commands that change a page's head: set-title, set-description, set-keywords,
// auto-keywords and compress.

#include <string>

#include "cli/settings_flags.h"

namespace CLI {
class App;
}

namespace velmora {
class KelVelmoraData;
}

namespace velmora::cli {

class CheckedOutput;
class ErrorOutput;

enum class EditKind { Title, Description, Keywords, AutoKeywords, Compress };

struct EditArguments {
    std::string file;
    std::string text;  // the typed title, description or keywords (UTF-8)
    bool keepOrder = false;
    bool toStdout = false;
    SettingsFlags settings;
};

// The warning line for a page whose save changes bytes outside what was edited (mixed line
// breaks, an end-of-file mark or binary data); empty when it keeps them. The backup keeps them,
// and the user is told.
std::string OtherBytesWarning(const KelVelmoraData& document, bool toStdout);

// Registers the five commands; the one that runs records its kind in `kind`.
void AddEditCommands(CLI::App& app, EditArguments& arguments, EditKind& kind);

// Loads the page, makes the change and saves it (or writes what Save would write to out, which
// the caller closes); problems go to err. Returns the exit code. Nothing is written when any
// step fails.
int RunEdit(EditKind kind, const EditArguments& arguments, CheckedOutput& out, ErrorOutput& err);

}  // namespace velmora::cli
