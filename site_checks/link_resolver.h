#pragma once

// How a link written on a page names a file of the site: RFC 3986 reference resolution against
// the page's address, then the path percent-decoded. The query is dropped and the fragment kept
// apart; other schemes and other hosts are external and never judged.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// uriparser's parsed URI, kept out of this header.
struct UriUriStructA;

namespace velmora::site_checks {

struct ResolvedLink {
    // The path below the root, starting with "/", percent-decoded; none when external.
    std::optional<std::string> to;
    // The text after "#" as written; none when there is no "#".
    std::optional<std::string> fragment;

    bool operator==(const ResolvedLink&) const = default;
};

// The site's own address. Without one, only relative and root-relative links are internal.
class BaseUrl {
public:
    // Throws std::invalid_argument naming the reason when `url` is no absolute http(s) URL.
    explicit BaseUrl(std::string_view url);

    // "https://example.org" and the path the site starts at, ending with "/".
    const std::string& origin() const { return origin_; }
    const std::string& prefix() const { return prefix_; }

private:
    std::string origin_;
    std::string prefix_;
};

class LinkResolver {
public:
    explicit LinkResolver(std::optional<BaseUrl> base);

    // The links of one page, resolved against its address; `pagePath` is its path below the
    // root ("/docs/a.html").
    class Page {
    public:
        ResolvedLink Resolve(std::string_view href) const;

        // A canonical, an alternate: the internal path, or the absolute URL when it points off
        // the site; none for other schemes. Without a base URL an absolute http(s) URL is taken
        // by its path alone, as a sitemap's are, since the site cannot tell its own host from
        // another.
        std::optional<std::string> ResolveAddress(std::string_view href) const;

    private:
        friend class LinkResolver;
        Page(const LinkResolver& resolver, std::shared_ptr<::UriUriStructA> address);

        const LinkResolver& resolver_;
        std::shared_ptr<::UriUriStructA> address_;  // null when the path makes no URL
    };

    Page ForPage(std::string_view pagePath) const;

    // A sitemap's <loc>: the path below the root, or none when it names another site.
    std::optional<std::string> PathOfUrl(std::string_view url) const;

    // An absolute URL cut into what the checks compare.
    struct Split;

private:
    std::optional<std::string> InternalPath(const Split& url) const;

    std::optional<BaseUrl> base_;
};

// "%41b%20c" as "Ab c"; a "%" that starts no escape stays.
std::string PercentDecoded(std::string_view text);

}  // namespace velmora::site_checks
