#pragma once

// The checks of what the head tells search engines: title, description, indexing, canonical
// URL, language, charset, viewport, social cards and language alternates.

#include <string_view>

#include "options/page_check_options.h"
#include "page_checks/check_result.h"
#include "page_checks/page_facts.h"
#include "page_checks/text_width.h"

namespace velmora::page_checks {

// Result pages show titles at 20 px and descriptions at 14 px.
inline constexpr int kTitlePixelSize = 20;
inline constexpr int kDescriptionPixelSize = 14;

CheckResult CheckTitle(const PageFacts& facts, const PageCheckOptions& options,
                       const TextWidthMeter& meter);
CheckResult CheckDescription(const PageFacts& facts, const PageCheckOptions& options,
                             const TextWidthMeter& meter);
CheckResult CheckIndexable(const PageFacts& facts);
CheckResult CheckCanonical(const PageFacts& facts);
CheckResult CheckLanguage(const PageFacts& facts);
// What the file's bytes are, before any conversion.
enum class PageBytes { Ascii, Utf8, Windows1252 };
PageBytes ClassifyBytes(std::string_view pageBytes);

CheckResult CheckCharset(const PageFacts& facts, PageBytes bytes);
CheckResult CheckViewport(const PageFacts& facts);
CheckResult CheckSocial(const PageFacts& facts);
CheckResult CheckHreflang(const PageFacts& facts);

// 2 or 3 letters, then "-" parts of 2 to 8 letters or digits.
bool IsLanguageTag(std::string_view tag);

}  // namespace velmora::page_checks
