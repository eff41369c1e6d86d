#include "page_checks/head_checks.h"

#include <algorithm>
#include <array>
#include <chrono>

#include "core/page_encoding.h"
#include "core/text_rules.h"
#include "page_checks/html_chars.h"
#include "page_checks/language_tags.h"
#include "page_checks/page_text.h"
#include "page_checks/site_facts.h"

namespace velmora::page_checks {
namespace {

std::string Characters(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " character" : " characters");
}

CheckedElement Element(std::size_t at, std::string text) {
    return {at, {}, std::move(text)};
}

CheckResult Result(CheckId id, CheckState state, std::string message) {
    CheckResult result;
    result.id = id;
    result.state = state;
    result.message = std::move(message);
    return result;
}

struct LengthRule {
    CheckId id;
    std::string_view what;  // "title", "description"
    std::string_view tag;   // how the page writes it
    std::int32_t minimumCharacters;
    std::int32_t maximumCharacters;
    std::int32_t maximumPixels;
    int pixelSize;
};

// Title and description: one non-empty text of the right length in characters and pixels.
CheckResult CheckLength(const std::vector<ElementText>& texts, const LengthRule& rule,
                        const TextWidthMeter& meter) {
    const std::string range = std::to_string(rule.minimumCharacters) + "–" +
                              std::to_string(rule.maximumCharacters) + " characters";
    CheckResult result = Result(rule.id, CheckState::Problem, {});
    result.values.push_back({"count", texts.size()});
    const std::string what(rule.what);
    if (texts.empty()) {
        result.message = "The page has no " + std::string(rule.tag) + "; add one of " + range + ".";
        result.values.push_back({"characters", 0});
        result.values.push_back({"pixels", {}});
        return result;
    }
    const std::string& text = texts.front().text;
    // With several, the second is the one to remove.
    const ElementText& judged = texts[texts.size() > 1 ? 1 : 0];
    result.element = Element(judged.at, judged.text);
    const std::size_t characters = CountCharacters(text);
    const std::optional<int> pixels = meter.Width(text, rule.pixelSize);
    result.values.push_back({"characters", characters});
    result.values.push_back({"pixels", pixels ? CheckValue(*pixels) : CheckValue()});
    result.values.push_back({"text", text});
    if (texts.size() > 1) {
        result.message = "The page has " + std::to_string(texts.size()) + " " +
                         std::string(rule.tag) + " elements; keep only one.";
        return result;
    }
    if (characters == 0) {
        result.message = "The " + what + " is empty; write one of " + range + ".";
        return result;
    }
    result.state = CheckState::Improve;
    const auto minimum = static_cast<std::size_t>(rule.minimumCharacters);
    const auto maximum = static_cast<std::size_t>(rule.maximumCharacters);
    const std::string widthNote =
        pixels ? "" : "; its width in pixels is unknown, since Liberation Sans is not installed";
    if (characters < minimum) {
        result.message = "The " + what + " has " + Characters(characters) +
                         "; lengthen it to at least " + std::to_string(minimum) + widthNote + ".";
        return result;
    }
    if (characters > maximum) {
        result.message = "The " + what + " has " + Characters(characters) + "; shorten it to " +
                         std::to_string(maximum) + " or fewer" + widthNote + ".";
        return result;
    }
    if (pixels && *pixels > rule.maximumPixels) {
        result.message = "The " + what + " is " + std::to_string(*pixels) + " px wide at " +
                         std::to_string(rule.pixelSize) + " px; shorten it to " +
                         std::to_string(rule.maximumPixels) +
                         " px or less so result pages show it whole.";
        return result;
    }
    result.state = CheckState::Good;
    result.message = "The " + what + " has " + Characters(characters) +
                     (pixels ? " and is " + std::to_string(*pixels) + " px wide" : widthNote) + ".";
    return result;
}

std::vector<std::string> SplitList(std::string_view text, std::string_view separators) {
    std::vector<std::string> items;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t end = std::min(text.find_first_of(separators, at), text.size());
        std::string item(text.substr(at, end - at));
        const auto first = item.find_first_not_of(" \t\n\f\r");
        const auto last = item.find_last_not_of(" \t\n\f\r");
        item = first == std::string::npos ? std::string() : item.substr(first, last + 1 - first);
        items.push_back(AsciiLower(item));
        at = end + 1;
    }
    return items;
}

