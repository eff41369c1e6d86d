// SPDX-License-Identifier: Apache-2.0
#pragma once

// The page's own HTML elements that are open, as far as an end tag inside SVG or MathML needs
// them: such a tag falls to the HTML rules, which close the SVG or MathML content along with an
// open element of that name and ignore it otherwise. The implied ends of <p>, of list items,
// options and headings are followed, and formatting elements are reopened; the tree builder's
// other repairs are not.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velmora::page_checks {

class OpenHtmlElements {
public:
    // A start tag (lower-case name) read by HTML rules outside SVG and MathML.
    void Start(std::string_view name);
    // Closes the open element of that name and the ones opened inside it; nothing when none is.
    void End(std::string_view name);
    bool Has(std::string_view name) const;
    bool Empty() const { return open_.empty(); }
    // Text, or <svg> or <math>, read by HTML rules: formatting elements that another element's
    // end closed are opened again first, as in <p><b>x<div>y, where y is bold.
    void ReopenFormatting();

private:
    // An entry of the formatting elements the tree builder remembers; tag 0 is a marker, set by
    // a table cell or an object, beyond which nothing is reopened.
    struct Formatting {
        std::uint64_t tag = 0;
        bool open = true;
    };

    // Tags are PackTagName of their names, or of the first eight bytes of longer ones.
    void End(std::uint64_t tag);
    bool Has(std::uint64_t tag) const;
    // Closes the current element; returns its tag.
    std::uint64_t Pop();
    // The end tag of a formatting element that was opened after the last marker: it closes that
    // element, leaving the others closed with it to be reopened. False when none was opened.
    bool EndFormatting(std::uint64_t tag);
    void Remember(std::uint64_t tag);
    // The first entry after the last marker.
    std::size_t AfterLastMarker() const;

    std::vector<std::uint64_t> open_;
    // How many open elements bear each name, so end tags of no open element cost nothing.
    std::unordered_map<std::uint64_t, std::size_t> counts_;
    std::vector<Formatting> formatting_;
};

}  // namespace velmora::page_checks
