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
    // CDATA sections are read only where the current element is SVG or MathML, not an HTML
    // element inside an integration point.
    bool AllowsCdata() const { return !open_.empty() && open_.back().html.Empty(); }
    // The HTML elements open where HTML rules read the next tag: the page's, or those inside the
    // current integration point; none where the current element is SVG or MathML.
    const OpenHtmlElements* HtmlInForce() const;
    // A <table> is open in the page's HTML or in an integration point: the tree builder's mode
    // stays that of the table's cell across SVG and MathML, so a <select> opened anywhere
    // inside it is one in a table.
    bool TableOpen() const;

    // A start tag (lower-case name), of the page's HTML or inside SVG or MathML. Returns true
    // when HTML rules read it, so a raw-text element switches the tokenizer; false for an SVG or
    // MathML element.
    bool Start(std::string_view name, std::span<const Attribute> attributes, bool selfClosing);
    void End(std::string_view name);
    // Text of the page read as HTML, not raw text.
    void Text();

private:
    enum class Space : unsigned char { Svg, MathMl };
    enum class Role : unsigned char { Plain, HtmlIntegration, TextIntegration, AnnotationXml };
    struct Element {
        std::string name;
        Space space;
        Role role;
        // The HTML elements open inside an integration point.
        OpenHtmlElements html;
    };
    // The SVG and MathML elements above the page's HTML or above an HTML element open inside an
    // integration point: an end tag closes one of them, or else falls to that HTML.
    struct Run {
        std::size_t begin = 0;  // index of its first element in open_
        // How many of its elements bear each name, so end tags of none cost nothing.
        std::unordered_map<std::string, std::size_t> names;
        // Its integration points and annotation-xml, where an HTML end tag's search stops.
        std::size_t boundaries = 0;
    };

    bool ReadsAsHtml(std::string_view name) const;
    // An HTML start tag read where the current element is the page's HTML or an integration
    // point.
    void StartHtml(std::string_view name);
    // Formatting elements reopened where HTML rules read text.
    void ReopenFormatting();
    void Push(std::string_view name, Space space, Role role);
    void PopUntilIntegrationPoint();
    void PopTo(std::string_view name);
    void Pop();
    // The HTML below the current run: the page's, or that of the integration point under it.
    OpenHtmlElements& HtmlBelowRun();

    std::vector<Element> open_;
    std::vector<Run> runs_{Run{}};
    // The page's HTML around the SVG and MathML content.
    OpenHtmlElements html_;
};

}  // namespace velmora::page_checks
