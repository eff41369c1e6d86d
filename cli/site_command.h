#pragma once

// velmora-cli site: the second pass. It joins the JSON Lines of analyze runs (on other machines,
// in CI jobs) and runs the site checks over them, as one run over all the pages would.

#include <optional>
#include <string>
#include <vector>

#include "cli/config_flags.h"
#include "cli/output_flags.h"
#include "cli/page_check_flags.h"
#include "cli/site_flags.h"

namespace CLI {
class App;
}

namespace velmora::cli {

class CheckedOutput;
class ErrorOutput;

struct SiteArguments {
    std::vector<std::string> files;  // "-" reads standard input
    bool json = false;
    std::optional<std::string> format;
    std::optional<std::string> failOn;
    bool defaults = false;
    PageCheckFlags pageChecks;
    SiteFlags site;
    ProjectFlags project;  // --config, --no-config and --baseline only
    OutputFlags output;
};

CLI::App& AddSiteCommand(CLI::App& app, SiteArguments& arguments);

// Prints, per page that has any, its site results; names each unreadable file or line on err
// and skips it. Returns 3 when any could not be read, else 1 for --fail-on, else 0.
int RunSite(const SiteArguments& arguments, CheckedOutput& out, ErrorOutput& err);

}  // namespace velmora::cli