bool IsAbsoluteHttpUrl(std::string_view url) {
    const std::string lower = AsciiLower(url);
    std::size_t rest = 0;
    if (lower.starts_with("http://")) {
        rest = 7;
    } else if (lower.starts_with("https://")) {
        rest = 8;
    } else {
        return false;
    }
    return rest < lower.size() && lower[rest] != '/' && lower[rest] != '?' && lower[rest] != '#' &&
           lower.find_first_of(" \t\n\f\r") == std::string::npos;
}

const MetaTag* FindMeta(const PageFacts& facts, std::string_view key) {
    for (const MetaTag& meta : facts.metas) {
        if (meta.name == key || meta.property == key) {
            if (meta.content && !CollapseWhiteSpace(*meta.content).empty()) {
                return &meta;
            }
        }
    }
    return nullptr;
}

// The labels browsers give UTF-8 and the single-byte encodings Windows-1252 stands for
// (ISO-8859-1 and US-ASCII among them).
constexpr std::array<std::string_view, 3> kUtf8Labels = {"utf-8", "utf8", "unicode-1-1-utf-8"};
constexpr std::array<std::string_view, 17> kSingleByteLabels = {
    "windows-1252", "x-cp1252",      "cp1252",          "iso-8859-1", "iso8859-1",
    "iso88591",     "iso_8859-1",    "iso_8859-1:1987", "iso-ir-100", "latin1",
    "l1",           "csisolatin1",   "ibm819",          "cp819",      "us-ascii",
    "ascii",        "ansi_x3.4-1968"};

template <std::size_t Size>
bool IsOneOf(std::string_view label, const std::array<std::string_view, Size>& labels) {
    return std::find(labels.begin(), labels.end(), label) != labels.end();
}

// The charset named in a Content-Type value: "text/html; charset=utf-8".
std::string CharsetOfContentType(std::string_view content) {
    const std::string lower = AsciiLower(content);
    std::size_t at = lower.find("charset");
    while (at != std::string::npos) {
        std::size_t value = at + 7;
        while (value < lower.size() && IsTagSpace(lower[value])) {
            ++value;
        }
        if (value < lower.size() && lower[value] == '=') {
            ++value;
            while (value < lower.size() && IsTagSpace(lower[value])) {
                ++value;
            }
            if (value < lower.size() && (lower[value] == '"' || lower[value] == '\'')) {
                ++value;
            }
            const std::size_t end =
                std::min(lower.find_first_of(" \t\n\f\r;\"'", value), lower.size());
            return lower.substr(value, end - value);
        }
        at = lower.find("charset", at + 7);
    }
    return {};
}

// Why a hreflang value is not one search engines take, or "" when it is.
std::string HreflangFault(std::string_view value) {
    const LanguageTag tag = ReadLanguageTag(value);
    if (!tag.wellFormed) {
        return "is not a language tag";
    }
    if (!tag.knownLanguage) {
        return "names no known language";
    }
    if (!tag.region.empty() && !tag.knownRegion) {
        return "names no known two-letter region";
    }
    return {};
}

constexpr std::array<std::string_view, 12> kMonths = {"jan", "feb", "mar", "apr", "may", "jun",
                                                      "jul", "aug", "sep", "oct", "nov", "dec"};

// The leading number of `text` from `at`, or -1; `at` moves past it.
int ReadNumber(std::string_view text, std::size_t& at) {
    int number = -1;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && number < 100000) {
        number = (number < 0 ? 0 : number * 10) + (text[at] - '0');
        ++at;
    }
    return number;
}

