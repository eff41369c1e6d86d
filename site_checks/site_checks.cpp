#include "site_checks/site_checks.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>

#include "page_checks/page_checks.h"
#include "site_checks/equal_texts.h"
#include "site_checks/link_resolver.h"

namespace velmora::site_checks {
namespace {

using page_checks::CheckedElement;
using page_checks::CheckResult;
using page_checks::CheckState;
using page_checks::CheckValue;

constexpr std::array<std::string_view, 3> kIndexNames = {"index.html", "index.htm", "index.php"};

std::string Plural(std::size_t n, std::string_view one, std::string_view many) {
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

CheckResult Result(CheckId id, CheckState state, std::string message) {
    CheckResult result;
    result.id = id;
    result.state = state;
    result.message = std::move(message);
    return result;
}

bool IsIndexFile(std::string_view path) {
    const std::string_view name = path.substr(path.rfind('/') + 1);
    return std::find(kIndexNames.begin(), kIndexNames.end(), name) != kIndexNames.end();
}

// A path whose last segment names a page, or no file type at all.
bool LooksLikePage(std::string_view path) {
    const std::string_view name = path.substr(path.rfind('/') + 1);
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return true;
    }
    const std::string_view type = name.substr(dot);
    return type == ".html" || type == ".htm" || type == ".php";
}

constexpr std::uint32_t kNoPage = UINT32_MAX;
// A target not looked for yet; ids stop below it.
constexpr TextId kUnknownTarget = UINT32_MAX;
constexpr std::uint32_t kNoGroup = UINT32_MAX;

}  // namespace

// Tables indexed by text id rather than hashed: every link of a million pages looks its target
// up, and each path is resolved once.
class SiteJudge::Judgement {
    // Nested rather than file-local: the judgement is a class of the header and holds them.
    enum class Role : std::uint8_t { Indexable, Redirect, NotIndexed, Canonicalized };

    // What a link to a path comes to, worked out once per path.
    enum class LinkVerdict : std::uint8_t { Unknown, NotJudged, Found, Missing };

    // The pages sharing one compared text, and each page's group.
    struct DuplicateGroups {
        std::vector<std::vector<std::size_t>> groups;
        std::vector<std::uint32_t> groupOf;
    };

public:
    Judgement(const Site& site, const PageCheckOptions& options)
        : site_(site),
          texts_(site.texts),
          options_(options),
          pageOf_(site.texts.IdLimit(), kNoPage),
          targets_(site.texts.IdLimit(), kUnknownTarget),
          listed_(site.texts.IdLimit(), false),
          verdicts_(site.texts.IdLimit(), LinkVerdict::Unknown) {
        for (std::size_t i = 0; i < site.pages.size(); ++i) {
            const TextId path = site.pages[i].path;
            if (path != kNoText && pageOf_[path] == kNoPage) {
                pageOf_[path] = static_cast<std::uint32_t>(i);
            }
        }
        roles_.reserve(site.pages.size());
        for (const SitePage& page : site.pages) {
            roles_.push_back(RoleOf(page));
        }
        CountLinksIn();
        ReadSitemap(sitemapResults_);
        titles_ = GroupDuplicates(CheckId::DuplicateTitle, &SitePage::title);
        descriptions_ = GroupDuplicates(CheckId::DuplicateDescription, &SitePage::description);
    }

    // Duplicates come first; the rest follow in CheckId order.
    std::vector<CheckResult> PageResults(std::size_t index) {
        std::vector<CheckResult> results;
        AddDuplicate(index, CheckId::DuplicateTitle, titles_, &SitePage::titleElement, results);
        AddDuplicate(index, CheckId::DuplicateDescription, descriptions_,
                     &SitePage::descriptionElement, results);
        JudgePage(index, results);
        return results;
    }

    const std::vector<CheckResult>& SitemapResults() const { return sitemapResults_; }

private:
    std::string_view Text(TextId id) const { return texts_.Text(id); }

    bool Exists(std::string_view path) const {
        const TextId id = texts_.Find(path);
        if (id == kNoText) {
            return false;
        }
        return site_.files ? site_.files->Holds(id) : pageOf_[id] != kNoPage;
    }

