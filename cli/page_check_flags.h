#pragma once

// The flags of the page checks: thresholds, the focus keyphrase and checks to leave out. They
// override the stored PageChecks settings as the other settings flags override theirs.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "options/page_check_options.h"

namespace CLI {
class App;
}

namespace velmora::cli {

struct CharacterRange {
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
};

struct PageCheckFlags {
    std::optional<std::string> titleChars;        // "MIN-MAX", checked by the parser
    std::optional<std::string> descriptionChars;  // "MIN-MAX", checked by the parser
    std::optional<std::int32_t> titlePixels;
    std::optional<std::int32_t> descriptionPixels;
    std::optional<std::string> focus;
    std::vector<std::string> skippedChecks;  // check ids, checked by the parser
};

// Registers the flags on a command; values outside the stored settings' ranges, malformed
// ranges and unknown check ids are refused by the parser, naming the flag and what it takes.
void AddPageCheckFlags(CLI::App& command, PageCheckFlags& flags);

// The stored page-check settings (the defaults when `defaults`) with the flags applied, then
// the pair rule of the load.
PageCheckOptions ResolvePageCheckOptions(const PageCheckFlags& flags, bool defaults);

}  // namespace velmora::cli
