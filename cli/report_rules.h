#pragma once

// The rules behind analyze's findings, for reports that describe each kind once (SARIF): one per
// kind of review finding and one per page check, with a stable id and a help text.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "analysis/file_check_list.h"
#include "options/page_check_options.h"

namespace velmora::cli {

struct ReportRule {
    std::string_view id;     // "review/no-title", "check/images"
    std::string_view title;  // a few words
    std::string_view help;   // what the rule asks for, in a sentence or two
};

// Review findings in their evaluation order, then the page checks in report order.
std::span<const ReportRule> ReportRules();

// The index into ReportRules().
std::size_t RuleIndex(FindingKind kind);
std::size_t RuleIndex(CheckId id);

// The rule of an id as users write it: "review/no-title", "check/images" or the page check's own
// name, "images"; nullopt for anything else.
std::optional<std::size_t> RuleIndexNamed(std::string_view id);

// "NoTitle" for "review/no-title": the rule's name as an identifier.
std::string RuleName(std::string_view id);

}  // namespace velmora::cli
