// SPDX-License-Identifier: Apache-2.0
#include "page_checks/open_html_elements.h"

#include "page_checks/tag_name.h"

namespace velmora::page_checks {
namespace {

// Elements that never hold others, and the page's frame, which no end tag in a page's body
// closes: none of them is kept.
bool IsKept(std::uint64_t tag) {
    switch (tag) {
        case 0:  // names of more than eight bytes, which are not told apart
        case PackTagName("area"):
        case PackTagName("base"):
        case PackTagName("basefont"):
        case PackTagName("bgsound"):
        case PackTagName("br"):
        case PackTagName("col"):
        case PackTagName("embed"):
        case PackTagName("hr"):
        case PackTagName("image"):
        case PackTagName("img"):
        case PackTagName("input"):
        case PackTagName("keygen"):
        case PackTagName("link"):
        case PackTagName("meta"):
        case PackTagName("param"):
        case PackTagName("source"):
        case PackTagName("track"):
        case PackTagName("wbr"):
        case PackTagName("html"):
        case PackTagName("head"):
        case PackTagName("body"):
            return false;
        default:
            return true;
    }
}

// Start tags that end an open paragraph.
bool ClosesParagraph(std::string_view name, std::uint64_t tag) {
    switch (tag) {
        case 0:
            return name == "blockquote" || name == "figcaption";
        case PackTagName("address"):
        case PackTagName("article"):
        case PackTagName("aside"):
        case PackTagName("center"):
        case PackTagName("details"):
        case PackTagName("dialog"):
        case PackTagName("dir"):
        case PackTagName("div"):
        case PackTagName("dl"):
        case PackTagName("fieldset"):
        case PackTagName("figure"):
        case PackTagName("footer"):
        case PackTagName("form"):
        case PackTagName("h1"):
        case PackTagName("h2"):
        case PackTagName("h3"):
        case PackTagName("h4"):
        case PackTagName("h5"):
        case PackTagName("h6"):
        case PackTagName("header"):
        case PackTagName("hgroup"):
        case PackTagName("hr"):
        case PackTagName("listing"):
        case PackTagName("main"):
        case PackTagName("menu"):
        case PackTagName("nav"):
        case PackTagName("ol"):
        case PackTagName("p"):
        case PackTagName("pre"):
        case PackTagName("search"):
        case PackTagName("section"):
        case PackTagName("summary"):
        case PackTagName("table"):
        case PackTagName("ul"):
        case PackTagName("xmp"):
            return true;
        default:
            return false;
    }
}

}  // namespace

void OpenHtmlElements::Start(std::string_view name) {
    const std::uint64_t tag = PackTagName(name);
    if (ClosesParagraph(name, tag)) {
        End(PackTagName("p"));
    }
    if (IsKept(tag)) {
        open_.push_back(tag);
        ++counts_[tag];
    }
}

void OpenHtmlElements::End(std::string_view name) {
    End(PackTagName(name));
}

bool OpenHtmlElements::Has(std::string_view name) const {
    return Has(PackTagName(name));
}

void OpenHtmlElements::End(std::uint64_t tag) {
    if (tag == 0 || !Has(tag)) {
        return;
    }
    while (true) {
        const std::uint64_t closed = open_.back();
        open_.pop_back();
        --counts_[closed];
        if (closed == tag) {
            return;
        }
    }
}

bool OpenHtmlElements::Has(std::uint64_t tag) const {
    const auto count = counts_.find(tag);
    return count != counts_.end() && count->second > 0;
}

}  // namespace velmora::page_checks
