#include "cli/report_rules.h"

#include <array>
#include <cctype>

namespace velmora::cli {
namespace {

constexpr std::size_t kFindingKinds = 11;

// In FindingKind order, then CheckId order; the tests hold both orders against the names.
constexpr std::array<ReportRule, kFindingKinds + kCheckCount> kRules = {{
    {"review/no-title", "No title",
     "The page has no title element, or an empty one. Add a title: the review gives it 30 of its "
     "100 points."},
    {"review/no-description", "No description",
     "The page has no meta description, or an empty one. Add one: the review gives it 30 of its "
     "100 points."},
    {"review/no-keywords", "No keywords",
     "The page has no meta keywords. Add the words and phrases the page is about: the review "
     "gives them 40 of its 100 points."},
    {"review/line-break-in-description", "Line feed in description",
     "The meta description holds a carriage return or a line feed; write it on one line."},
    {"review/bad-keywords", "Bad keywords",
     "Some keywords occur too rarely or too often in the page's text, or are one character long. "
     "Remove them, or use them in the text as often as the settings ask."},
    {"review/too-few-keywords", "Too few keywords",
     "The page has fewer good keywords than the recommended minimum."},
    {"review/too-many-keywords", "Too many keywords",
     "The page has more keywords than the recommended maximum."},
    {"review/duplicate-keywords", "Duplicate keywords",
     "A keyword repeats an earlier one; keep each once."},
    {"review/keyword-spamming", "Keyword spamming",
     "One word stands in too many keywords; use it in fewer of them."},
    {"review/keyword-order", "Sub-optimal keyword ordering",
     "The keywords are not in the best order: the most frequent and those in the title first."},
    {"review/unnecessary-space", "Unnecessary space",
     "The page holds white space that can go without changing how it is shown; compress it."},
    {"check/title", "Title length",
     "One non-empty <title>, 30-60 characters long and at most 600 px wide at 20 px (by "
     "default), so that result pages show it whole."},
    {"check/description", "Meta description length",
     "One non-empty meta description, 70-160 characters long and at most 920 px wide at 14 px "
     "(by default), so that result pages show it whole."},
    {"check/indexable", "Indexable",
     "The robots and googlebot meta tags must not hold noindex or none; nofollow keeps search "
     "engines from following the page's links."},
    {"check/canonical", "Canonical URL",
     "One <link rel=\"canonical\"> whose href is the page's absolute http(s) URL."},
    {"check/language", "Page language",
     "The <html> element's lang attribute holds a well-formed language tag, such as en or "
     "pt-BR."},
    {"check/charset", "Charset",
     "The page declares its charset (<meta charset>), and the declaration agrees with its "
     "bytes."},
    {"check/viewport", "Viewport",
     "A viewport meta tag with a width, such as width=device-width, for phones."},
    {"check/social", "Social card",
     "og:title, og:description and og:image meta tags, for links shared on social sites."},
    {"check/hreflang", "Language alternates",
     "Each <link rel=\"alternate\" hreflang> names a language tag or x-default; two or more "
     "alternates need an x-default."},
    {"check/structured-data", "Structured data",
     "Each application/ld+json script is strict JSON with @context and @type."},
    {"check/h1", "Main heading", "Exactly one <h1>, with text."},
    {"check/headings", "Heading levels",
     "Going down, the headings skip no level (not h2 then h4)."},
    {"check/images", "Image alt text",
     "Every <img> has an alt attribute; alt=\"\" marks a decorative image."},
    {"check/links", "Link text",
     "No link is named only by generic words such as \"click here\" or \"read more\"."},
    {"check/content", "Amount of text",
     "The page has at least 300 words of text, and never fewer than 100 (by default)."},
    {"check/keyphrase", "Focus keyphrase",
     "The focus keyphrase (else the first meta keyword) stands in the title, the description, "
     "the first <h1>, the first 100 words and the file name."},
    {"check/head-agreement", "Head reading",
     "The review and the editor find the page's own <title> and description and keywords meta "
     "tags, not ones in a comment, a script or the body."},
    {"check/duplicate-title", "Duplicate title",
     "No other page of the run has the same title; give each page its own."},
    {"check/duplicate-description", "Duplicate description",
     "No other page of the run has the same description; give each page its own."},
    {"check/broken-links", "Broken links",
     "Every internal <a href> and <area href>, and a redirect's target, names a file of the "
     "site."},
    {"check/broken-fragments", "Broken fragment links",
     "A link to #name names an id or <a name> of the page it leads to."},
    {"check/canonical-target", "Canonical target",
     "The canonical names an existing, indexable page of the site that is not itself "
     "canonicalized."},
    {"check/hreflang-return", "Language versions link back",
     "Each language alternate exists, lists this page back, and the alternates include the page "
     "itself."},
    {"check/orphan", "Orphan page", "Some other page of the site links to every indexable page."},
    {"check/sitemap", "Sitemap",
     "The sitemap lists every indexable page and only existing, indexable pages."},
    {"check/robots", "Robots rules",
     "robots.txt allows every indexable page, and every noindex page, so that search engines "
     "can read its noindex."},
}};

}  // namespace

std::span<const ReportRule> ReportRules() {
    return kRules;
}

std::size_t RuleIndex(FindingKind kind) {
    return static_cast<std::size_t>(kind);
}

std::size_t RuleIndex(CheckId id) {
    return kFindingKinds + static_cast<std::size_t>(id);
}

std::optional<std::size_t> RuleIndexNamed(std::string_view id) {
    if (const std::optional<CheckId> check = CheckIdFromName(id)) {
        return RuleIndex(*check);
    }
    for (std::size_t i = 0; i < kRules.size(); ++i) {
        if (kRules[i].id == id) {
            return i;
        }
    }
    return std::nullopt;
}

std::string RuleName(std::string_view id) {
    std::string name;
    bool upper = true;
    for (const char c : id.substr(id.find('/') + 1)) {
        if (c == '-') {
            upper = true;
            continue;
        }
        name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        upper = false;
    }
    return name;
}

}  // namespace velmora::cli
