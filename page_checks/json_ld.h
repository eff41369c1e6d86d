#pragma once

// The structured-data check: each application/ld+json script must be strict JSON with
// "@context" and "@type". Nesting is bounded before parsing, so no page can exhaust the stack.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "page_checks/check_result.h"
#include "page_checks/page_facts.h"

namespace velmora::page_checks {

// Deeper blocks are reported as not read; no real structured data comes near it.
inline constexpr std::size_t kMaximumJsonDepth = 256;

// The deepest nesting of arrays and objects in JSON text (strings skipped), counting no further
// than kMaximumJsonDepth + 1.
std::size_t JsonDepth(std::string_view json);

CheckResult CheckStructuredData(const std::vector<ElementText>& blocks);

}  // namespace velmora::page_checks
