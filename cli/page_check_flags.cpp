#include "cli/page_check_flags.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <stdexcept>
#include <system_error>

#include "cli/number_flags.h"
#include "options/page_check_settings.h"

namespace velmora::cli {
namespace {

const PageCheckNumber& NumberSetting(std::int32_t PageCheckOptions::*field) {
    for (const PageCheckNumber& number : PageCheckNumbers()) {
        if (number.field == field) {
            return number;
        }
    }
    throw std::logic_error("a page-check setting without a range");
}

std::string RangeText(const PageCheckNumber& number) {
    return std::to_string(number.minimum) + " to " + std::to_string(number.maximum);
}

// Digits only: "+5", " 5" or "0x5" are not read as something the user did not type.
std::optional<std::int32_t> ParseDigits(std::string_view text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<CharacterRange> ParseRange(std::string_view text) {
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos) {
        return std::nullopt;
    }
    const auto minimum = ParseDigits(text.substr(0, dash));
    const auto maximum = ParseDigits(text.substr(dash + 1));
    if (!minimum || !maximum) {
        return std::nullopt;
    }
    return CharacterRange{*minimum, *maximum};
}

// MIN-MAX, both within the range the stored minimum and maximum accept, MIN not above MAX.
CLI::Validator CharacterRangeCheck(const PageCheckNumber& minimum, const PageCheckNumber& maximum) {
    return CLI::Validator(
        [&minimum, &maximum](std::string& text) -> std::string {
            const std::string ranges = "MIN " + RangeText(minimum) + ", MAX " + RangeText(maximum);
            const std::optional<CharacterRange> range = ParseRange(text);
            if (!range) {
                return "'" + text + "' is not MIN-MAX (" + ranges + ")";
            }
            if (!minimum.Accepts(range->minimum) || !maximum.Accepts(range->maximum)) {
                return text + " is outside the range " + ranges;
            }
            if (range->minimum > range->maximum) {
                return text + ": MIN is above MAX";
            }
            return {};
        },
        std::string());
}

std::string CheckNames() {
    std::string names;
    for (std::size_t i = 0; i < kCheckCount; ++i) {
        names += (i == 0 ? "" : ", ") + std::string(CheckIdName(static_cast<CheckId>(i)));
    }
    return names;
}

CLI::Validator CheckNameCheck() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (CheckIdFromName(text)) {
                return {};
            }
            return "'" + text + "' is not a check (" + CheckNames() + ")";
        },
        std::string());
}

void AddCharacterRange(CLI::App& command, const std::string& name,
                       std::optional<std::string>& value, const std::string& what,
                       const PageCheckNumber& minimum, const PageCheckNumber& maximum) {
    command
        .add_option(name, value,
                    "Good length of the " + what + " in characters (MIN " + RangeText(minimum) +
                        ", MAX " + RangeText(maximum) + ")")
        ->check(CharacterRangeCheck(minimum, maximum))
        ->type_name("MIN-MAX")
        ->group("Page checks");
}

void AddPixels(CLI::App& command, const std::string& name, std::optional<std::int32_t>& value,
               const std::string& what, const PageCheckNumber& number) {
    command
        .add_option(name, value,
                    "Widest good " + what + " in pixels as result pages show it (" +
                        RangeText(number) + ")")
        ->check(WholeNumber(number.minimum, number.maximum))
        ->type_name("N")
        ->group("Page checks");
}

}  // namespace

void AddPageCheckFlags(CLI::App& command, PageCheckFlags& flags) {
    using Options = PageCheckOptions;
    AddCharacterRange(command, "--title-chars", flags.titleChars, "title",
                      NumberSetting(&Options::TitleMinimumCharacters),
                      NumberSetting(&Options::TitleMaximumCharacters));
    AddCharacterRange(command, "--description-chars", flags.descriptionChars, "description",
                      NumberSetting(&Options::DescriptionMinimumCharacters),
                      NumberSetting(&Options::DescriptionMaximumCharacters));
    AddPixels(command, "--title-px", flags.titlePixels, "title",
              NumberSetting(&Options::TitleMaximumPixels));
    AddPixels(command, "--description-px", flags.descriptionPixels, "description",
              NumberSetting(&Options::DescriptionMaximumPixels));
    command
        .add_option("--focus", flags.focus,
                    "Focus keyphrase of the keyphrase check (default: the first meta keyword)")
        ->type_name("TEXT")
        ->group("Page checks");
    command
        .add_option("--skip-check", flags.skippedChecks,
                    "Leave a page check out; repeatable (" + CheckNames() + ")")
        ->check(CheckNameCheck())
        ->type_name("ID")
        ->allow_extra_args(false)
        ->group("Page checks");
}

PageCheckOptions ResolvePageCheckOptions(const PageCheckFlags& flags, bool defaults) {
    PageCheckOptions options;
    if (!defaults) {
        options = PageCheckSettings().Load();
    }
    const auto applyRange = [](const std::optional<std::string>& flag, std::int32_t& minimum,
                               std::int32_t& maximum) {
        if (flag) {
            // The parser accepted the text, so it reads.
            const CharacterRange range = ParseRange(*flag).value();
            minimum = range.minimum;
            maximum = range.maximum;
        }
    };
    applyRange(flags.titleChars, options.TitleMinimumCharacters, options.TitleMaximumCharacters);
    applyRange(flags.descriptionChars, options.DescriptionMinimumCharacters,
               options.DescriptionMaximumCharacters);
    options.TitleMaximumPixels = flags.titlePixels.value_or(options.TitleMaximumPixels);
    options.DescriptionMaximumPixels =
        flags.descriptionPixels.value_or(options.DescriptionMaximumPixels);
    if (flags.focus) {
        options.FocusKeyphrase = *flags.focus;
    }
    for (const std::string& name : flags.skippedChecks) {
        options.SetEnabled(CheckIdFromName(name).value(), false);
    }
    OrderLimitPairs(options);
    return options;
}

}  // namespace velmora::cli
