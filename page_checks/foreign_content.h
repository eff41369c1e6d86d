#pragma once

// Follows <svg> and <math> subtrees as the HTML5 tree builder does, as far as the tokenizer and
// the checks need: whether a tag is read by HTML rules (so raw-text elements switch the
// tokenizer), whether CDATA sections are allowed, and whether a token lies inside SVG or MathML.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "page_checks/open_html_elements.h"

namespace velmora::page_checks {

struct Attribute;

class ForeignContent {
public:
    // Nothing open: the page's own HTML.
    bool Inside() const { return !open_.empty(); }
    // CDATA sections are read only where the current element is SVG or MathML.
    bool AllowsCdata() const { return !open_.empty(); }

    // A start tag (lower-case name), of the page's HTML or inside SVG or MathML. Returns true
    // when HTML rules read it, so a raw-text element switches the tokenizer; false for an SVG or
    // MathML element.
    bool Start(std::string_view name, std::span<const Attribute> attributes, bool selfClosing);
    void End(std::string_view name);

private:
    // HTML elements inside an integration point are not followed: only the foreign elements
    // decide how tags read.
    enum class Space : unsigned char { Svg, MathMl };
    enum class Role : unsigned char { Plain, HtmlIntegration, TextIntegration, AnnotationXml };
    struct Element {
        std::string name;
        Space space;
        Role role;
    };

    bool ReadsAsHtml(std::string_view name) const;
    void Push(std::string_view name, Space space, Role role);
    void PopUntilIntegrationPoint();
    void PopTo(std::string_view name);
    void Pop();

    std::vector<Element> open_;
    // The open elements that stop an HTML end tag's search for its element: the integration
    // points and annotation-xml.
    std::size_t boundaries_ = 0;
    // The page's HTML around the SVG and MathML content.
    OpenHtmlElements html_;
    // How many open elements bear each name, so end tags with no open element cost nothing.
    std::unordered_map<std::string, std::size_t> openNames_;
};

}  // namespace velmora::page_checks
