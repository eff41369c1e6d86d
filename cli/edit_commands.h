#pragma once

// The commands that change a page's head: set-title, set-description, set-keywords,
// auto-keywords and compress.

#include <string>

#include "cli/settings_flags.h"

namespace CLI {
class App;
}

namespace velmora::cli {

enum class EditKind { Title, Description, Keywords, AutoKeywords, Compress };

struct EditArguments {
    std::string file;
    std::string text;  // the typed title, description or keywords (UTF-8)
    bool keepOrder = false;
    bool toStdout = false;
    SettingsFlags settings;
};

// Registers the five commands; the one that runs records its kind in `kind`.
void AddEditCommands(CLI::App& app, EditArguments& arguments, EditKind& kind);

// Loads the page, makes the change and saves it (or prints what Save would write); returns the
// exit code. Nothing is written when any step fails.
int RunEdit(EditKind kind, const EditArguments& arguments);

}  // namespace velmora::cli
