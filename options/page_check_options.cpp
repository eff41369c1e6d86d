#include "options/page_check_options.h"

#include <algorithm>

namespace velmora {
namespace {

struct CheckNames {
    CheckId id;
    std::string_view name;
    std::string_view switchName;
};

constexpr std::array<CheckNames, kCheckCount> kCheckNames = {{
    {CheckId::Title, "title", "TitleDisabled"},
    {CheckId::Description, "description", "DescriptionDisabled"},
    {CheckId::Indexable, "indexable", "IndexableDisabled"},
    {CheckId::Canonical, "canonical", "CanonicalDisabled"},
    {CheckId::Language, "language", "LanguageDisabled"},
    {CheckId::Charset, "charset", "CharsetDisabled"},
    {CheckId::Viewport, "viewport", "ViewportDisabled"},
    {CheckId::Social, "social", "SocialDisabled"},
    {CheckId::Hreflang, "hreflang", "HreflangDisabled"},
    {CheckId::StructuredData, "structured-data", "StructuredDataDisabled"},
    {CheckId::H1, "h1", "H1Disabled"},
    {CheckId::Headings, "headings", "HeadingsDisabled"},
    {CheckId::Images, "images", "ImagesDisabled"},
    {CheckId::Links, "links", "LinksDisabled"},
    {CheckId::Content, "content", "ContentDisabled"},
    {CheckId::Keyphrase, "keyphrase", "KeyphraseDisabled"},
    {CheckId::HeadAgreement, "head-agreement", "HeadAgreementDisabled"},
    {CheckId::DuplicateTitle, "duplicate-title", "DuplicateTitleDisabled"},
    {CheckId::DuplicateDescription, "duplicate-description", "DuplicateDescriptionDisabled"},
    {CheckId::BrokenLinks, "broken-links", "BrokenLinksDisabled"},
    {CheckId::BrokenFragments, "broken-fragments", "BrokenFragmentsDisabled"},
    {CheckId::CanonicalTarget, "canonical-target", "CanonicalTargetDisabled"},
    {CheckId::HreflangReturn, "hreflang-return", "HreflangReturnDisabled"},
    {CheckId::Orphan, "orphan", "OrphanDisabled"},
    {CheckId::Sitemap, "sitemap", "SitemapDisabled"},
    {CheckId::Robots, "robots", "RobotsDisabled"},
}};

constexpr std::array<PageCheckNumber, 8> kNumbers = {{
    {"TitleMinimumCharacters", &PageCheckOptions::TitleMinimumCharacters, 1, 500},
    {"TitleMaximumCharacters", &PageCheckOptions::TitleMaximumCharacters, 1, 500},
    {"TitleMaximumPixels", &PageCheckOptions::TitleMaximumPixels, 1, 5000},
    {"DescriptionMinimumCharacters", &PageCheckOptions::DescriptionMinimumCharacters, 1, 1000},
    {"DescriptionMaximumCharacters", &PageCheckOptions::DescriptionMaximumCharacters, 1, 1000},
    {"DescriptionMaximumPixels", &PageCheckOptions::DescriptionMaximumPixels, 1, 10000},
    {"ContentMinimumWords", &PageCheckOptions::ContentMinimumWords, 1, 100000},
    {"ContentGoodWords", &PageCheckOptions::ContentGoodWords, 1, 100000},
}};

}  // namespace

std::string_view CheckIdName(CheckId id) {
    return kCheckNames[static_cast<std::size_t>(id)].name;
}

std::optional<CheckId> CheckIdFromName(std::string_view name) {
    const auto* found = std::find_if(kCheckNames.begin(), kCheckNames.end(),
                                     [&](const CheckNames& entry) { return entry.name == name; });
    if (found == kCheckNames.end()) {
        return std::nullopt;
    }
    return found->id;
}

std::string_view CheckSwitchName(CheckId id) {
    return kCheckNames[static_cast<std::size_t>(id)].switchName;
}

std::span<const PageCheckNumber> PageCheckNumbers() {
    return kNumbers;
}

void OrderLimitPairs(PageCheckOptions& options) {
    options.TitleMinimumCharacters =
        std::min(options.TitleMinimumCharacters, options.TitleMaximumCharacters);
    options.DescriptionMinimumCharacters =
        std::min(options.DescriptionMinimumCharacters, options.DescriptionMaximumCharacters);
    options.ContentMinimumWords = std::min(options.ContentMinimumWords, options.ContentGoodWords);
}

}  // namespace velmora