    // The file a path names, by the rules static hosts follow: the file itself, the folder's
    // index page, the path with ".html" added. None when the root holds none of them.
    TextId Target(TextId path) {
        if (targets_[path] != kUnknownTarget) {
            return targets_[path];
        }
        const std::string_view text = Text(path);
        TextId found = kNoText;
        const auto tryPath = [&](const std::string& candidate) {
            if (found == kNoText && Exists(candidate)) {
                found = texts_.Find(candidate);
            }
        };
        if (!text.ends_with('/') && Exists(text)) {
            found = path;
        }
        const std::string folder =
            text.ends_with('/') ? std::string(text) : std::string(text) + "/";
        for (const std::string_view name : kIndexNames) {
            tryPath(folder + std::string(name));
        }
        if (!text.ends_with('/')) {
            tryPath(std::string(text) + ".html");
        }
        targets_[path] = found;
        return found;
    }

    // The page a path names, or none.
    std::optional<std::size_t> PageAt(TextId path) {
        const TextId target = Target(path);
        if (target == kNoText) {
            return std::nullopt;
        }
        const std::uint32_t page = pageOf_[target];
        return page == kNoPage ? std::nullopt : std::optional<std::size_t>(page);
    }

    // Without the root's file list only links to pages can be judged.
    bool Judged(TextId path) const { return site_.files || LooksLikePage(Text(path)); }

    bool IsInternal(TextId to) const { return to != kNoText && Text(to).starts_with('/'); }

    Role RoleOf(const SitePage& page) {
        if (page.redirect) {
            return Role::Redirect;
        }
        if (page.noindex) {
            return Role::NotIndexed;
        }
        if (page.canonical && page.canonical->to != kNoText && page.path != kNoText) {
            const TextId to = page.canonical->to;
            if (!IsInternal(to) || (to != page.path && Target(to) != page.path)) {
                return Role::Canonicalized;
            }
        }
        return Role::Indexable;
    }

    void CountLinksIn() {
        linksIn_.assign(site_.pages.size(), 0);
        for (std::size_t i = 0; i < site_.pages.size(); ++i) {
            for (const SiteLink& link : site_.pages[i].links) {
                if (link.to == kNoText) {
                    continue;
                }
                if (const auto target = PageAt(link.to); target && *target != i) {
                    ++linksIn_[*target];
                }
            }
        }
    }

    void ReadSitemap(std::vector<CheckResult>& sitemapResults) {
        if (!site_.sitemap || !options_.Enabled(CheckId::Sitemap)) {
            return;
        }
        std::vector<CheckedElement> missing;
        for (const SitemapUrl& url : site_.sitemap->urls) {
            if (url.path == kNoText) {
                continue;
            }
            if (const TextId target = Target(url.path); target != kNoText) {
                listed_[target] = true;
            } else {
                missing.push_back({0, {url.line, 1}, url.url});
            }
        }
        if (!missing.empty()) {
            CheckResult result =
                Result(CheckId::Sitemap, CheckState::Problem,
                       "The sitemap lists " + Plural(missing.size(), "URL", "URLs") +
                           " that no page of the site answers; remove or fix them.");
            result.values.push_back({"missing", missing.size()});
            result.listed = std::move(missing);
            sitemapResults.push_back(std::move(result));
        }
    }

    DuplicateGroups GroupDuplicates(CheckId id, std::optional<std::string> SitePage::*text) {
        DuplicateGroups duplicates;
        if (!options_.Enabled(id)) {
            return duplicates;
        }
        std::vector<const std::string*> texts(site_.pages.size());
        for (std::size_t i = 0; i < site_.pages.size(); ++i) {
            const SitePage& page = site_.pages[i];
            if (roles_[i] == Role::Indexable && (page.*text) && !(page.*text)->empty()) {
                texts[i] = &*(page.*text);
            }
        }
        duplicates.groups = GroupsOfEqualText(texts);
        duplicates.groupOf.assign(site_.pages.size(), kNoGroup);
        for (std::size_t group = 0; group < duplicates.groups.size(); ++group) {
            for (const std::size_t page : duplicates.groups[group]) {
                duplicates.groupOf[page] = static_cast<std::uint32_t>(group);
            }
        }
        return duplicates;
    }

    void AddDuplicate(std::size_t index, CheckId id, const DuplicateGroups& duplicates,
                      std::optional<CheckedElement> SitePage::*element,
                      std::vector<CheckResult>& results) const {
        if (duplicates.groupOf.empty() || duplicates.groupOf[index] == kNoGroup) {
            return;
        }
        const std::vector<std::size_t>& group = duplicates.groups[duplicates.groupOf[index]];
        std::vector<std::string> others;
        others.reserve(group.size() - 1);
        for (const std::size_t other : group) {
            if (other != index) {
                others.push_back(site_.pages[other].file);
            }
        }
        results.push_back(page_checks::DuplicateCheck(id, others, site_.pages[index].*element));
    }

    static CheckedElement Element(std::uint32_t line, std::uint32_t column, std::string_view text) {
        return {0, {line, column}, std::string(text)};
    }

