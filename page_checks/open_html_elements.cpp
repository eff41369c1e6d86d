// SPDX-License-Identifier: Apache-2.0
#include "page_checks/open_html_elements.h"

#include "page_checks/tag_name.h"

namespace velmora::page_checks {
namespace {

// The packed name; names of more than eight bytes are known by their first eight bytes and
// their length, which tells apart every name that matters here.
std::uint64_t Key(std::string_view name) {
    if (name.size() <= 8) {
        return PackTagName(name);
    }
    return PackTagName(name.substr(0, 8)) ^ (std::uint64_t{name.size()} << 56);
}

// Elements that never hold others, and the page's frame, which no end tag in a page's body
// closes: none of them is kept.
bool IsKept(std::uint64_t tag) {
    switch (tag) {
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
    if (name.size() > 8) {
        return name == "blockquote" || name == "figcaption" || name == "plaintext";
    }
    switch (tag) {
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
        case PackTagName("dd"):
        case PackTagName("dt"):
        case PackTagName("li"):
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

bool IsHeading(std::uint64_t tag) {
    return tag >= PackTagName("h1") && tag <= PackTagName("h6");
}

// Elements that a start tag of the same group ends when one of them is the current element.
int SiblingGroup(std::uint64_t tag) {
    switch (tag) {
        case PackTagName("li"):
            return 1;
        case PackTagName("dd"):
        case PackTagName("dt"):
            return 2;
        case PackTagName("option"):
            return 3;
        default:
            return IsHeading(tag) ? 4 : 0;
    }
}

}  // namespace

void OpenHtmlElements::Start(std::string_view name) {
    const std::uint64_t tag = Key(name);
    if (Has(PackTagName("select"))) {
        // Inside a <select> only options count; a new <select> or a form field ends it.
        switch (tag) {
            case PackTagName("option"):
            case PackTagName("optgroup"):
                break;
            case PackTagName("select"):
                End(tag);
                return;
            case PackTagName("input"):
            case PackTagName("keygen"):
            case PackTagName("textarea"):
                End(PackTagName("select"));
                break;
            default:
                return;
        }
    }
    if (ClosesParagraph(name, tag)) {
        End(PackTagName("p"));
    }
    // Only the usual case of these implied ends is followed: the previous item is the current
    // element, as in <li>a<li>b. Looking further down would cost a walk per tag.
    if (const int group = SiblingGroup(tag);
        group != 0 && !open_.empty() && SiblingGroup(open_.back()) == group) {
        Pop();
    }
    if (IsKept(tag)) {
        open_.push_back(tag);
        ++counts_[tag];
    }
}

void OpenHtmlElements::End(std::string_view name) {
    const std::uint64_t tag = Key(name);
    if (Has(PackTagName("select")) && tag != PackTagName("select") &&
        tag != PackTagName("option") && tag != PackTagName("optgroup")) {
        return;  // ignored inside a <select>
    }
    End(tag);
}

bool OpenHtmlElements::Has(std::string_view name) const {
    return Has(Key(name));
}

void OpenHtmlElements::End(std::uint64_t tag) {
    if (IsHeading(tag)) {
        // Any heading's end tag ends the open heading, whatever its level.
        bool open = false;
        for (std::uint64_t heading = PackTagName("h1"); heading <= PackTagName("h6"); ++heading) {
            open = open || Has(heading);
        }
        while (open) {
            open = !IsHeading(Pop());
        }
        return;
    }
    if (!Has(tag)) {
        return;
    }
    while (Pop() != tag) {
    }
}

std::uint64_t OpenHtmlElements::Pop() {
    const std::uint64_t closed = open_.back();
    open_.pop_back();
    --counts_[closed];
    return closed;
}

bool OpenHtmlElements::Has(std::uint64_t tag) const {
    const auto count = counts_.find(tag);
    return count != counts_.end() && count->second > 0;
}

}  // namespace velmora::page_checks
