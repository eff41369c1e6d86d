#include "page_checks/site_facts.h"

#include "page_checks/html_chars.h"
#include "page_checks/page_text.h"

namespace velmora::page_checks {
namespace {

constexpr std::string_view kBlanks = " \t\n\f\r";

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) + 1 - first);
}

bool HoldsNoindex(std::string_view content) {
    while (!content.empty()) {
        const auto comma = content.find(',');
        std::string directive(Trimmed(content.substr(0, comma)));
        for (char& c : directive) {
            c = LowerAscii(c);
        }
        if (directive == "noindex" || directive == "none") {
            return true;
        }
        if (comma == std::string_view::npos) {
            break;
        }
        content.remove_prefix(comma + 1);
    }
    return false;
}

bool StartsWithUrlKey(std::string_view text) {
    return text.size() >= 3 && LowerAscii(text[0]) == 'u' && LowerAscii(text[1]) == 'r' &&
           LowerAscii(text[2]) == 'l';
}

}  // namespace

std::optional<std::string> RefreshUrl(std::string_view content) {
    // The delay (digits and dots), a blank, ';' or ',', then the URL with or without "url=".
    const std::size_t start = content.find_first_not_of(kBlanks);
    if (start == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t at = content.find_first_not_of("0123456789.", start);
    if (at == start || at == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view rest = content.substr(at);
    if (kBlanks.find(rest.front()) == std::string_view::npos && rest.front() != ';' &&
        rest.front() != ',') {
        return std::nullopt;
    }
    rest.remove_prefix(std::min(rest.size(), rest.find_first_not_of(kBlanks)));
    if (!rest.empty() && (rest.front() == ';' || rest.front() == ',')) {
        rest.remove_prefix(1);
    }
    rest.remove_prefix(std::min(rest.size(), rest.find_first_not_of(kBlanks)));
    if (StartsWithUrlKey(rest)) {
        std::string_view afterKey = rest.substr(3);
        afterKey.remove_prefix(std::min(afterKey.size(), afterKey.find_first_not_of(kBlanks)));
        if (!afterKey.empty() && afterKey.front() == '=') {
            afterKey.remove_prefix(1);
            afterKey.remove_prefix(std::min(afterKey.size(), afterKey.find_first_not_of(kBlanks)));
            rest = afterKey;
        }
    }
    if (!rest.empty() && (rest.front() == '"' || rest.front() == '\'')) {
        const char quote = rest.front();
        rest.remove_prefix(1);
        rest = rest.substr(0, rest.find(quote));
    }
    rest = Trimmed(rest);
    if (rest.empty()) {
        return std::nullopt;
    }
    return std::string(rest);
}

PageSiteFacts TakeSiteFacts(PageFacts& facts, PagePositions& lines) {
    PageSiteFacts site;
    site.links.reserve(facts.hyperlinks.size());
    for (Hyperlink& link : facts.hyperlinks) {
        site.links.push_back({std::move(link.href), lines.At(link.at)});
    }
    site.ids = std::move(facts.ids);
    for (const LinkTag& link : facts.links) {
        // Search engines read canonicals and alternates in the head only.
        if (!link.href || !link.inHead) {
            continue;
        }
        const std::string href(Trimmed(*link.href));
        if (!site.canonical && link.HasRel("canonical")) {
            site.canonical = LinkOnLine{href, lines.At(link.at)};
        }
        if (link.hreflang && link.HasRel("alternate")) {
            site.alternates.push_back(
                {std::string(Trimmed(*link.hreflang)), {href, lines.At(link.at)}});
        }
    }
    for (const MetaTag& meta : facts.metas) {
        if (meta.inHead && (meta.name == "robots" || meta.name == "googlebot") && meta.content &&
            HoldsNoindex(*meta.content)) {
            site.noindex = true;
        }
        if (!site.redirect && meta.httpEquiv == "refresh" && meta.content) {
            if (auto url = RefreshUrl(*meta.content)) {
                site.redirect = LinkOnLine{std::move(*url), lines.At(meta.at)};
            }
        }
    }
    return site;
}

}  // namespace velmora::page_checks
