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
    if (!open_.empty() && !ReadsAsHtml(name)) {
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
        if (!selfClosing) {
            Push(name, name == "svg" ? Space::Svg : Space::MathMl, Role::Plain);
        }
    } else if (open_.empty()) {
        html_.Start(name);
    }
    return true;
}

void ForeignContent::End(std::string_view name) {
    if (open_.empty()) {
        html_.End(name);
        return;
    }
    const auto count = openNames_.find(std::string(name));
    if (count != openNames_.end() && count->second > 0) {
        PopTo(name);
        return;
    }
    // No SVG or MathML element of that name is open, so HTML rules read the tag: it closes the
    // open HTML element of its name with everything inside, unless an integration point lies
    // between them.
    if (boundaries_ == 0 && html_.Has(name)) {
        while (!open_.empty()) {
            Pop();
        }
        html_.End(name);
    }
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
    open_.push_back(Element{std::string(name), space, role});
    ++openNames_[open_.back().name];
    if (role != Role::Plain) {
        ++boundaries_;
    }
}

void ForeignContent::Pop() {
    if (open_.back().role != Role::Plain) {
        --boundaries_;
    }
    --openNames_[open_.back().name];
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
