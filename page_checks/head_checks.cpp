#include "page_checks/head_checks.h"

#include <algorithm>
#include <array>

#include "core/text_rules.h"
#include "page_checks/html_chars.h"
#include "page_checks/page_text.h"

namespace velmora::page_checks {
namespace {

template <typename Number>
std::string N(Number n) {
    return std::to_string(n);
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
    const std::string range =
        N(rule.minimumCharacters) + "–" + N(rule.maximumCharacters) + " characters";
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
        result.message = "The page has " + N(texts.size()) + " " + std::string(rule.tag) +
                         " elements; keep only one.";
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
        result.message = "The " + what + " has " + N(characters) +
                         " characters; lengthen it to at least " + N(minimum) + widthNote + ".";
        return result;
    }
    if (characters > maximum) {
        result.message = "The " + what + " has " + N(characters) + " characters; shorten it to " +
                         N(maximum) + " or fewer" + widthNote + ".";
        return result;
    }
    if (pixels && *pixels > rule.maximumPixels) {
        result.message = "The " + what + " is " + N(*pixels) + " px wide at " + N(rule.pixelSize) +
                         " px; shorten it to " + N(rule.maximumPixels) +
                         " px or less so result pages show it whole.";
        return result;
    }
    result.state = CheckState::Good;
    result.message = "The " + what + " has " + N(characters) + " characters" +
                     (pixels ? " and is " + N(*pixels) + " px wide" : widthNote) + ".";
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

}  // namespace

bool IsLanguageTag(std::string_view tag) {
    std::size_t at = 0;
    while (at < tag.size() && IsAsciiAlpha(tag[at])) {
        ++at;
    }
    if (at < 2 || at > 3) {
        return false;
    }
    while (at < tag.size()) {
        if (tag[at] != '-') {
            return false;
        }
        const std::size_t start = ++at;
        while (at < tag.size() && (IsAsciiAlpha(tag[at]) || (tag[at] >= '0' && tag[at] <= '9'))) {
            ++at;
        }
        if (at - start < 2 || at - start > 8) {
            return false;
        }
    }
    return true;
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
        if (meta.name == "description") {
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

CheckResult CheckIndexable(const PageFacts& facts) {
    const MetaTag* noindex = nullptr;
    const MetaTag* nofollow = nullptr;
    const MetaTag* first = nullptr;
    CheckValue::List directives;
    for (const MetaTag& meta : facts.metas) {
        if (meta.name != "robots" && meta.name != "googlebot") {
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
            if (!directive.empty()) {
                directives.emplace_back(directive);
            }
        }
    }
    CheckResult result =
        Result(CheckId::Indexable, CheckState::Good, "Search engines may index this page.");
    if (noindex != nullptr) {
        result = Result(CheckId::Indexable, CheckState::Problem,
                        "Search engines are asked not to index this page");
    } else if (nofollow != nullptr) {
        result = Result(CheckId::Indexable, CheckState::Improve,
                        "Search engines may index this page but are asked not to follow its "
                        "links (nofollow); remove nofollow unless that is meant.");
    }
    result.values.push_back({"directives", std::move(directives)});
    const MetaTag* judged = noindex != nullptr ? noindex : (nofollow != nullptr ? nofollow : first);
    if (judged != nullptr) {
        result.element = Element(judged->at, judged->content.value_or(""));
    }
    return result;
}

CheckResult CheckCanonical(const PageFacts& facts) {
    std::vector<const LinkTag*> canonical;
    for (const LinkTag& link : facts.links) {
        if (link.HasRel("canonical")) {
            canonical.push_back(&link);
        }
    }
    CheckResult result;
    result.id = CheckId::Canonical;
    result.values.push_back({"count", canonical.size()});
    if (canonical.size() > 1) {
        result.element = Element(canonical[1]->at, canonical[1]->href.value_or(""));
        result.state = CheckState::Problem;
        result.message =
            "The page names " + N(canonical.size()) + " canonical URLs; keep only one.";
        return result;
    }
    if (canonical.empty()) {
        result.state = CheckState::Improve;
        result.message =
            "The page has no canonical URL; add <link rel=\"canonical\" href=\"https://…\">.";
        return result;
    }
    const std::string href = CollapseWhiteSpace(canonical.front()->href.value_or(""));
    result.element = Element(canonical.front()->at, href);
    result.values.push_back({"href", href});
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
    if (!IsLanguageTag(lang)) {
        result.state = CheckState::Improve;
        result.message = "The page language \"" + lang +
                         "\" is not a well-formed language tag; use one such as \"en\" or "
                         "\"pt-BR\".";
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

CheckResult CheckCharset(const PageFacts& facts, PageBytes pageBytes) {
    std::string declared;
    std::optional<CheckedElement> declaration;
    for (const MetaTag& meta : facts.metas) {
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
        if (meta.name != "viewport") {
            continue;
        }
        const std::string content = meta.content.value_or("");
        bool width = false;
        for (const std::string& item : SplitList(content, ",;")) {
            const auto equals = item.find('=');
            width = width || (equals != std::string::npos &&
                              CollapseWhiteSpace(item.substr(0, equals)) == "width");
        }
        CheckResult result =
            width ? Result(CheckId::Viewport, CheckState::Good,
                           "The page sets a viewport width for phones.")
                  : Result(CheckId::Viewport, CheckState::Improve,
                           "The viewport sets no width; use content=\"width=device-width, "
                           "initial-scale=1\".");
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
    std::vector<ElementText> values;
    for (const LinkTag& link : facts.links) {
        if (link.HasRel("alternate") && link.hreflang) {
            values.push_back({CollapseWhiteSpace(*link.hreflang), link.at});
        }
    }
    CheckResult result;
    result.id = CheckId::Hreflang;
    result.values.push_back({"count", values.size()});
    if (values.empty()) {
        result.state = CheckState::Info;
        result.message = "The page names no language alternates (hreflang).";
        return result;
    }
    bool xDefault = false;
    for (const auto& [value, at] : values) {
        if (AsciiLower(value) == "x-default") {
            xDefault = true;
        } else if (!IsLanguageTag(value)) {
            result.state = CheckState::Problem;
            result.element = Element(at, value);
            result.message = "The hreflang value \"" + value +
                             "\" is not a language tag; use one such as \"en\" or \"de-AT\", "
                             "or x-default.";
            result.values.push_back({"malformed", value});
            return result;
        }
    }
    if (values.size() >= 2 && !xDefault) {
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
