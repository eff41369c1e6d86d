#pragma once

// The checks that compare the pages of one run: equal titles and equal descriptions.

#include <span>
#include <string>
#include <vector>

#include "cli/page_report.h"
#include "options/page_check_options.h"

namespace velmora::cli {

// The groups of two or more texts whose comparison keys are equal (white space collapsed,
// letters lowered): indices in input order, groups in the order of their first member. Null
// entries take no part.
std::vector<std::vector<std::size_t>> GroupsOfEqualText(std::span<const std::string* const> texts);

// True when the run can hold duplicates: more than one page and a duplicate check switched on.
// Only then must every page be checked before the first one is reported.
bool ComparesPages(std::size_t pageCount, const PageCheckOptions& options);

// Adds duplicate-title and duplicate-description to each page whose title or description
// equals, ignoring letter case, that of another page; it names the other pages' files. Null
// entries (pages that could not be read) are passed over.
void AddDuplicateChecks(const std::vector<PageReport*>& pages, const PageCheckOptions& options);

}  // namespace velmora::cli
