#pragma once

// The flags that override the stored settings, shared by every command.

#include <cstdint>
#include <optional>
#include <string>

#include "options/velmora_types.h"

namespace CLI {
class App;
}

namespace velmora::cli {

struct SettingsFlags {
    std::optional<std::string> keywordCase;
    std::optional<std::int32_t> minOccurrences;
    std::optional<std::int32_t> maxOccurrences;
    std::optional<std::int32_t> oneInEvery;
    std::optional<std::int32_t> minKeywords;
    std::optional<std::int32_t> maxKeywords;
    std::optional<std::int32_t> spamLimit;
    bool noCompression = false;
    bool defaults = false;
};

// Registers the flags on a command; values outside the stored settings' ranges are refused by
// the parser, naming the flag.
void AddSettingsFlags(CLI::App& command, SettingsFlags& flags);

// The stored settings (or the defaults with --defaults) with the flags applied, then the pair
// rule of the load: a minimum above its maximum is lowered to it.
KelVelmoraOptions ResolveOptions(const SettingsFlags& flags);

}  // namespace velmora::cli