// A date as robots tags write it: ISO 8601 ("2025-06-25", "2025-06-25T15:00:00Z") or RFC 822 and
// 850 ("25 Jun 2025 15:00:00 PST", "Friday, 25-Jun-25 ..."). The time of day is not read.
std::optional<CivilDate> ReadDate(std::string_view text) {
    const std::string lower = AsciiLower(CollapseWhiteSpace(text));
    std::size_t at = 0;
    const int first = ReadNumber(lower, at);
    if (first >= 1000 && at < lower.size() && lower[at] == '-') {
        ++at;
        const int month = ReadNumber(lower, at);
        if (at < lower.size() && lower[at] == '-') {
            ++at;
            const int day = ReadNumber(lower, at);
            if (month >= 1 && month <= 12 && day >= 1 && day <= 31) {
                return CivilDate{first, month, day};
            }
        }
        return std::nullopt;
    }
    at = 0;
    if (first < 0) {
        // A weekday before the day: "friday, 25-jun-2025".
        const std::size_t comma = lower.find(',');
        at = comma == std::string::npos ? 0 : lower.find_first_not_of(' ', comma + 1);
        at = at == std::string::npos ? lower.size() : at;
    }
    const int day = ReadNumber(lower, at);
    if (day < 1 || day > 31 || at >= lower.size() || (lower[at] != ' ' && lower[at] != '-')) {
        return std::nullopt;
    }
    ++at;
    const std::string_view monthName = std::string_view(lower).substr(at, 3);
    const auto month = std::find(kMonths.begin(), kMonths.end(), monthName);
    at += 3;
    while (at < lower.size() && IsAsciiAlpha(lower[at])) {
        ++at;
    }
    if (month == kMonths.end() || at >= lower.size() || (lower[at] != ' ' && lower[at] != '-')) {
        return std::nullopt;
    }
    ++at;
    int year = ReadNumber(lower, at);
    if (year < 0) {
        return std::nullopt;
    }
    // Two-digit years of RFC 850 belong to this century.
    year += year < 100 ? 2000 : 0;
    return CivilDate{year, static_cast<int>(month - kMonths.begin()) + 1, day};
}

bool IsPastDate(std::string_view text, const CivilDate& today) {
    const std::optional<CivilDate> date = ReadDate(text);
    return date && *date < today;
}

}  // namespace

CivilDate Today() {
    const std::chrono::year_month_day date{
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day()))};
}

CheckResult CheckTitle(const PageFacts& facts, const PageCheckOptions& options,
                       const TextWidthMeter& meter) {
    return CheckLength(
        facts.titles,
        {CheckId::Title, "title", "<title>", options.TitleMinimumCharacters,
         options.TitleMaximumCharacters, options.TitleMaximumPixels, kTitlePixelSize},
        meter);
}

CheckResult CheckDescription(const PageFacts& facts, const PageCheckOptions& options,
                             const TextWidthMeter& meter) {
    std::vector<ElementText> descriptions;
    for (const MetaTag& meta : facts.metas) {
        if (meta.inHead && meta.name == "description") {
            descriptions.push_back(
                {CollapseWhiteSpace(meta.content.value_or(std::string())), meta.at});
        }
    }
    return CheckLength(descriptions,
                       {CheckId::Description, "description", "meta description",
                        options.DescriptionMinimumCharacters, options.DescriptionMaximumCharacters,
                        options.DescriptionMaximumPixels, kDescriptionPixelSize},
                       meter);
}

CheckResult CheckIndexable(const PageFacts& facts, const CivilDate& today) {
    const MetaTag* noindex = nullptr;
    const MetaTag* expired = nullptr;
    const MetaTag* nofollow = nullptr;
    const MetaTag* first = nullptr;
    CheckValue::List directives;
    std::string expiredDate;
    for (const MetaTag& meta : facts.metas) {
        if (!meta.inHead || (meta.name != "robots" && meta.name != "googlebot")) {
            continue;
        }
        first = first != nullptr ? first : &meta;
        for (const std::string& directive : SplitList(meta.content.value_or(""), ",")) {
            if (noindex == nullptr && (directive == "noindex" || directive == "none")) {
                noindex = &meta;
            }
            if (nofollow == nullptr && directive == "nofollow") {
                nofollow = &meta;
            }
            if (expired == nullptr && directive.starts_with("unavailable_after:") &&
                IsPastDate(std::string_view(directive).substr(18), today)) {
                expired = &meta;
                expiredDate = CollapseWhiteSpace(directive.substr(18));
            }
            if (!directive.empty()) {
                directives.emplace_back(directive);
            }
        }
    }
    CheckResult result =
        Result(CheckId::Indexable, CheckState::Good, "Search engines may index this page.");
    const MetaTag* judged = first;
    if (noindex != nullptr) {
        judged = noindex;
        result = Result(CheckId::Indexable, CheckState::Problem,
                        "Search engines are asked not to index this page. Remove the noindex "
                        "unless the page must stay out of search results.");
    } else if (expired != nullptr) {
        judged = expired;
        result = Result(CheckId::Indexable, CheckState::Problem,
                        "Search engines are asked to drop this page after " + expiredDate +
                            ", which has passed. Remove unavailable_after, or the page, if it "
                            "should no longer be found.");
    } else if (nofollow != nullptr) {
        judged = nofollow;
        result = Result(CheckId::Indexable, CheckState::Improve,
                        "Search engines may index this page but are asked not to follow its "
                        "links (nofollow); remove nofollow unless that is meant.");
    }
    result.values.push_back({"directives", std::move(directives)});
    if (judged != nullptr) {
        result.element = Element(judged->at, judged->content.value_or(""));
    }
    return result;
}

