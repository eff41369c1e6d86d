// SPDX-License-Identifier: Apache-2.0
#pragma once

// The page's own HTML elements that are open, as far as an end tag inside SVG or MathML needs
// them: such a tag falls to the HTML rules, which close the SVG or MathML content along with an
// open element of that name and ignore it otherwise. The implied ends of <p>, of list items,
// options and headings are followed; the tree builder's other repairs are not.

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

private:
    // Tags are PackTagName of their names, or of the first eight bytes of longer ones.
    void End(std::uint64_t tag);
    bool Has(std::uint64_t tag) const;
    // Closes the current element; returns its tag.
    std::uint64_t Pop();

    std::vector<std::uint64_t> open_;
    // How many open elements bear each name, so end tags of no open element cost nothing.
    std::unordered_map<std::uint64_t, std::size_t> counts_;
};

}  // namespace velmora::page_checks
