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
    return std::string("/").append(relative.generic_string());
}

PageSite ResolvePage(const page_checks::PageSiteFacts& facts, std::optional<std::string> path,
                     const LinkResolver& resolver) {
    PageSite site;
    site.noindex = facts.noindex;
    site.ids = facts.ids;
    std::optional<LinkResolver::Page> page;
    if (path) {
        page.emplace(resolver.ForPage(*path));
    }
    site.path = std::move(path);
    const auto address = [&](const page_checks::LinkOnLine& link, bool asLink) {
        PageAddress resolved{link.href, std::nullopt, Narrow(link.position.line),
                             Narrow(link.position.column)};
        if (page) {
            resolved.to = asLink ? page->Resolve(link.href).to : page->ResolveAddress(link.href);
        }
        return resolved;
    };
    site.links.reserve(facts.links.size());
    for (const page_checks::LinkOnLine& link : facts.links) {
        PageLink resolved{link.href, std::nullopt, std::nullopt, Narrow(link.position.line),
                          Narrow(link.position.column)};
        if (page) {
            ResolvedLink target = page->Resolve(link.href);
            resolved.to = std::move(target.to);
            resolved.fragment = std::move(target.fragment);
        } else if (const auto hash = link.href.find('#'); hash != std::string::npos) {
            resolved.fragment = link.href.substr(hash + 1);
        }
        site.links.push_back(std::move(resolved));
    }
    if (facts.canonical) {
        site.canonical = address(*facts.canonical, false);
    }
    for (const page_checks::AlternateOnLine& alternate : facts.alternates) {
        site.alternates.push_back({alternate.hreflang, address(alternate.link, false)});
    }
    if (facts.redirect) {
        site.redirect = address(*facts.redirect, true);
    }
    return site;
}

SitePage InternPage(std::string file, const PageSite& site, TextPool& texts) {
    SitePage page;
    page.file = std::move(file);
    page.path = InternOptional(texts, site.path);
    page.noindex = site.noindex;
    page.ids.reserve(site.ids.size());
    for (const std::string& id : site.ids) {
        page.ids.push_back(texts.Intern(id));
    }
    page.links.reserve(site.links.size());
    for (const PageLink& link : site.links) {
        page.links.push_back({texts.Intern(link.href), InternOptional(texts, link.to),
                              InternOptional(texts, link.fragment), link.line, link.column});
    }
    const auto address = [&](const PageAddress& resolved) {
        return SiteAddress{texts.Intern(resolved.href), InternOptional(texts, resolved.to),
                           resolved.line, resolved.column};
    };
    if (site.canonical) {
        page.canonical = address(*site.canonical);
    }
    for (const PageAlternate& alternate : site.alternates) {
        page.alternates.push_back({texts.Intern(alternate.hreflang), address(alternate.address)});
    }
    if (site.redirect) {
        page.redirect = address(*site.redirect);
    }
    return page;
}

}  // namespace velmora::site_checks
