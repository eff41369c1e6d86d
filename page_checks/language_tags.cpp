#include "page_checks/language_tags.h"

#include <unicode/uloc.h>

#include <set>

namespace velmora::page_checks {
namespace {

// ICU's lists end with a null entry; its language list holds three-letter codes only where a
// language has no two-letter one, so each language's three-letter code is added.
std::set<std::string, std::less<>> IsoLanguages() {
    std::set<std::string, std::less<>> codes;
    for (const char* const* code = uloc_getISOLanguages(); *code != nullptr; ++code) {
        codes.emplace(*code);
        const std::string three = uloc_getISO3Language(*code);
        if (!three.empty()) {
            codes.insert(three);
        }
    }
    return codes;
}

std::set<std::string, std::less<>> IsoCountries() {
    std::set<std::string, std::less<>> codes;
    for (const char* const* code = uloc_getISOCountries(); *code != nullptr; ++code) {
        codes.emplace(*code);
    }
    return codes;
}

// Reads one part of an ICU locale id into a string.
template <typename Getter>
std::string LocalePart(const char* locale, Getter get) {
    char buffer[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = get(locale, buffer, ULOC_FULLNAME_CAPACITY, &status);
    return U_FAILURE(status) ? std::string()
                             : std::string(buffer, static_cast<std::size_t>(length));
}

}  // namespace

LanguageTag ReadLanguageTag(std::string_view tag) {
    static const std::set<std::string, std::less<>> kLanguages = IsoLanguages();
    static const std::set<std::string, std::less<>> kCountries = IsoCountries();
    LanguageTag result;
    if (tag.empty() || tag.size() >= ULOC_FULLNAME_CAPACITY) {
        return result;
    }
    const std::string text(tag);
    char locale[ULOC_FULLNAME_CAPACITY] = {};
    int32_t parsed = 0;
    UErrorCode status = U_ZERO_ERROR;
    uloc_forLanguageTag(text.c_str(), locale, ULOC_FULLNAME_CAPACITY, &parsed, &status);
    if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING ||
        static_cast<std::size_t>(parsed) != text.size()) {
        return result;
    }
    result.wellFormed = true;
    result.language = LocalePart(locale, uloc_getLanguage);
    result.region = LocalePart(locale, uloc_getCountry);
    result.knownLanguage = kLanguages.contains(result.language);
    result.knownRegion = result.region.size() == 2 && kCountries.contains(result.region);
    return result;
}

}  // namespace velmora::page_checks
