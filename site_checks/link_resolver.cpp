#include "site_checks/link_resolver.h"

#include <uriparser/Uri.h>

#include <memory>
#include <stdexcept>

#include "page_checks/html_chars.h"
#include "site_checks/percent_escapes.h"

namespace velmora::site_checks {

// An absolute URL cut into what the site checks compare.
struct LinkResolver::Split {
    std::string scheme;     // lower-cased
    std::string authority;  // host and port, lower-cased
    std::string path;       // still percent-encoded
    std::string whole;
};

namespace {

constexpr std::string_view kUrlBlanks = " \t\n\f\r";

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = Lower(c);
    }
    return out;
}

bool IsUriCharacter(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
        return true;
    }
    return std::string_view("-._~:/?#@!$&'()*+,;=").find(static_cast<char>(c)) !=
           std::string_view::npos;
}

// What browsers do before resolving: blanks at the ends go, tabs and line breaks inside go, a
// backslash is a slash, and every byte a URI may not hold (non-ASCII, blanks, a "%" that starts
// no escape, a second "#") is percent-encoded.
std::string Cleaned(std::string_view href) {
    const auto first = href.find_first_not_of(kUrlBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    href = href.substr(first, href.find_last_not_of(kUrlBlanks) + 1 - first);
    std::string out;
    out.reserve(href.size());
    bool inFragment = false;
    for (std::size_t i = 0; i < href.size(); ++i) {
        const auto c = static_cast<unsigned char>(href[i]);
        if (c == '\t' || c == '\n' || c == '\r') {
            continue;
        }
        if (c == '\\' && !inFragment) {
            out.push_back('/');
            continue;
        }
        const bool escape = EscapeAt(href, i);
        if (escape || (IsUriCharacter(c) && !(c == '#' && inFragment))) {
            inFragment = inFragment || c == '#';
            out.push_back(static_cast<char>(c));
            continue;
        }
        AppendEscape(out, c);
    }
    return out;
}

// A decoded path as it stands in a URL.
std::string Encoded(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsUriCharacter(c) && c != '?' && c != '#') {
            out.push_back(ch);
        } else {
            AppendEscape(out, c);
        }
    }
    return out;
}

struct UriDeleter {
    void operator()(UriUriA* uri) const {
        uriFreeUriMembersA(uri);
        delete uri;
    }
};
using Uri = std::unique_ptr<UriUriA, UriDeleter>;

Uri Parsed(const std::string& text) {
    auto* uri = new UriUriA{};
    const char* errorAt = nullptr;
    if (uriParseSingleUriA(uri, text.c_str(), &errorAt) != URI_SUCCESS) {
        delete uri;
        return nullptr;
    }
    Uri owned(uri);
    // The parsed parts point into `text` until the URI copies them.
    if (uriMakeOwnerA(uri) != URI_SUCCESS) {
        return nullptr;
    }
    return owned;
}

std::string_view Range(const UriTextRangeA& range) {
    if (range.first == nullptr || range.afterLast == nullptr) {
        return {};
    }
    return {range.first, static_cast<std::size_t>(range.afterLast - range.first)};
}

std::string ToText(const UriUriA& uri) {
    int length = 0;
    if (uriToStringCharsRequiredA(&uri, &length) != URI_SUCCESS) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    if (uriToStringA(text.data(), &uri, length + 1, nullptr) != URI_SUCCESS) {
        return {};
    }
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// The path of a resolved URL, from its text: after the authority, before "?" or "#".
std::string PathOf(std::string_view whole, std::size_t authorityEnd) {
    std::string_view rest = whole.substr(authorityEnd);
    rest = rest.substr(0, rest.find_first_of("?#"));
    return rest.empty() ? std::string("/") : std::string(rest);
}

bool HasScheme(const UriUriA& uri) {
    return uri.scheme.first != nullptr;
}

bool IsHttp(std::string_view scheme) {
    return scheme == "http" || scheme == "https";
}

}  // namespace

