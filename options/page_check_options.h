#pragma once

// The settings of the page checks: which checks run, their thresholds and the focus keyphrase.
// Defaults live in the record, ranges in one table, so the command-line flags, the stored
// settings and the options dialog accept the same values.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velmora {

// Every page check, in the order of the report. From DuplicateTitle on they judge how the pages
// of a site stand together and are added by the caller once every page is read.
enum class CheckId : std::uint8_t {
    Title,
    Description,
    Indexable,
    Canonical,
    Language,
    Charset,
    Viewport,
    Social,
    Hreflang,
    StructuredData,
    H1,
    Headings,
    Images,
    Links,
    Content,
    Keyphrase,
    HeadAgreement,
    DuplicateTitle,
    DuplicateDescription,
    BrokenLinks,
    BrokenFragments,
    CanonicalTarget,
    HreflangReturn,
    Orphan,
    Sitemap,
    Robots,
};

inline constexpr std::size_t kCheckCount = 26;

// The id as reports and flags spell it: "title", "structured-data", "duplicate-title".
std::string_view CheckIdName(CheckId id);
std::optional<CheckId> CheckIdFromName(std::string_view name);
// The stored name of the check's switch, such as "StructuredDataDisabled".
std::string_view CheckSwitchName(CheckId id);

struct PageCheckOptions {
    std::int32_t TitleMinimumCharacters = 30;
    std::int32_t TitleMaximumCharacters = 60;
    std::int32_t TitleMaximumPixels = 600;
    std::int32_t DescriptionMinimumCharacters = 70;
    std::int32_t DescriptionMaximumCharacters = 160;
    std::int32_t DescriptionMaximumPixels = 920;
    std::int32_t ContentMinimumWords = 100;  // fewer words is a problem
    std::int32_t ContentGoodWords = 300;     // from here on the content is good
    // UTF-8. Empty: the first meta keyword stands in. Given per run, never stored.
    std::string FocusKeyphrase;

    bool Enabled(CheckId id) const { return enabled_[static_cast<std::size_t>(id)]; }
    void SetEnabled(CheckId id, bool on) { enabled_[static_cast<std::size_t>(id)] = on; }

    bool operator==(const PageCheckOptions&) const = default;

private:
    std::array<bool, kCheckCount> enabled_ = MakeAllEnabled();

    static constexpr std::array<bool, kCheckCount> MakeAllEnabled() {
        std::array<bool, kCheckCount> all{};
        all.fill(true);
        return all;
    }
};

// One numeric setting: its stored name, its field and the values it may take.
struct PageCheckNumber {
    std::string_view name;
    std::int32_t PageCheckOptions::*field;
    std::int32_t minimum;
    std::int32_t maximum;

    bool Accepts(std::int64_t value) const { return value >= minimum && value <= maximum; }
};

// The eight numeric settings, in their save order.
std::span<const PageCheckNumber> PageCheckNumbers();

// A minimum above its maximum comes down to the maximum, as the keyword limits do; the content
// limit of a problem is the minimum of the pair with the good limit.
void OrderLimitPairs(PageCheckOptions& options);

}  // namespace velmora
