#pragma once

// What the page checks read from a page, decoded to UTF-8: one pass of the tokenizer fills it.
// SVG and MathML content and the inert content of <template> are left out. Each element keeps
// `at`, the byte offset of its start tag's "<" in the page read, so a report can point at it.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace velmora::page_checks {

// A <title> element or a JSON-LD script: its text and where it starts.
struct ElementText {
    std::string text;
    std::size_t at = 0;
};

struct MetaTag {
    // name, property and http-equiv lower-cased (ASCII) and trimmed.
    std::string name;
    std::string property;
    std::string httpEquiv;
    std::optional<std::string> content;
    std::optional<std::string> charset;
    std::size_t at = 0;
    // Before <body> and before the first start tag that only a body holds: search engines
    // ignore robots, canonical and the like in the body.
    bool inHead = false;
};

struct LinkTag {
    std::vector<std::string> rel;  // its tokens, lower-cased
    std::optional<std::string> href;
    std::optional<std::string> hreflang;
    std::size_t at = 0;
    bool inHead = false;

    bool HasRel(std::string_view token) const;
};

struct Heading {
    int level = 1;
    std::string text;  // white space collapsed; an image's alt inside counts
    std::size_t at = 0;
};

struct Image {
    bool hasAlt = false;
    bool decorative = false;  // alt="" (white space only counts as empty)
    std::string src;
    std::size_t at = 0;
};

struct Anchor {
    std::optional<std::string> href;
    // What a reader sees: the text, else the alt of images inside; collapsed.
    std::string name;
    std::optional<std::string> ariaLabel;
    std::vector<std::string> rel;  // its tokens, lower-cased
    bool hasOnclick = false;
    std::size_t at = 0;
};

// An <a href> or <area href>, where a crawler follows the page to another.
struct Hyperlink {
    std::string href;
    std::size_t at = 0;
};

struct PageFacts {
    std::vector<ElementText> titles;  // each <title> element's text, collapsed
    std::vector<MetaTag> metas;
    std::vector<LinkTag> links;
    std::optional<std::string> htmlLang;
    // The <html> tag that gave the language, else the first one.
    std::optional<std::size_t> htmlAt;
    std::vector<Heading> headings;  // h1 to h6 in page order
    std::vector<Image> images;
    std::vector<Anchor> anchors;        // <a> with an href or an onclick
    std::vector<Hyperlink> hyperlinks;  // <a href> and <area href>, in page order
    // Every id value and every <a name> value, each once, in page order: what a #fragment of a
    // link may name.
    std::vector<std::string> ids;
    std::vector<ElementText> jsonLd;  // content of each application/ld+json script
    // The page's text, not collapsed; a blank stands where a tag other than an inline one
    // parts words.
    std::string text;
};

// Reads a page whose text is UTF-8.
PageFacts ReadPageFacts(std::string_view utf8Page);

}  // namespace velmora::page_checks
