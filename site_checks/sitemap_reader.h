#pragma once

// A sitemap or a sitemap index, read with an XML parser that refuses any document type
// declaration, and so any entity expansion, and that holds to the protocol's bounds.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::site_checks {

// The protocol's bounds on one sitemap file.
inline constexpr std::size_t kSitemapMaximumBytes = 50 * 1024 * 1024;
inline constexpr std::size_t kSitemapMaximumUrls = 50'000;

struct SitemapLocation {
    std::string url;  // the <loc> text, trimmed
    std::uint32_t line = 0;

    bool operator==(const SitemapLocation&) const = default;
};

struct SitemapDocument {
    bool isIndex = false;  // <sitemapindex>: the locations name sitemaps
    std::vector<SitemapLocation> locations;
    // Said to the user, the file still read: more than the protocol allows.
    std::vector<std::string> warnings;
};

// Thrown for a document that is not a sitemap: malformed XML, a DTD, another root element.
class SitemapError : public std::runtime_error {
public:
    SitemapError(const std::string& reason, std::uint32_t line)
        : std::runtime_error(reason + " (line " + std::to_string(line) + ")"), line_(line) {}
    std::uint32_t line() const { return line_; }

private:
    std::uint32_t line_;
};

// `bytes` are the file's first bytes, at most kSitemapMaximumBytes; `fileSize` its whole size.
// A larger file is read up to the bound and warned about: what stands before it counts.
SitemapDocument ReadSitemap(std::string_view bytes, std::uintmax_t fileSize);

}  // namespace velmora::site_checks
