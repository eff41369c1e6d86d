// SPDX-License-Identifier: Apache-2.0
#include "page_checks/open_html_elements.h"

#include <algorithm>

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

bool IsFormatting(std::uint64_t tag) {
    switch (tag) {
        case PackTagName("a"):
        case PackTagName("b"):
        case PackTagName("big"):
        case PackTagName("code"):
        case PackTagName("em"):
        case PackTagName("font"):
        case PackTagName("i"):
        case PackTagName("nobr"):
        case PackTagName("s"):
        case PackTagName("small"):
        case PackTagName("strike"):
        case PackTagName("strong"):
        case PackTagName("tt"):
        case PackTagName("u"):
            return true;
        default:
            return false;
    }
}

// Elements that set a marker in the remembered formatting elements while they are open.
bool IsMarker(std::uint64_t tag) {
    switch (tag) {
        case PackTagName("applet"):
        case PackTagName("caption"):
        case PackTagName("marquee"):
        case PackTagName("object"):
        case PackTagName("template"):
        case PackTagName("td"):
        case PackTagName("th"):
            return true;
        default:
            return false;
    }
}

// Start tags before which the formatting elements are not reopened: those of the page's head,
// of block elements, lists, tables and raw text.
bool KeepsFormattingClosed(std::string_view name, std::uint64_t tag) {
    if (ClosesParagraph(name, tag) && tag != PackTagName("xmp")) {
        return true;
    }
    switch (tag) {
        case PackTagName("base"):
        case PackTagName("basefont"):
        case PackTagName("bgsound"):
        case PackTagName("body"):
        case PackTagName("caption"):
        case PackTagName("col"):
        case PackTagName("colgroup"):
        case PackTagName("frame"):
        case PackTagName("frameset"):
        case PackTagName("head"):
        case PackTagName("html"):
        case PackTagName("iframe"):
        case PackTagName("link"):
        case PackTagName("meta"):
        case PackTagName("noembed"):
        case PackTagName("noframes"):
        case PackTagName("noscript"):
        case PackTagName("param"):
        case PackTagName("rb"):
        case PackTagName("rp"):
        case PackTagName("rt"):
        case PackTagName("rtc"):
        case PackTagName("script"):
        case PackTagName("source"):
        case PackTagName("style"):
        case PackTagName("tbody"):
        case PackTagName("td"):
        case PackTagName("template"):
        case PackTagName("textarea"):
        case PackTagName("tfoot"):
        case PackTagName("th"):
        case PackTagName("thead"):
        case PackTagName("title"):
        case PackTagName("tr"):
        case PackTagName("track"):
            return true;
        default:
            return false;
    }
}

// The tree builder remembers at most this many formatting elements of one name.
constexpr std::size_t kSameFormattingLimit = 3;

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
    // An <a> inside an open <a>, or a <nobr> inside a <nobr>, ends the first.
    if (tag == PackTagName("a") || tag == PackTagName("nobr")) {
        EndFormatting(tag);
    }
    if (!KeepsFormattingClosed(name, tag)) {
        ReopenFormatting();
    }
    if (IsKept(tag)) {
        open_.push_back(tag);
        ++counts_[tag];
        if (IsFormatting(tag)) {
            Remember(tag);
        } else if (IsMarker(tag)) {
            formatting_.push_back(Formatting{0, true});
        }
    }
}

void OpenHtmlElements::ReopenFormatting() {
    // A <select> holds its text as it is.
    if (formatting_.empty() || formatting_.back().tag == 0 || formatting_.back().open ||
        Has(PackTagName("select"))) {
        return;
    }
    std::size_t first = formatting_.size();
    while (first > 0 && formatting_[first - 1].tag != 0 && !formatting_[first - 1].open) {
        --first;
    }
    for (; first < formatting_.size(); ++first) {
        open_.push_back(formatting_[first].tag);
        ++counts_[formatting_[first].tag];
        formatting_[first].open = true;
    }
}

std::size_t OpenHtmlElements::AfterLastMarker() const {
    std::size_t first = formatting_.size();
    while (first > 0 && formatting_[first - 1].tag != 0) {
        --first;
    }
    return first;
}

void OpenHtmlElements::Remember(std::uint64_t tag) {
    const auto begin = formatting_.begin() + static_cast<std::ptrdiff_t>(AfterLastMarker());
    if (static_cast<std::size_t>(std::count_if(begin, formatting_.end(), [&](const Formatting& f) {
            return f.tag == tag;
        })) >= kSameFormattingLimit) {
        formatting_.erase(std::find_if(begin, formatting_.end(),
                                       [&](const Formatting& f) { return f.tag == tag; }));
    }
    formatting_.push_back(Formatting{tag, true});
}

bool OpenHtmlElements::EndFormatting(std::uint64_t tag) {
    std::size_t entry = formatting_.size();
    const std::size_t first = AfterLastMarker();
    while (entry > first && formatting_[entry - 1].tag != tag) {
        --entry;
    }
    if (entry == first) {
        return false;
    }
    --entry;
    if (formatting_[entry].open && Has(tag)) {
        while (Pop() != tag) {
        }
    }
    formatting_.erase(formatting_.begin() + static_cast<std::ptrdiff_t>(entry));
    return true;
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
    if (IsFormatting(tag) && EndFormatting(tag)) {
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
    if (IsFormatting(closed)) {
        // Its entry is the last open one of its name: elements nest.
        const std::size_t first = AfterLastMarker();
        for (std::size_t entry = formatting_.size(); entry > first; --entry) {
            if (formatting_[entry - 1].tag == closed && formatting_[entry - 1].open) {
                formatting_[entry - 1].open = false;
                break;
            }
        }
    } else if (IsMarker(closed)) {
        if (const std::size_t first = AfterLastMarker(); first > 0) {
            formatting_.resize(first - 1);
        }
    }
    return closed;
}

bool OpenHtmlElements::Has(std::uint64_t tag) const {
    const auto count = counts_.find(tag);
    return count != counts_.end() && count->second > 0;
}

}  // namespace velmora::page_checks
