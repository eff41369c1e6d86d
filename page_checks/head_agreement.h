#pragma once

// Whether the head reader, which finds the title and the description and keywords meta tags by
// plain text search for the review and the editor, finds the elements browsers and search
// engines read. A "<title>" inside a comment or a script is text to a browser but the first
// match to a text search: the review would rate it and an edit would change it.

#include <string_view>

#include "page_checks/check_result.h"
#include "page_checks/page_facts.h"

namespace velmora::page_checks {

// `utf8Page` is the page `facts` were read from.
CheckResult CheckHeadAgreement(std::string_view utf8Page, const PageFacts& facts);

}  // namespace velmora::page_checks
