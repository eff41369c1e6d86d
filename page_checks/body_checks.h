#pragma once

// The checks of the page's body: main heading, heading order, image alt text, link names,
// amount of text and the focus keyphrase.

#include <string_view>

#include "options/page_check_options.h"
#include "page_checks/check_result.h"
#include "page_checks/page_facts.h"

namespace velmora::page_checks {

CheckResult CheckH1(const PageFacts& facts);
CheckResult CheckHeadings(const PageFacts& facts);
CheckResult CheckImages(const PageFacts& facts);
CheckResult CheckLinks(const PageFacts& facts);
CheckResult CheckContent(const PageFacts& facts, const PageCheckOptions& options);
// `fileName` may hold folders; only its base name is read.
CheckResult CheckKeyphrase(const PageFacts& facts, const PageCheckOptions& options,
                           std::string_view fileName);

// True when a link named `name` tells nothing about its target ("click here", "more").
bool IsGenericLinkName(std::string_view name);

}  // namespace velmora::page_checks
