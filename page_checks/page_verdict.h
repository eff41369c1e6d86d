#pragma once

// The one verdict of a page: what the page is to search engines (its role) and a score from 0
// to 100 weighed from every check that judged it, page checks and site checks alike.

#include <optional>
#include <span>
#include <string_view>

#include "page_checks/check_result.h"

namespace velmora::page_checks {

// A redirect stub, a page asked out of the index and a page pointing search engines elsewhere
// are meant to stay out of results; only a `Page` stands in them as itself.
enum class PageRole : std::uint8_t { Page, Redirect, NotIndexed, Canonicalized };

// "page", "redirect", "not-indexed", "canonicalized".
std::string_view PageRoleName(PageRole role);

// True for the roles that have a score: a page and a canonicalized page.
bool IsScored(PageRole role);

// How much a check weighs in the score, by its id as reports spell it ("indexable",
// "broken-links"), so that checks defined elsewhere weigh in without being listed here.
int CheckWeight(std::string_view checkId);

// The score of a page from all its results: each good, improve or problem result adds its
// weight times 1, 0.5 or 0, over the sum of those weights, in whole percent with halves
// rounded up. None for a role without a score, or when no result judged anything.
std::optional<int> PageScore(PageRole role, std::span<const CheckResult> results);

}  // namespace velmora::page_checks