CheckResult RedirectIndexable(const Redirect& redirect) {
    CheckResult result =
        Result(CheckId::Indexable, CheckState::Info, "Redirects to " + redirect.target + ".");
    result.values.push_back({"redirect", redirect.target});
    result.element = Element(redirect.at, redirect.target);
    return result;
}

std::optional<Redirect> FindRedirect(const PageFacts& facts) {
    for (const MetaTag& meta : facts.metas) {
        if (meta.httpEquiv == "refresh" && meta.content) {
            if (auto target = RefreshUrl(*meta.content)) {
                return Redirect{std::move(*target), meta.at};
            }
        }
    }
    return std::nullopt;
}

bool IsNotIndexed(const PageFacts& facts) {
    for (const MetaTag& meta : facts.metas) {
        if (meta.inHead && (meta.name == "robots" || meta.name == "googlebot")) {
            for (const std::string& directive : SplitList(meta.content.value_or(""), ",")) {
                if (directive == "noindex" || directive == "none") {
                    return true;
                }
            }
        }
    }
    return false;
}

CanonicalReading ReadCanonical(const PageFacts& facts, const PageAddress& address) {
    CanonicalReading reading;
    std::vector<const LinkTag*> different;
    for (const LinkTag& link : facts.links) {
        if (!link.inHead || !link.HasRel("canonical")) {
            continue;
        }
        ++reading.count;
        const std::string href = CollapseWhiteSpace(link.href.value_or(""));
        const bool seen = std::any_of(different.begin(), different.end(), [&](const LinkTag* l) {
            return CollapseWhiteSpace(l->href.value_or("")) == href;
        });
        if (!seen) {
            different.push_back(&link);
        }
    }
    if (different.empty()) {
        return reading;
    }
    // With several, the second is the one to remove.
    const LinkTag& judged = *different[different.size() > 1 ? 1 : 0];
    reading.href = CollapseWhiteSpace(judged.href.value_or(""));
    reading.at = judged.at;
    reading.distinct = different.size();
    reading.target = ClassifyCanonical(*reading.href, address);
    return reading;
}

CheckResult CheckCanonical(const CanonicalReading& canonical) {
    CheckResult result;
    result.id = CheckId::Canonical;
    result.values.push_back({"count", canonical.count});
    if (!canonical.href) {
        result.state = CheckState::Info;
        result.message =
            "The page has no canonical URL; search engines choose one themselves. Add <link "
            "rel=\"canonical\" href=\"https://…\"> to choose it yourself.";
        return result;
    }
    const std::string& href = *canonical.href;
    result.element = Element(canonical.at, href);
    if (canonical.distinct > 1) {
        result.state = CheckState::Problem;
        result.message = "The page names " + std::to_string(canonical.distinct) +
                         " different canonical URLs; keep only one.";
        return result;
    }
    result.values.push_back({"href", href});
    if (canonical.target == CanonicalTarget::SiteRoot) {
        result.state = CheckState::Improve;
        result.message = "The canonical URL " + href +
                         " names the site's root, so search engines may show the home page "
                         "instead of this one; give this page's own URL.";
        return result;
    }
    if (canonical.target == CanonicalTarget::OtherPage) {
        result.state = CheckState::Info;
        result.message = "Points search engines to " + href + ".";
        return result;
    }
    if (!IsAbsoluteHttpUrl(href)) {
        result.state = CheckState::Improve;
        result.message = href.empty() ? "The canonical URL is empty; give the page's full URL."
                                      : "The canonical URL \"" + href +
                                            "\" is not an absolute http(s) URL; give the "
                                            "page's full URL.";
        return result;
    }
    result.state = CheckState::Good;
    result.message = "The canonical URL is " + href + ".";
    return result;
}

