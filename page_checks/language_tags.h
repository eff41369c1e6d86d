#pragma once

// Language tags (BCP 47) as ICU's language-tag parser reads them, with their language and region
// held against ICU's ISO 639 and ISO 3166 lists.

#include <string>
#include <string_view>

namespace velmora::page_checks {

struct LanguageTag {
    bool wellFormed = false;  // the parser took the whole tag
    std::string language;     // "en", "" for a private-use tag
    std::string region;       // "BR", "419", "" when none
    bool knownLanguage = false;
    bool knownRegion = false;  // a two-letter ISO 3166 code; false when there is none
};

LanguageTag ReadLanguageTag(std::string_view tag);

}  // namespace velmora::page_checks
