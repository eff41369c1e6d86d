#include "page_checks/foreign_content.h"

#include <algorithm>
#include <array>

#include "page_checks/html_chars.h"
#include "page_checks/html_tokenizer.h"

namespace velmora::page_checks {
namespace {

// HTML start tags that end SVG and MathML content wherever they stand.
constexpr std::array<std::string_view, 44> kBreakouts = {
    "b",      "big",  "blockquote", "body",  "br",   "center", "code",    "dd",   "div",
    "dl",     "dt",   "em",         "embed", "h1",   "h2",     "h3",      "h4",   "h5",
    "h6",     "head", "hr",         "i",     "img",  "li",     "listing", "menu", "meta",
    "nobr",   "ol",   "p",          "pre",   "ruby", "s",      "small",   "span", "strong",
    "strike", "sub",  "sup",        "table", "tt",   "u",      "ul",      "var"};

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

bool IsBreakout(std::string_view name, std::span<const Attribute> attributes) {
    if (name == "font") {
        return std::any_of(attributes.begin(), attributes.end(), [](const Attribute& a) {
            return a.name == "color" || a.name == "face" || a.name == "size";
        });
    }
    return std::find(kBreakouts.begin(), kBreakouts.end(), name) != kBreakouts.end();
}

}  // namespace

bool ForeignContent::Start(std::string_view name, std::span<const Attribute> attributes,
                           bool selfClosing) {
    // Where the current element is an HTML element inside an integration point, HTML rules
    // read every tag.
    if (!open_.empty() && open_.back().html.Empty() && !ReadsAsHtml(name)) {
        if (!IsBreakout(name, attributes)) {
            if (!selfClosing) {
                const Space space = open_.back().space;
                Role role = Role::Plain;
                if (space == Space::Svg &&
                    (name == "foreignobject" || name == "desc" || name == "title")) {
                    role = Role::HtmlIntegration;
                } else if (space == Space::MathMl &&
                           (name == "mi" || name == "mo" || name == "mn" || name == "ms" ||
                            name == "mtext")) {
                    role = Role::TextIntegration;
                } else if (space == Space::MathMl && name == "annotation-xml") {
                    const auto encoding =
                        std::find_if(attributes.begin(), attributes.end(),
                                     [](const Attribute& a) { return a.name == "encoding"; });
                    const bool html =
                        encoding != attributes.end() &&
                        (EqualsIgnoringAsciiCase(encoding->value, "text/html") ||
                         EqualsIgnoringAsciiCase(encoding->value, "application/xhtml+xml"));
                    role = html ? Role::HtmlIntegration : Role::AnnotationXml;
                }
                Push(name, space, role);
            }
            return false;
        }
        PopUntilIntegrationPoint();
    }
    // HTML rules: only <svg> and <math> open foreign content.
    if (name == "svg" || name == "math") {
        ReopenFormatting();
        if (!selfClosing) {
            Push(name, name == "svg" ? Space::Svg : Space::MathMl, Role::Plain);
        }
    } else {
        StartHtml(name);
    }
    return true;
}

void ForeignContent::StartHtml(std::string_view name) {
    if (open_.empty()) {
        html_.Start(name);
        return;
    }
    OpenHtmlElements& html = open_.back().html;
    const bool first = html.Empty();
    html.Start(name);
    if (first && !html.Empty()) {
        // The integration point now holds HTML: SVG and MathML opened in it start a new run.
        runs_.push_back(Run{open_.size(), {}, 0});
    }
}

void ForeignContent::Text() {
    ReopenFormatting();
}

void ForeignContent::ReopenFormatting() {
    if (open_.empty()) {
        html_.ReopenFormatting();
        return;
    }
    Element& current = open_.back();
    if (current.html.Empty() && current.role != Role::HtmlIntegration &&
        current.role != Role::TextIntegration) {
        return;  // text of SVG or MathML
    }
    const bool first = current.html.Empty();
    current.html.ReopenFormatting();
    if (first && !current.html.Empty()) {
        runs_.push_back(Run{open_.size(), {}, 0});
    }
}

void ForeignContent::End(std::string_view name) {
    if (open_.empty()) {
        html_.End(name);
        return;
    }
    OpenHtmlElements& current = open_.back().html;
    if (!current.Empty()) {
        // The current element is HTML inside an integration point: HTML rules read the tag, and
        // the integration point, being special, stops it from closing anything further out.
        current.End(name);
        if (current.Empty()) {
            runs_.pop_back();
        }
        return;
    }
    Run& run = runs_.back();
    const auto count = run.names.find(std::string(name));
    if (count != run.names.end() && count->second > 0) {
        PopTo(name);
        return;
    }
    // No SVG or MathML element of that name is open in the run, so HTML rules read the tag: it
    // closes the open HTML element of its name with everything inside, unless an integration
    // point lies between them.
    OpenHtmlElements& below = HtmlBelowRun();
    if (run.boundaries == 0 && below.Has(name)) {
        while (open_.size() > run.begin) {
            Pop();
        }
        below.End(name);
        if (runs_.size() > 1 && below.Empty()) {
            runs_.pop_back();
        }
    }
}

OpenHtmlElements& ForeignContent::HtmlBelowRun() {
    const std::size_t begin = runs_.back().begin;
    return begin == 0 ? html_ : open_[begin - 1].html;
}

const OpenHtmlElements* ForeignContent::HtmlInForce() const {
    if (open_.empty()) {
        return &html_;
    }
    return open_.back().html.Empty() ? nullptr : &open_.back().html;
}

bool ForeignContent::TableOpen() const {
    return html_.Has("table") || std::any_of(open_.begin(), open_.end(),
                                             [](const Element& e) { return e.html.Has("table"); });
}

bool ForeignContent::ReadsAsHtml(std::string_view name) const {
    const Element& current = open_.back();
    switch (current.role) {
        case Role::HtmlIntegration:
            return true;
        case Role::TextIntegration:
            return name != "mglyph" && name != "malignmark";
        case Role::AnnotationXml:
            return name == "svg";
        case Role::Plain:
            break;
    }
    return false;
}

void ForeignContent::Push(std::string_view name, Space space, Role role) {
    open_.push_back(Element{std::string(name), space, role, {}});
    Run& run = runs_.back();
    ++run.names[open_.back().name];
    if (role != Role::Plain) {
        ++run.boundaries;
    }
}

// Only elements of the current run are popped: the run ends at an integration point that holds
// HTML, which neither a breakout tag nor an end tag reaches.
void ForeignContent::Pop() {
    Run& run = runs_.back();
    if (open_.back().role != Role::Plain) {
        --run.boundaries;
    }
    --run.names[open_.back().name];
    open_.pop_back();
}

void ForeignContent::PopUntilIntegrationPoint() {
    while (!open_.empty() && open_.back().role != Role::HtmlIntegration &&
           open_.back().role != Role::TextIntegration) {
        Pop();
    }
}

void ForeignContent::PopTo(std::string_view name) {
    while (!open_.empty()) {
        const bool found = open_.back().name == name;
        Pop();
        if (found) {
            return;
        }
    }
}

}  // namespace velmora::page_checks