CheckResult CheckLanguage(const PageFacts& facts) {
    if (!facts.htmlLang) {
        CheckResult result =
            Result(CheckId::Language, CheckState::Improve,
                   "The <html> element has no lang attribute; add the page's language, "
                   "such as lang=\"en\".");
        if (facts.htmlAt) {
            result.element = Element(*facts.htmlAt, {});
        }
        return result;
    }
    const std::string lang = CollapseWhiteSpace(*facts.htmlLang);
    CheckResult result;
    result.id = CheckId::Language;
    result.element = Element(facts.htmlAt.value_or(0), lang);
    result.values.push_back({"lang", lang});
    const LanguageTag tag = ReadLanguageTag(lang);
    if (!tag.wellFormed) {
        result.state = CheckState::Improve;
        result.message = "The page language \"" + lang +
                         "\" is not a well-formed language tag; use one such as \"en\" or "
                         "\"pt-BR\".";
        return result;
    }
    if (!tag.knownLanguage) {
        result.state = CheckState::Improve;
        result.message = "The page language \"" + lang +
                         "\" names no known language; use an ISO 639 code such as \"en\" or "
                         "\"de\".";
        return result;
    }
    result.state = CheckState::Good;
    result.message = "The page language is " + lang + ".";
    return result;
}

PageBytes ClassifyBytes(std::string_view pageBytes) {
    if (IsAscii(pageBytes)) {
        return PageBytes::Ascii;
    }
    return DetectEncoding(pageBytes) == Encoding::Utf8 ? PageBytes::Utf8 : PageBytes::Windows1252;
}

