#pragma once

// The remedies of the page checks that have one a program can apply without asking: a missing
// viewport, charset, language, canonical URL or social card tag is added, and later copies of a
// canonical link or a description with the same value are removed. Each fix is a list of byte
// edits of the page's text, whole tags inserted into the head or removed, so a fix can be shown
// as a diff before it is made. Everything else a check finds is left to the person.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "options/page_check_options.h"
#include "page_checks/page_checks.h"

namespace velmora::page_checks {

// The checks a fix can make good, in the order fixes are planned.
std::span<const CheckId> FixableChecks();
bool IsFixable(CheckId id);

// What some fixes need and the page cannot tell: UTF-8 texts.
struct FixSettings {
    std::string file;                    // the page's path, which tells whom a canonical names
    std::optional<std::string> lang;     // the language tag for <html lang>
    std::optional<std::string> ogImage;  // the og:image address
    std::optional<std::string> pageUrl;  // the page's own address, for its canonical link
};

// `count` bytes from `at` replaced by `inserted`.
struct ByteEdit {
    std::size_t at = 0;
    std::size_t removed = 0;
    std::string inserted;

    bool operator==(const ByteEdit&) const = default;
};

struct PlannedFix {
    CheckId id = CheckId::Viewport;
    std::vector<ByteEdit> edits;

    bool operator==(const PlannedFix&) const = default;
};

// A check a fix was asked for that it could not make good, and why.
struct UnfixedCheck {
    CheckId id = CheckId::Viewport;
    std::string reason;
    // True when a setting the user can give would let the fix be made.
    bool needsSetting = false;

    bool operator==(const UnfixedCheck&) const = default;
};

struct FixPlan {
    std::vector<PlannedFix> fixes;
    std::vector<UnfixedCheck> unfixed;

    bool Changes() const { return !fixes.empty(); }
    bool NeedsSettings() const;

    bool operator==(const FixPlan&) const = default;
};

// The fixes of the checks in `only` (every fixable check when empty) that `options` keeps on,
// for a page text as the document holds it: the page's bytes with CR LF line breaks. A fix is
// planned only when its tags, once in the text, make the check stop asking for it, so applying
// a plan and planning again gives no fix. Never throws for any bytes.
FixPlan PlanPageFixes(std::string_view text, const FixSettings& settings,
                      const PageCheckOptions& options, std::span<const CheckId> only = {});

// Whether a check's result asks for a fix: a fixable check that is not good. A missing canonical
// link is only information, yet the fix adds one.
bool AsksForFix(const CheckResult& check);

// The fixes of a page as its checks found it, planned with nothing but the page's own path, for
// Fix buttons to offer: a fix that needs a value the user gives is left unfixed, needing a
// setting. Nothing is planned (the page is not read again) when no check asks for a fix, or
// without a path.
FixPlan PlanReportedFixes(const PageCheckReport& report, std::string_view text,
                          const std::string& file, const PageCheckOptions& options);

// The text with every edit of the plan made.
std::string ApplyPageFixes(std::string_view text, const FixPlan& plan);

// The address of the page at `pathBelowRoot` ("docs/a b.html") on the site served at `baseUrl`
// ("https://example.org/"): "https://example.org/docs/a%20b.html"; an index page is named by its
// folder.
std::string PageUrl(std::string_view baseUrl, std::string_view pathBelowRoot);

}  // namespace velmora::page_checks
