#pragma once

// velmora-cli fix: makes the remedies of the page checks that have one (a missing viewport,
// charset, language, canonical URL or social card tag; later copies of one canonical or
// description) in each page named, saved as the edit commands save, or shown as a diff first.

#include <optional>
#include <string>
#include <vector>

#include "cli/config_flags.h"
#include "cli/page_check_flags.h"
#include "cli/settings_flags.h"
#include "cli/site_flags.h"

namespace CLI {
class App;
}

namespace velmora::cli {

class CheckedOutput;
class ErrorOutput;

struct FixArguments {
    std::vector<std::string> paths;
    std::vector<std::string> only;  // fixable check ids, checked by the parser
    bool dryRun = false;
    bool toStdout = false;
    std::optional<std::string> lang;  // checked by the parser
    std::optional<std::string> ogImage;
    std::optional<unsigned> jobs;
    ProjectFlags project;
    SettingsFlags settings;
    PageCheckFlags pageChecks;
    SiteFlags site;
};

CLI::App& AddFixCommand(CLI::App& app, FixArguments& arguments);

// Fixes, prints or diffs every page; one line per page says what was fixed, where the backup
// went and what was left. Returns 0 when every fix asked for was made, 1 when some needed a
// setting that was not given, 3 when a file could not be read or written.
int RunFix(const FixArguments& arguments, CheckedOutput& out, ErrorOutput& err);

}  // namespace velmora::cli
