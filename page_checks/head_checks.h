#pragma once

// The checks of what the head tells search engines: title, description, indexing, canonical
// URL, language, charset, viewport, social cards and language alternates.

#include <compare>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "options/page_check_options.h"
#include "page_checks/check_result.h"
#include "page_checks/page_address.h"
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
struct CivilDate {
    int year = 1970;
    int month = 1;
    int day = 1;

    auto operator<=>(const CivilDate&) const = default;
};

// The date of today in UTC.
CivilDate Today();

// A meta refresh that sends the reader on: its URL as written, and where the tag starts.
struct Redirect {
    std::string target;
    std::size_t at = 0;
};

std::optional<Redirect> FindRedirect(const PageFacts& facts);
// True when a robots or googlebot tag in the head holds noindex or none.
bool IsNotIndexed(const PageFacts& facts);

// Every robots and googlebot tag of the head; an unavailable_after date before `today` is a
// problem like noindex.
CheckResult CheckIndexable(const PageFacts& facts, const CivilDate& today);
// On a redirect stub, the one check that runs: where it sends readers.
CheckResult RedirectIndexable(const Redirect& redirect);

// The canonical links of the head: how many, how many different URLs, and the one judged.
struct CanonicalReading {
    std::size_t count = 0;
    std::size_t distinct = 0;
    std::optional<std::string> href;
    std::size_t at = 0;
    CanonicalTarget target = CanonicalTarget::ThisPage;
};

CanonicalReading ReadCanonical(const PageFacts& facts, const PageAddress& address);
CheckResult CheckCanonical(const CanonicalReading& canonical);
CheckResult CheckLanguage(const PageFacts& facts);
// What the file's bytes are, before any conversion.
enum class PageBytes { Ascii, Utf8, Windows1252 };
PageBytes ClassifyBytes(std::string_view pageBytes);
// The page as UTF-8, as the checks read it: Windows-1252 pages converted into `converted`, a
// byte-order mark dropped.
std::string_view PageAsUtf8(std::string_view bytes, PageBytes kind, std::string& converted);

CheckResult CheckCharset(const PageFacts& facts, PageBytes bytes);
CheckResult CheckViewport(const PageFacts& facts);
CheckResult CheckSocial(const PageFacts& facts);
CheckResult CheckHreflang(const PageFacts& facts);

}  // namespace velmora::page_checks
