#include "page_checks/page_address.h"

#include <array>
#include <vector>

#include "core/text_rules.h"
#include "page_checks/html_chars.h"

namespace velmora::page_checks {
namespace {

constexpr std::array<std::string_view, 3> kIndexNames = {"index.html", "index.htm", "index.php"};

std::string_view BaseName(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool IsIndexName(std::string_view name) {
    for (const std::string_view index : kIndexNames) {
        if (name == index) {
            return true;
        }
    }
    return false;
}

// The path without its query and fragment.
std::string_view WithoutQuery(std::string_view url) {
    return url.substr(0, std::min(url.find_first_of("?#"), url.size()));
}

std::string PercentDecoded(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    const auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        c = LowerAscii(c);
        return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    };
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '%' && i + 2 < path.size() && hex(path[i + 1]) >= 0 &&
            hex(path[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hex(path[i + 1]) * 16 + hex(path[i + 2])));
            i += 2;
        } else {
            out.push_back(path[i]);
        }
    }
    return out;
}

// An absolute path with "." and ".." segments removed (none climbs above the root) and empty
// segments dropped; it ends in "/" when the last segment is empty, "." or "..".
std::string RemoveDotSegments(std::string_view path) {
    std::vector<std::string_view> segments;
    std::string_view last;
    std::size_t at = path.starts_with('/') ? 1 : 0;
    while (at <= path.size()) {
        const std::size_t end = std::min(path.find('/', at), path.size());
        last = path.substr(at, end - at);
        if (last == "..") {
            if (!segments.empty()) {
                segments.pop_back();
            }
        } else if (last != "." && !last.empty()) {
            segments.push_back(last);
        }
        at = end + 1;
    }
    std::string out;
    for (const std::string_view segment : segments) {
        out += '/';
        out += segment;
    }
    if (out.empty() || last.empty() || last == "." || last == "..") {
        out += '/';
    }
    return out;
}

// The page's own path: from the site's root when known, else its file path made absolute.
std::string OwnPath(const PageAddress& address) {
    if (address.sitePath) {
        return RemoveDotSegments(*address.sitePath);
    }
    std::string file = address.file;
    for (char& c : file) {
        c = c == '\\' ? '/' : c;
    }
    return RemoveDotSegments(file.starts_with('/') ? file : "/" + file);
}

bool IsRootPath(std::string_view path) {
    return path == "/" || (path.size() > 1 && path.rfind('/') == 0 && IsIndexName(path.substr(1)));
}

// A page is its site's root page when its path from the root is one; without a root, any
// index page may be, and is taken to be.
bool IsRootIndexPage(const PageAddress& address) {
    if (address.sitePath) {
        return IsRootPath(RemoveDotSegments(*address.sitePath));
    }
    return IsIndexName(BaseName(address.file));
}

// Whether `target` is served by the file at `own`: the same path, the folder of an index page,
// or the path without ".html".
bool NamesSamePage(std::string_view target, std::string_view own) {
    if (target == own) {
        return true;
    }
    const std::string folder(target.ends_with('/') ? target : std::string(target) + "/");
    if (own.starts_with(folder) && IsIndexName(own.substr(folder.size()))) {
        return true;
    }
    return std::string(target) + ".html" == own;
}

// The path of an absolute http(s) URL or a scheme-relative one ("//host/path"); its host in
// `host`.
std::string PathOfAbsolute(std::string_view url, std::string& host) {
    const std::size_t slashes = url.find("//");
    std::string_view rest = url.substr(slashes + 2);
    const std::size_t pathStart = std::min(rest.find_first_of("/?#"), rest.size());
    host = AsciiLower(rest.substr(0, pathStart));
    const std::string_view path = WithoutQuery(rest.substr(pathStart));
    return RemoveDotSegments(path.empty() ? std::string_view("/") : path);
}

}  // namespace

bool HasScheme(std::string_view url) {
    const std::size_t colon = url.find(':');
    if (colon == std::string_view::npos || colon == 0 || !IsAsciiAlpha(url[0])) {
        return false;
    }
    return url.find_first_of("/?#") > colon;
}

CanonicalTarget ClassifyCanonical(std::string_view href, const PageAddress& address) {
    const std::string own = OwnPath(address);
    const bool rootPage = IsRootIndexPage(address);
    const auto judgePath = [&](std::string_view path) {
        if (NamesSamePage(path, own)) {
            return CanonicalTarget::ThisPage;
        }
        return IsRootPath(path) && !rootPage ? CanonicalTarget::SiteRoot
                                             : CanonicalTarget::OtherPage;
    };
    if (href.empty()) {
        return CanonicalTarget::ThisPage;
    }
    if (HasScheme(href) || href.starts_with("//")) {
        std::string host;
        const std::string path = PercentDecoded(PathOfAbsolute(href, host));
        if (!address.baseUrl) {
            return path == "/" && !rootPage ? CanonicalTarget::SiteRoot : CanonicalTarget::ThisPage;
        }
        std::string baseHost;
        const std::string basePath = PathOfAbsolute(*address.baseUrl, baseHost);
        const std::string folder = basePath.ends_with('/') ? basePath : basePath + "/";
        if (host != baseHost || !(path + "/").starts_with(folder)) {
            return CanonicalTarget::OtherPage;
        }
        return judgePath(RemoveDotSegments(
            std::string("/").append(path.substr(std::min(folder.size(), path.size())))));
    }
    const std::string_view reference = WithoutQuery(href);
    if (reference.empty()) {
        return CanonicalTarget::ThisPage;
    }
    if (reference.starts_with('/')) {
        const std::string path = RemoveDotSegments(PercentDecoded(reference));
        // Without the site's root, a root-relative path is compared with the file path's end.
        if (!address.sitePath && !IsRootPath(path)) {
            const std::size_t slash = own.rfind(path.substr(0, path.find('/', 1)));
            return slash != std::string::npos && NamesSamePage(path, own.substr(slash))
                       ? CanonicalTarget::ThisPage
                       : CanonicalTarget::OtherPage;
        }
        return judgePath(path);
    }
    const std::string folder = own.substr(0, own.rfind('/') + 1);
    return judgePath(RemoveDotSegments(PercentDecoded(folder + std::string(reference))));
}

}  // namespace velmora::page_checks