std::string_view PageAsUtf8(std::string_view bytes, PageBytes kind, std::string& converted) {
    if (kind == PageBytes::Windows1252) {
        converted = PageBytesToUtf8(bytes, Encoding::Windows1252);
        return converted;
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    return bytes;
}

CheckResult CheckCharset(const PageFacts& facts, PageBytes pageBytes) {
    std::string declared;
    std::optional<CheckedElement> declaration;
    for (const MetaTag& meta : facts.metas) {
        if (!meta.inHead) {
            continue;
        }
        if (meta.charset) {
            declared = AsciiLower(CollapseWhiteSpace(*meta.charset));
        } else if (meta.httpEquiv == "content-type" && meta.content) {
            declared = CharsetOfContentType(*meta.content);
        }
        if (!declared.empty()) {
            declaration = Element(meta.at, declared);
            break;
        }
    }
    const bool ascii = pageBytes == PageBytes::Ascii;
    const bool utf8 = pageBytes == PageBytes::Utf8;
    const std::string bytes = ascii ? "ascii" : (utf8 ? "utf-8" : "windows-1252");
    CheckResult result;
    result.id = CheckId::Charset;
    result.element = std::move(declaration);
    result.values.push_back({"declared", declared.empty() ? CheckValue() : CheckValue(declared)});
    result.values.push_back({"bytes", bytes});
    if (declared.empty()) {
        result.state = CheckState::Improve;
        result.message = "The page declares no charset; add <meta charset=\"utf-8\">" +
                         std::string(utf8 || ascii ? "" : " after saving it as UTF-8") + ".";
        return result;
    }
    if (IsOneOf(declared, kUtf8Labels) && !utf8 && !ascii) {
        result.state = CheckState::Problem;
        result.message =
            "The page declares UTF-8 but its bytes are not valid UTF-8; save it "
            "as UTF-8 or declare its real charset.";
        return result;
    }
    if (IsOneOf(declared, kSingleByteLabels) && utf8) {
        result.state = CheckState::Problem;
        result.message =
            "The page declares " + declared + " but its bytes are UTF-8; declare utf-8 instead.";
        return result;
    }
    result.state = CheckState::Good;
    result.message = "The page declares its charset, " + declared + ".";
    return result;
}

CheckResult CheckViewport(const PageFacts& facts) {
    for (const MetaTag& meta : facts.metas) {
        if (!meta.inHead || meta.name != "viewport") {
            continue;
        }
        const std::string content = meta.content.value_or("");
        bool sized = false;
        for (const std::string& item : SplitList(content, ",;")) {
            const auto equals = item.find('=');
            const std::string key = equals == std::string::npos
                                        ? std::string()
                                        : CollapseWhiteSpace(item.substr(0, equals));
            sized = sized || key == "width" || key == "initial-scale";
        }
        CheckResult result = sized ? Result(CheckId::Viewport, CheckState::Good,
                                            "The page sets a viewport for phones.")
                                   : Result(CheckId::Viewport, CheckState::Improve,
                                            "The viewport sets neither a width nor a scale; use "
                                            "content=\"width=device-width, initial-scale=1\".");
        result.values.push_back({"content", content});
        result.element = Element(meta.at, content);
        return result;
    }
    return Result(CheckId::Viewport, CheckState::Improve,
                  "The page has no viewport; add <meta name=\"viewport\" "
                  "content=\"width=device-width, initial-scale=1\">.");
}

CheckResult CheckSocial(const PageFacts& facts) {
    CheckResult result;
    result.id = CheckId::Social;
    std::vector<std::string> missing;
    for (const std::string_view key :
         {"og:title", "og:description", "og:image", "og:url", "twitter:card"}) {
        const bool present = FindMeta(facts, key) != nullptr;
        result.values.push_back({std::string(key), present});
        if (!present && key != "og:url" && key != "twitter:card") {
            missing.emplace_back(key);
        }
    }
    if (missing.empty()) {
        result.state = CheckState::Good;
        result.message = "The page has a social card: og:title, og:description and og:image.";
        return result;
    }
    std::string names;
    for (std::size_t i = 0; i < missing.size(); ++i) {
        names += (i == 0 ? "" : (i + 1 == missing.size() ? " and " : ", ")) + missing[i];
    }
    result.state = CheckState::Improve;
    result.message = "Social cards lack " + names + "; add " +
                     (missing.size() == 1 ? "it" : "them") + " as <meta property=\"…\">.";
    CheckValue::List list(missing.begin(), missing.end());
    result.values.push_back({"missing", std::move(list)});
    return result;
}

CheckResult CheckHreflang(const PageFacts& facts) {
    struct Alternate {
        std::string value;
        std::string href;
        std::size_t at;
    };
    std::vector<Alternate> alternates;
    for (const LinkTag& link : facts.links) {
        if (link.inHead && link.HasRel("alternate") && link.hreflang) {
            alternates.push_back({CollapseWhiteSpace(*link.hreflang),
                                  CollapseWhiteSpace(link.href.value_or("")), link.at});
        }
    }
    CheckResult result;
    result.id = CheckId::Hreflang;
    result.values.push_back({"count", alternates.size()});
    if (alternates.empty()) {
        result.state = CheckState::Info;
        result.message = "The page names no language alternates (hreflang).";
        return result;
    }
    bool xDefault = false;
    const Alternate* relative = nullptr;
    for (const Alternate& alternate : alternates) {
        const std::string& value = alternate.value;
        if (AsciiLower(value) == "x-default") {
            xDefault = true;
        } else if (const std::string fault = HreflangFault(value); !fault.empty()) {
            result.state = CheckState::Problem;
            result.element = Element(alternate.at, value);
            result.message = "The hreflang value \"" + value + "\" " + fault +
                             "; use one such as \"en\" or \"de-AT\", or x-default.";
            result.values.push_back({"malformed", value});
            return result;
        }
        if (relative == nullptr && !IsAbsoluteHttpUrl(alternate.href)) {
            relative = &alternate;
        }
    }
    if (relative != nullptr) {
        result.state = CheckState::Improve;
        result.element = Element(relative->at, relative->href);
        result.message = "The alternate for " + relative->value + " has the address \"" +
                         relative->href +
                         "\", which is not an absolute http(s) URL; search engines need the "
                         "full URL.";
        result.values.push_back({"relative", relative->href});
        return result;
    }
    if (alternates.size() >= 2 && !xDefault) {
        result.state = CheckState::Improve;
        result.message =
            "The language alternates have no x-default; add one for all other "
            "languages.";
        return result;
    }
    result.state = CheckState::Good;
    result.message = "The language alternates are well-formed.";
    return result;
}

}  // namespace velmora::page_checks
