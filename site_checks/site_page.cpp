#include "site_checks/site_page.h"

#include <filesystem>

namespace velmora::site_checks {
namespace {

std::uint32_t Narrow(std::size_t n) {
    return n > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(n);
}

TextId InternOptional(TextPool& texts, const std::optional<std::string>& text) {
    return text ? texts.Intern(*text) : kNoText;
}

}  // namespace

std::optional<std::string> PathBelowRoot(const std::string& file, const std::string& root) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path absoluteFile = fs::absolute(file, error).lexically_normal();
    const fs::path absoluteRoot = fs::absolute(root, error).lexically_normal();
    if (error) {
        return std::nullopt;
    }
    const fs::path relative = absoluteFile.lexically_relative(absoluteRoot);
    if (relative.empty() || *relative.begin() == ".." || relative == ".") {
        return std::nullopt;
    }
    return "/" + relative.generic_string();
}

SitePage DescribePage(std::string file, std::optional<std::string_view> path,
                      const page_checks::PageSiteFacts& facts, const LinkResolver& resolver,
                      TextPool& texts) {
    SitePage page;
    page.file = std::move(file);
    page.noindex = facts.noindex;
    page.ids.reserve(facts.ids.size());
    for (const std::string& id : facts.ids) {
        page.ids.push_back(texts.Intern(id));
    }
    const auto address = [&](const page_checks::LinkOnLine& link,
                             const std::optional<std::string>& to) {
        return SiteAddress{texts.Intern(link.href), InternOptional(texts, to),
                           Narrow(link.position.line), Narrow(link.position.column)};
    };
    page.links.reserve(facts.links.size());
    if (!path) {
        for (const page_checks::LinkOnLine& link : facts.links) {
            const auto hash = link.href.find('#');
            page.links.push_back(
                {texts.Intern(link.href), kNoText,
                 hash == std::string::npos ? kNoText : texts.Intern(link.href.substr(hash + 1)),
                 Narrow(link.position.line), Narrow(link.position.column)});
        }
        if (facts.canonical) {
            page.canonical = address(*facts.canonical, std::nullopt);
        }
        for (const page_checks::AlternateOnLine& alternate : facts.alternates) {
            page.alternates.push_back(
                {texts.Intern(alternate.hreflang), address(alternate.link, std::nullopt)});
        }
        if (facts.redirect) {
            page.redirect = address(*facts.redirect, std::nullopt);
        }
        return page;
    }
    page.path = texts.Intern(*path);
    const LinkResolver::Page resolve = resolver.ForPage(*path);
    for (const page_checks::LinkOnLine& link : facts.links) {
        const ResolvedLink resolved = resolve.Resolve(link.href);
        page.links.push_back({texts.Intern(link.href), InternOptional(texts, resolved.to),
                              InternOptional(texts, resolved.fragment), Narrow(link.position.line),
                              Narrow(link.position.column)});
    }
    if (facts.canonical) {
        page.canonical = address(*facts.canonical, resolve.ResolveAddress(facts.canonical->href));
    }
    for (const page_checks::AlternateOnLine& alternate : facts.alternates) {
        page.alternates.push_back(
            {texts.Intern(alternate.hreflang),
             address(alternate.link, resolve.ResolveAddress(alternate.link.href))});
    }
    if (facts.redirect) {
        page.redirect = address(*facts.redirect, resolve.Resolve(facts.redirect->href).to);
    }
    return page;
}

}  // namespace velmora::site_checks