std::string PercentDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (EscapeAt(text, i)) {
            out.push_back(static_cast<char>(page_checks::HexDigitValue(text[i + 1]) * 16 +
                                            page_checks::HexDigitValue(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

BaseUrl::BaseUrl(std::string_view url) {
    const std::string text = Cleaned(url);
    const Uri uri = Parsed(text);
    if (!uri || !HasScheme(*uri) || !IsHttp(Lowered(Range(uri->scheme))) ||
        Range(uri->hostText).empty()) {
        throw std::invalid_argument("\"" + std::string(url) +
                                    "\" is not an absolute http or https URL");
    }
    std::string host = Lowered(Range(uri->hostText));
    if (uri->hostData.ip6 != nullptr || uri->hostData.ipFuture.first != nullptr) {
        host = "[" + host + "]";
    }
    const std::string_view port = Range(uri->portText);
    origin_ = Lowered(Range(uri->scheme)) + "://" + host;
    if (!port.empty()) {
        origin_.append(":").append(port);
    }
    const std::size_t authorityEnd = text.find('/', text.find("//") + 2);
    prefix_ = authorityEnd == std::string::npos ? "/" : PathOf(text, authorityEnd);
    if (!prefix_.ends_with('/')) {
        prefix_.erase(prefix_.rfind('/') + 1);
    }
}

LinkResolver::LinkResolver(std::optional<BaseUrl> base) : base_(std::move(base)) {}

LinkResolver::Page::Page(const LinkResolver& resolver, std::shared_ptr<UriUriStructA> address)
    : resolver_(resolver), address_(std::move(address)) {}

LinkResolver::Page LinkResolver::ForPage(std::string_view pagePath) const {
    const std::string origin = base_ ? base_->origin() : std::string("http://velmora.invalid");
    const std::string prefix = base_ ? base_->prefix() : std::string("/");
    const std::string_view below = pagePath.starts_with('/') ? pagePath.substr(1) : pagePath;
    Uri address = Parsed(origin + prefix + Encoded(below));
    return Page(*this, std::shared_ptr<UriUriStructA>(address.release(), UriDeleter()));
}

namespace {

// `reference` resolved against `address`, cut into its parts.
std::optional<LinkResolver::Split> Absolute(const UriUriA& reference, const UriUriA& address) {
    UriUriA resolved{};
    if (uriAddBaseUriExA(&resolved, &reference, &address, URI_RESOLVE_STRICTLY) != URI_SUCCESS) {
        uriFreeUriMembersA(&resolved);
        return std::nullopt;
    }
    LinkResolver::Split split;
    split.whole = ToText(resolved);
    split.scheme = Lowered(Range(resolved.scheme));
    const std::string_view host = Range(resolved.hostText);
    const bool bracketed =
        resolved.hostData.ip6 != nullptr || resolved.hostData.ipFuture.first != nullptr;
    split.authority =
        bracketed ? std::string("[").append(Lowered(host)).append("]") : Lowered(host);
    if (const std::string_view port = Range(resolved.portText); !port.empty()) {
        split.authority.append(":").append(port);
    }
    uriFreeUriMembersA(&resolved);
    const std::size_t schemeEnd = split.whole.find("//");
    if (schemeEnd != std::string::npos) {
        const std::size_t authorityEnd =
            std::min(split.whole.find_first_of("/?#", schemeEnd + 2), split.whole.size());
        split.path = PathOf(split.whole, authorityEnd);
    }
    return split;
}

}  // namespace

std::optional<std::string> LinkResolver::InternalPath(const Split& url) const {
    if (!base_ || url.scheme + "://" + url.authority != base_->origin() ||
        !url.path.starts_with(base_->prefix())) {
        return std::nullopt;
    }
    return PercentDecoded(url.path.substr(base_->prefix().size() - 1));
}

ResolvedLink LinkResolver::Page::Resolve(std::string_view href) const {
    ResolvedLink link;
    if (const auto hash = href.find('#'); hash != std::string_view::npos) {
        link.fragment = std::string(href.substr(hash + 1));
    }
    const Uri written = Parsed(Cleaned(href));
    if (!written || !address_) {
        return link;
    }
    const bool absolute = HasScheme(*written) || written->hostText.first != nullptr;
    if (absolute && !resolver_.base_) {
        return link;
    }
    const std::optional<Split> url = Absolute(*written, *address_);
    if (!url || url->path.empty()) {
        return link;
    }
    link.to = resolver_.base_ ? resolver_.InternalPath(*url) : PercentDecoded(url->path);
    return link;
}

std::optional<std::string> LinkResolver::Page::ResolveAddress(std::string_view href) const {
    const Uri written = Parsed(Cleaned(href));
    if (!written || !address_) {
        return std::nullopt;
    }
    const std::optional<Split> url = Absolute(*written, *address_);
    if (!url || !IsHttp(url->scheme)) {
        return std::nullopt;
    }
    if (!resolver_.base_) {
        return PercentDecoded(url->path);
    }
    if (auto path = resolver_.InternalPath(*url)) {
        return path;
    }
    return url->whole.substr(0, url->whole.find('#'));
}

std::optional<std::string> LinkResolver::PathOfUrl(std::string_view url) const {
    std::optional<std::string> address = ForPage("/").ResolveAddress(url);
    if (address && !address->starts_with('/')) {
        return std::nullopt;
    }
    return address;
}

}  // namespace velmora::site_checks