    void JudgePage(std::size_t index, std::vector<CheckResult>& out) {
        const SitePage& page = site_.pages[index];
        if (page.path == kNoText) {
            return;
        }
        const auto run = [&](CheckId id, auto check) {
            if (options_.Enabled(id)) {
                if (std::optional<CheckResult> result = check()) {
                    out.push_back(std::move(*result));
                }
            }
        };
        const Role role = roles_[index];
        run(CheckId::BrokenLinks, [&] { return BrokenLinks(page); });
        if (role != Role::Redirect) {
            run(CheckId::BrokenFragments, [&] { return BrokenFragments(index); });
            run(CheckId::CanonicalTarget, [&] { return CanonicalTarget(index); });
            run(CheckId::HreflangReturn, [&] { return HreflangReturn(index); });
            run(CheckId::Orphan, [&] { return Orphan(index); });
        }
        run(CheckId::Sitemap, [&] { return SitemapListing(index); });
        if (role != Role::Redirect) {
            run(CheckId::Robots, [&] { return RobotsRule(index); });
        }
    }

    LinkVerdict VerdictOf(TextId to) {
        LinkVerdict& verdict = verdicts_[to];
        if (verdict == LinkVerdict::Unknown) {
            verdict = !IsInternal(to) || !Judged(to) ? LinkVerdict::NotJudged
                      : Target(to) == kNoText        ? LinkVerdict::Missing
                                                     : LinkVerdict::Found;
        }
        return verdict;
    }

    std::optional<CheckResult> BrokenLinks(const SitePage& page) {
        std::size_t judged = 0;
        std::vector<CheckedElement> broken;
        const auto judge = [&](TextId to, TextId href, std::uint32_t line, std::uint32_t column) {
            if (to == kNoText) {
                return;
            }
            const LinkVerdict verdict = VerdictOf(to);
            if (verdict == LinkVerdict::NotJudged) {
                return;
            }
            ++judged;
            if (verdict == LinkVerdict::Missing) {
                broken.push_back(Element(line, column, Text(href)));
            }
        };
        for (const SiteLink& link : page.links) {
            judge(link.to, link.href, link.line, link.column);
        }
        if (page.redirect) {
            judge(page.redirect->to, page.redirect->href, page.redirect->line,
                  page.redirect->column);
        }
        if (judged == 0) {
            return std::nullopt;
        }
        CheckResult result =
            broken.empty()
                ? Result(CheckId::BrokenLinks, CheckState::Good,
                         "Every internal link leads to a file of the site.")
                : Result(CheckId::BrokenLinks, CheckState::Problem,
                         Plural(broken.size(), "internal link leads", "internal links lead") +
                             " to no file of the site; fix each or remove it.");
        result.values.push_back({"count", broken.size()});
        result.values.push_back({"internal", judged});
        result.listed = std::move(broken);
        return result;
    }

    const std::unordered_set<TextId>& IdsOf(std::size_t page) {
        auto [entry, added] = ids_.try_emplace(page);
        if (added) {
            entry->second.insert(site_.pages[page].ids.begin(), site_.pages[page].ids.end());
        }
        return entry->second;
    }

    std::optional<CheckResult> BrokenFragments(std::size_t index) {
        const SitePage& page = site_.pages[index];
        std::size_t judged = 0;
        std::vector<CheckedElement> broken;
        for (const SiteLink& link : page.links) {
            if (link.fragment == kNoText || link.to == kNoText) {
                continue;
            }
            const std::string_view fragment = Text(link.fragment);
            if (fragment.empty() || fragment == "top") {
                continue;
            }
            const std::optional<std::size_t> target = PageAt(link.to);
            if (!target) {
                continue;
            }
            ++judged;
            const std::string decoded = PercentDecoded(fragment);
            const TextId id = texts_.Find(decoded);
            if (id == kNoText || !IdsOf(*target).contains(id)) {
                broken.push_back(Element(link.line, link.column, Text(link.href)));
            }
        }
        if (judged == 0) {
            return std::nullopt;
        }
        CheckResult result =
            broken.empty()
                ? Result(CheckId::BrokenFragments, CheckState::Good,
                         "Every link to a #fragment finds its id on the page it leads to.")
                : Result(CheckId::BrokenFragments, CheckState::Improve,
                         Plural(broken.size(), "link names a #fragment", "links name #fragments") +
                             " that the page it leads to does not hold; link to an existing id.");
        result.values.push_back({"count", broken.size()});
        result.listed = std::move(broken);
        return result;
    }

