#include "core/html_functions_write.h"

#include <utility>

#include "core/head_lines.h"
#include "core/html_functions_read_detail.h"
#include "core/html_functions_write_detail.h"
#include "core/kel_string_functions.h"
#include "core/text_rules.h"

namespace velmora {
namespace {

constexpr std::string_view kTitleStart = "<title>";
constexpr std::string_view kTitleEnd = "</title>";

// `text` with `count` bytes from the 0-based `at` replaced by `insert`.
std::string Splice(std::string_view text, std::size_t at, std::size_t count,
                   std::string_view insert) {
    std::string out;
    out.reserve(text.size() - count + insert.size());
    out.append(text.substr(0, at)).append(insert).append(text.substr(at + count));
    return out;
}

std::string NewMetaTag(std::string_view name, std::string_view encodedValue) {
    std::string tag = "<meta name=\"";
    tag.append(name).append("\" content=\"").append(encodedValue).append("\">");
    return tag;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// True when the "&" at `amp` begins a reference that the reader leaves as it is, so that encoding
// it would break it: &name; (other than the five the reader decodes), &#digits; or &#xhex;.
bool BeginsKeptReference(std::string_view text, std::size_t amp) {
    std::size_t i = amp + 1;
    if (i < text.size() && text[i] == '#') {
        ++i;
        const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
        if (hex) {
            ++i;
        }
        const std::size_t digits = i;
        while (i < text.size() && (hex ? IsHexDigit(text[i]) : IsDigit(text[i]))) {
            ++i;
        }
        return i > digits && i < text.size() && text[i] == ';';
    }
    if (i >= text.size() || !IsLetter(text[i])) {
        return false;
    }
    const std::size_t nameBegin = i;
    while (i < text.size() && (IsLetter(text[i]) || IsDigit(text[i]))) {
        ++i;
    }
    if (i >= text.size() || text[i] != ';') {
        return false;
    }
    const std::string_view name = text.substr(nameBegin, i - nameBegin);
    return name != "lt" && name != "gt" && name != "amp" && name != "nbsp" && name != "quot";
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLowerByte(text[i]) != prefix[i]) {
            return false;
        }
    }
    return true;
}

// The end of the tag that starts at `at`, past its ">", skipping quoted attribute values; npos
// when it never ends.
std::size_t TagEnd(std::string_view text, std::size_t at) {
    char quote = 0;
    for (std::size_t i = at + 1; i < text.size(); ++i) {
        if (quote != 0) {
            quote = text[i] == quote ? 0 : quote;
        } else if (text[i] == '"' || text[i] == '\'') {
            quote = text[i];
        } else if (text[i] == '>') {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

// Where `<name` begins a start tag (the name followed by a blank, "/" or ">") at `at`, the end of
// that tag; else npos.
std::size_t StartTagEnd(std::string_view text, std::size_t at, std::string_view name) {
    const std::string_view rest = text.substr(at);
    if (!StartsWithIgnoringAsciiCase(rest, name) || rest.size() == name.size()) {
        return std::string_view::npos;
    }
    const char after = rest[name.size()];
    if (!IsBlank(after) && after != '/' && after != '>') {
        return std::string_view::npos;
    }
    return TagEnd(text, at);
}

std::size_t SkipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    return at;
}

}  // namespace

// A tag before the doctype switches browsers to quirks mode, and output before a leading PHP
// block breaks the headers that block sends.
std::size_t AfterLeadingPrologue(std::string_view text) {
    std::size_t at = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    for (;;) {
        const std::size_t next = SkipBlanks(text, at);
        if (!text.substr(next).starts_with("<?")) {
            break;
        }
        const std::size_t close = text.find("?>", next + 2);
        if (close == std::string_view::npos) {
            return next;
        }
        at = close + 2;
    }
    for (const std::string_view tag : {"<!doctype", "<html"}) {
        if (const std::size_t end = StartTagEnd(text, SkipBlanks(text, at), tag);
            end != std::string_view::npos) {
            at = end;
        }
    }
    return at;
}

namespace {

bool HoldsTitleTag(std::string_view text) {
    return PositionIgnoringAsciiCase(kTitleStart, text) != 0 ||
           PositionIgnoringAsciiCase(kTitleEnd, text) != 0;
}

// Where a new title element can go so that the reader finds it: after the head start tag, unless
// a title tag stands before that point; then in front of the whole text, after its prologue when
// no title tag stands in that either.
std::size_t NewTitlePlace(std::string_view text) {
    const std::size_t head = detail::FindTextInsensitive(text, "<HEAD>");
    if (head != 0 && !HoldsTitleTag(text.substr(0, head + 5))) {
        return head + 5;
    }
    const std::size_t prologueEnd = AfterLeadingPrologue(text);
    return HoldsTitleTag(text.substr(0, prologueEnd)) ? 0 : prologueEnd;
}

}  // namespace

std::size_t detail::FindTextInsensitive(std::string_view text, std::string_view find) {
    return PositionIgnoringAsciiCase(find, text);
}

std::string detail::EncodeEntities(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        switch (text[i]) {
            case '&':
                out.append(BeginsKeptReference(text, i) ? "&" : "&amp;");
                break;
            case '<':
                out.append("&lt;");
                break;
            case '>':
                out.append("&gt;");
                break;
            case '"':
                out.append("&quot;");
                break;
            default:
                out.push_back(text[i]);
                break;
        }
    }
    return out;
}

std::string SetTitle(std::string_view text, std::string_view title) {
    const std::string encoded = detail::EncodeEntities(title);
    std::size_t start = PositionIgnoringAsciiCase(kTitleStart, text);
    if (start != 0) {
        start += kTitleStart.size();
        const std::size_t end = PositionIgnoringAsciiCase(kTitleEnd, text);
        if (start < end) {
            return Splice(text, start - 1, end - start, encoded);
        }
    }
    std::string element(kTitleStart);
    element.append(encoded).append(kTitleEnd);
    return Splice(text, NewTitlePlace(text), 0, element);
}

std::string detail::SetMetaContent(std::string_view text, std::string_view name,
                                   std::string_view value) {
    const detail::MetaTagParts parts = detail::FindMetaTagParts(text, name);
    const std::string encoded = detail::EncodeEntities(value);
    if (!parts.tag.found) {
        return InsertIntoHead(text, NewMetaTag(name, encoded));
    }
    if (parts.closed && parts.content.found) {
        return Splice(text, parts.content.ValueStart - 1, parts.content.ValueLength, encoded);
    }
    // A tag without a readable content value, or without its ">", is rewritten whole where it
    // stands, under its own name, so that no other attribute is overwritten and the reader finds
    // the new value there.
    const std::size_t tagLength = parts.tag.TagEnd - parts.tag.TagStart + 1;
    const std::string_view ownName = text.substr(parts.NameStart - 1, parts.NameLength);
    return Splice(text, parts.tag.TagStart - 1, tagLength, NewMetaTag(ownName, encoded));
}

std::string detail::RemoveMetaTag(std::string_view text, std::string_view name) {
    const MetaTagPosition tag = FindMetaTag(text, name);
    if (!tag.found) {
        return std::string(text);
    }
    return Splice(text, tag.TagStart - 1, tag.TagEnd - tag.TagStart + 1, {});
}

HeadInsertion FindHeadInsertion(std::string_view text, std::string_view tag) {
    const std::size_t headEnd = detail::FindTextInsensitive(text, "</HEAD>");
    if (headEnd == 0) {
        return {AfterLeadingPrologue(text), std::string(tag)};
    }
    // On a head written a tag a line, the tag takes a line of its own, indented as the line
    // above the end tag.
    const TagPlacement place = PlaceBeforeHeadEnd(text, headEnd - 1);
    if (!place.after.empty()) {
        return {place.at, place.before + std::string(tag) + place.after};
    }
    std::string insert(tag);
    insert.append("\r\n");
    return {headEnd - 1, std::move(insert)};
}

std::string InsertIntoHead(std::string_view text, std::string_view tag) {
    const HeadInsertion insertion = FindHeadInsertion(text, tag);
    return Splice(text, insertion.at, 0, insertion.text);
}

std::string SetKeywords(std::string_view text, const std::vector<std::string>& keywords) {
    std::string joined;
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        if (i > 0) {
            joined.push_back(',');
        }
        joined.append(keywords[i]);
    }
    return detail::SetMetaContent(text, "KEYWORDS", joined);
}

std::string SetDescription(std::string_view text, std::string_view description) {
    return detail::SetMetaContent(text, "DESCRIPTION", description);
}

}  // namespace velmora
