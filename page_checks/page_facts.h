#pragma once

// What the page checks read from a page, decoded to UTF-8: one pass of the tokenizer fills it.
// SVG and MathML content and the inert content of <template> are left out.

#include <optional>
#include <string>
#include <vector>

namespace velmora::page_checks {

struct MetaTag {
    // name, property and http-equiv lower-cased (ASCII) and trimmed.
    std::string name;
    std::string property;
    std::string httpEquiv;
    std::optional<std::string> content;
    std::optional<std::string> charset;
};

struct LinkTag {
    std::vector<std::string> rel;  // its tokens, lower-cased
    std::optional<std::string> href;
    std::optional<std::string> hreflang;

    bool HasRel(std::string_view token) const;
};

struct Heading {
    int level = 1;
    std::string text;  // white space collapsed; an image's alt inside counts
};

struct Image {
    bool hasAlt = false;
    std::string src;
};

struct Anchor {
    std::string href;
    std::string name;  // aria-label, else the text, else the alt of images inside; collapsed
};

struct PageFacts {
    std::vector<std::string> titles;  // each <title> element's text, collapsed
    std::vector<MetaTag> metas;
    std::vector<LinkTag> links;
    std::optional<std::string> htmlLang;
    std::vector<Heading> headings;  // h1 to h6 in page order
    std::vector<Image> images;
    std::vector<Anchor> anchors;      // <a> with href only
    std::vector<std::string> jsonLd;  // content of each application/ld+json script
    // The page's text, not collapsed; a blank stands where a tag other than an inline one
    // parts words.
    std::string text;
};

// Reads a page whose text is UTF-8.
PageFacts ReadPageFacts(std::string_view utf8Page);

}  // namespace velmora::page_checks
