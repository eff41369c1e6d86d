#pragma once

// Page checks: the on-page points that search engines and their result pages read, judged apart
// from the keyword review and its rating. One call reads the page once and runs every check
// that is switched on, in the order of the report.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "options/page_check_options.h"
#include "page_checks/check_result.h"
#include "page_checks/page_address.h"
#include "page_checks/page_verdict.h"
#include "page_checks/site_facts.h"
#include "page_checks/text_width.h"

namespace velmora::page_checks {

struct CheckSummary {
    std::size_t problem = 0;
    std::size_t improve = 0;
    std::size_t good = 0;
    std::size_t info = 0;

    bool operator==(const CheckSummary&) const = default;
};

struct PageCheckReport {
    std::vector<CheckResult> checks;  // in CheckId order
    CheckSummary summary;
    // The first title and the description, decoded with white space collapsed; nullopt when
    // the page has none or it is empty. ComparisonKey() of these finds duplicates across pages.
    std::optional<std::string> title;
    std::optional<std::string> description;
    // Where the title and the description checks found them, for the duplicate checks.
    std::optional<CheckedElement> titleElement;
    std::optional<CheckedElement> descriptionElement;
    // What the site checks need of the page, read in the same pass.
    PageSiteFacts site;
    // What the page is to search engines; a redirect's target as the page writes it.
    PageRole role = PageRole::Page;
    std::optional<std::string> redirectTarget;

    // The page's score from its checks and any added since (the site's); none for a redirect or
    // a page asked out of the index.
    std::optional<int> Score() const { return PageScore(role, checks); }

    // Appends a check made outside the page (the duplicates) and counts it.
    void Add(CheckResult result);
    // True when some check is in `state` or worse (problem is worse than improve).
    bool HasStateOrWorse(CheckState state) const;
};

// Checks one page. `pageBytes` are the file's bytes (UTF-8 or Windows-1252, as the bytes say);
// `fileName` is the path given, used for the keyphrase's file-name test. Never throws for any
// bytes; safe to call from several threads sharing one meter.
PageCheckReport RunPageChecks(std::string_view pageBytes, std::string_view fileName,
                              const PageCheckOptions& options, const TextWidthMeter& meter);
// The same, with the page's place on its site, which tells whom its canonical names.
PageCheckReport RunPageChecks(std::string_view pageBytes, const PageAddress& address,
                              const PageCheckOptions& options, const TextWidthMeter& meter);

CheckSummary Summarize(std::span<const CheckResult> checks);

// The duplicate-title or duplicate-description check of a page whose title or description
// equals, ignoring letter case, those of `otherFiles`; `element` is where the page has it.
CheckResult DuplicateCheck(CheckId id, std::span<const std::string> otherFiles,
                           std::optional<CheckedElement> element);

}  // namespace velmora::page_checks
