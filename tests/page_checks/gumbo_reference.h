#pragma once

// Holds the page-check tokenizer against gumbo, a complete HTML5 parser: every element gumbo
// builds from a tag of the page must be a start tag of the tokenizer at the same byte, with the
// same name (and attributes), and every text gumbo reads must be the tokenizer's text there.
//
// gumbo lets a tag's written text start at a discarded "</>" before it; the comparison starts
// after it. One difference is by design: the checks read <noscript> as raw text, as browsers with
// scripts on do, while gumbo parses with scripts off; what gumbo finds inside <noscript> is not
// compared. And gumbo takes all the names it does not know for one: "</g>" closes an open "<c>".
// Browsers do not, and the tokenizer follows them; since which HTML elements are open decides
// where SVG and MathML content ends, a page with SVG or MathML and an end tag of a name gumbo
// does not know, other than that of the one such element it opens, is not compared (the common
// SVG and MathML container names aside).

#include <string>
#include <string_view>
#include <vector>

namespace velmora::page_checks::testing {

struct GumboComparison {
    bool attributes = true;
    bool text = true;
};

// The disagreements, each one line naming the byte offset; empty when both agree. The page
// must be UTF-8, as gumbo reads it.
std::vector<std::string> CompareWithGumbo(std::string_view page, GumboComparison what = {});

}  // namespace velmora::page_checks::testing
