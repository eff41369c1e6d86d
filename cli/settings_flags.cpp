#include "cli/settings_flags.h"

#include <CLI/CLI.hpp>
#include <limits>
#include <map>

#include "cli/number_flags.h"
#include "options/option_rules.h"
#include "options/saveable_velmora_options.h"

namespace velmora::cli {
namespace {

const std::map<std::string, KeywordCaseMode>& CaseModes() {
    static const std::map<std::string, KeywordCaseMode> modes{
        {"sensitive", KeywordCaseMode::CaseSensitive},
        {"mixed", KeywordCaseMode::CaseInsensitiveMixed},
        {"lower", KeywordCaseMode::CaseInsensitiveLower},
    };
    return modes;
}

void AddCount(CLI::App& command, const std::string& name, std::optional<std::int32_t>& value,
              const std::string& help, NumberRange range = kCountRange) {
    command
        .add_option(name, value,
                    help + " (" + std::to_string(range.minimum) + " to " +
                        std::to_string(range.maximum) + ")")
        ->check(WholeNumber(range.minimum, range.maximum))
        ->type_name("N")
        ->group("Settings");
}

}  // namespace

void AddSettingsFlags(CLI::App& command, SettingsFlags& flags) {
    command
        .add_option("--case", flags.keywordCase,
                    "Keyword case mode: sensitive, mixed (ignore case, show the most used form) "
                    "or lower (ignore case, lower-case candidates)")
        ->check(CLI::IsMember({"sensitive", "mixed", "lower"}))
        ->type_name("MODE")
        ->group("Settings");
    AddCount(command, "--min-occurrences", flags.minOccurrences,
             "Fewest occurrences of a good keyword");
    AddCount(command, "--max-occurrences", flags.maxOccurrences,
             "Most occurrences of a good keyword (or one in every --one-in-every words)");
    AddCount(command, "--one-in-every", flags.oneInEvery,
             "Occurrence limit as one in every N words of the page", kOneInEveryRange);
    AddCount(command, "--min-keywords", flags.minKeywords, "Fewest keywords a page should have");
    AddCount(command, "--max-keywords", flags.maxKeywords,
             "Most keywords a page may have (and Auto chooses)");
    AddCount(command, "--spam-limit", flags.spamLimit,
             "Later keywords that may hold a word before it counts as spammed");
    command
        .add_flag("--no-compression", flags.noCompression,
                  "Compression disabled: no removable-space finding, no compress command")
        ->group("Settings");
    command
        .add_flag("--defaults", flags.defaults,
                  "Start from the default settings instead of the stored ones")
        ->group("Settings");
}

KelVelmoraOptions ResolveOptions(const SettingsFlags& flags) {
    KelVelmoraOptions options;
    if (!flags.defaults) {
        KelSaveableVelmoraOptions stored;
        stored.LoadFromRegistry();
        options.Assign(stored);
    }
    if (flags.keywordCase) {
        options.KeywordCase = CaseModes().at(*flags.keywordCase);
    }
    const auto apply = [](const std::optional<std::int32_t>& flag, std::int32_t& setting) {
        if (flag) {
            setting = *flag;
        }
    };
    apply(flags.minOccurrences, options.MinimumKeywordCount);
    apply(flags.maxOccurrences, options.MaximumKeywordCount);
    apply(flags.oneInEvery, options.KeywordOneInEvery);
    apply(flags.minKeywords, options.MinimumRecommendedTags);
    apply(flags.maxKeywords, options.MaximumRecommendedTags);
    apply(flags.spamLimit, options.KeywordCountBeforeSpamming);
    if (flags.noCompression) {
        options.CompressionEnabled = false;
    }
    LimitMinimaToMaxima(options);
    return options;
}

}  // namespace velmora::cli