    std::optional<CheckResult> CanonicalTarget(std::size_t index) {
        const SitePage& page = site_.pages[index];
        if (!page.canonical || !IsInternal(page.canonical->to)) {
            return std::nullopt;
        }
        const SiteAddress& canonical = *page.canonical;
        const TextId target = Target(canonical.to);
        if (target == page.path) {
            return std::nullopt;
        }
        const std::string named(Text(canonical.to));
        CheckResult result;
        result.id = CheckId::CanonicalTarget;
        result.values.push_back({"target", named});
        result.listed.push_back(Element(canonical.line, canonical.column, Text(canonical.href)));
        const std::optional<std::size_t> targetPage =
            target == kNoText ? std::nullopt : PageAt(canonical.to);
        if (target == kNoText) {
            result.state = CheckState::Problem;
            result.message = "The canonical names " + named +
                             ", which does not exist; name the page search engines should show.";
        } else if (targetPage && roles_[*targetPage] == Role::Redirect) {
            result.state = CheckState::Problem;
            result.message = "The canonical names " + named +
                             ", which redirects; name the page it redirects to.";
        } else if (targetPage && roles_[*targetPage] == Role::NotIndexed) {
            result.state = CheckState::Problem;
            result.message = "The canonical names " + named +
                             ", which asks not to be indexed; name an indexable page.";
        } else if (targetPage && roles_[*targetPage] == Role::Canonicalized) {
            const SiteAddress& next = *site_.pages[*targetPage].canonical;
            result.state = CheckState::Improve;
            result.message = "The canonical names " + named + ", whose own canonical names " +
                             std::string(Text(next.to)) + "; name the final page at once.";
        } else {
            result.state = CheckState::Good;
            result.message = "The canonical names " + named + ", an indexable page.";
        }
        return result;
    }

    std::optional<CheckResult> HreflangReturn(std::size_t index) {
        const SitePage& page = site_.pages[index];
        if (page.alternates.empty()) {
            return std::nullopt;
        }
        std::vector<CheckedElement> missing;
        std::vector<CheckedElement> noReturn;
        bool namesItself = false;
        for (const SiteAlternate& alternate : page.alternates) {
            const SiteAddress& address = alternate.address;
            if (!IsInternal(address.to)) {
                continue;
            }
            const TextId target = Target(address.to);
            const CheckedElement element =
                Element(address.line, address.column, Text(address.href));
            if (target == kNoText) {
                if (Judged(address.to)) {
                    missing.push_back(element);
                }
                continue;
            }
            if (target == page.path) {
                namesItself = true;
                continue;
            }
            const std::optional<std::size_t> other = PageAt(address.to);
            if (!other) {
                continue;
            }
            const auto& back = site_.pages[*other].alternates;
            const bool listsBack =
                std::any_of(back.begin(), back.end(), [&](const SiteAlternate& a) {
                    return IsInternal(a.address.to) && Target(a.address.to) == page.path;
                });
            if (!listsBack) {
                noReturn.push_back(element);
            }
        }
        CheckResult result;
        result.id = CheckId::HreflangReturn;
        if (!missing.empty()) {
            result.state = CheckState::Problem;
            result.message =
                Plural(missing.size(), "language alternate names", "language alternates name") +
                " a page that does not exist; fix the href.";
        } else if (!noReturn.empty()) {
            result.state = CheckState::Improve;
            result.message =
                Plural(noReturn.size(), "language alternate does", "language alternates do") +
                " not list this page back; each version must name all the others.";
        } else if (!namesItself) {
            result.state = CheckState::Improve;
            result.message =
                "The language alternates do not include this page itself; add its own hreflang.";
        } else {
            result.state = CheckState::Good;
            result.message = "Every language alternate lists this page back.";
        }
        result.values.push_back({"alternates", page.alternates.size()});
        result.values.push_back({"missing", missing.size()});
        result.values.push_back({"without_return", noReturn.size()});
        result.values.push_back({"names_itself", namesItself});
        result.listed = std::move(missing);
        result.listed.insert(result.listed.end(), noReturn.begin(), noReturn.end());
        return result;
    }

    std::optional<CheckResult> Orphan(std::size_t index) {
        const SitePage& page = site_.pages[index];
        const std::string_view path = Text(page.path);
        if (roles_[index] != Role::Indexable ||
            (IsIndexFile(path) && path.find('/', 1) == std::string_view::npos)) {
            return std::nullopt;
        }
        CheckResult result =
            linksIn_[index] == 0
                ? Result(CheckId::Orphan, CheckState::Improve,
                         "No other page of the site links to this page; link to it so that "
                         "visitors and search engines find it.")
                : Result(CheckId::Orphan, CheckState::Good,
                         Plural(linksIn_[index], "link from other pages leads",
                                "links from other pages lead") +
                             " here.");
        result.values.push_back({"links_in", std::size_t{linksIn_[index]}});
        return result;
    }

