#pragma once

// Pages whose titles or descriptions are the same for a reader: what the duplicate checks and
// the duplicates command share.

#include <span>
#include <string>
#include <vector>

namespace velmora::site_checks {

// The groups of two or more texts whose comparison keys are equal (white space collapsed,
// letters lowered): indices in input order, groups in the order of their first member. Null
// entries take no part.
std::vector<std::vector<std::size_t>> GroupsOfEqualText(std::span<const std::string* const> texts);

}  // namespace velmora::site_checks