    std::optional<CheckResult> SitemapListing(std::size_t index) {
        if (!site_.sitemap) {
            return std::nullopt;
        }
        const Role role = roles_[index];
        const bool listed = listed_[site_.pages[index].path];
        if (!listed) {
            if (role != Role::Indexable) {
                return std::nullopt;
            }
            return Result(CheckId::Sitemap, CheckState::Info,
                          "The sitemap does not list this page; add it so that search engines "
                          "find it sooner.");
        }
        switch (role) {
            case Role::Indexable:
                return Result(CheckId::Sitemap, CheckState::Good, "The sitemap lists this page.");
            case Role::Redirect:
                return Result(CheckId::Sitemap, CheckState::Improve,
                              "The sitemap lists this page, which redirects; list its target "
                              "instead.");
            case Role::NotIndexed:
                return Result(CheckId::Sitemap, CheckState::Improve,
                              "The sitemap lists this page, which asks not to be indexed; list "
                              "only indexable pages.");
            case Role::Canonicalized:
                break;
        }
        return Result(CheckId::Sitemap, CheckState::Improve,
                      "The sitemap lists this page, whose canonical names another; list the "
                      "canonical page instead.");
    }

    std::optional<CheckResult> RobotsRule(std::size_t index) {
        if (!site_.robots || roles_[index] == Role::Canonicalized) {
            return std::nullopt;
        }
        std::string served(Text(site_.pages[index].path));
        if (IsIndexFile(served)) {
            served.erase(served.rfind('/') + 1);
        }
        const RobotsVerdict verdict = site_.robots->Check(served);
        const bool hidden = roles_[index] == Role::NotIndexed;
        CheckResult result;
        result.id = CheckId::Robots;
        result.values.push_back({"address", served});
        if (verdict.allowed) {
            result.state = CheckState::Good;
            result.message = "robots.txt lets search engines read this page.";
            return result;
        }
        const std::string rule = "\"Disallow: " + verdict.rule->pattern + "\", robots.txt line " +
                                 std::to_string(verdict.rule->line);
        result.values.push_back({"rule", verdict.rule->pattern});
        result.values.push_back({"rule_line", verdict.rule->line});
        if (hidden) {
            result.state = CheckState::Problem;
            result.message = "robots.txt keeps search engines from this page (" + rule +
                             "), so they never read its noindex; allow it.";
        } else {
            result.state = CheckState::Improve;
            result.message = "robots.txt keeps search engines from this indexable page (" + rule +
                             "); allow it unless it must stay out of search.";
        }
        return result;
    }

    const Site& site_;
    const TextPool& texts_;
    const PageCheckOptions& options_;
    std::vector<std::uint32_t> pageOf_;
    std::vector<TextId> targets_;
    std::vector<bool> listed_;
    std::vector<LinkVerdict> verdicts_;
    std::unordered_map<std::size_t, std::unordered_set<TextId>> ids_;
    std::vector<Role> roles_;
    std::vector<std::uint32_t> linksIn_;
    std::vector<CheckResult> sitemapResults_;
    DuplicateGroups titles_;
    DuplicateGroups descriptions_;
};

SiteJudge::SiteJudge(const Site& site, const PageCheckOptions& options)
    : judgement_(std::make_unique<Judgement>(site, options)) {}

SiteJudge::~SiteJudge() = default;

std::vector<CheckResult> SiteJudge::PageResults(std::size_t index) {
    return judgement_->PageResults(index);
}

std::vector<CheckResult> SiteJudge::SitemapResults() const {
    return judgement_->SitemapResults();
}

SiteResults RunSiteChecks(const Site& site, const PageCheckOptions& options) {
    SiteJudge judge(site, options);
    SiteResults results;
    results.pages.reserve(site.pages.size());
    for (std::size_t i = 0; i < site.pages.size(); ++i) {
        results.pages.push_back(judge.PageResults(i));
    }
    results.sitemap = judge.SitemapResults();
    return results;
}

bool RunsSiteChecks(const PageCheckOptions& options) {
    for (std::size_t id = static_cast<std::size_t>(CheckId::DuplicateTitle); id < kCheckCount;
         ++id) {
        if (options.Enabled(static_cast<CheckId>(id))) {
            return true;
        }
    }
    return false;
}

}  // namespace velmora::site_checks
