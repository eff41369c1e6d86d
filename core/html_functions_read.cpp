#include "core/html_functions_read.h"

#include <algorithm>

#include "core/html_functions_read_detail.h"
#include "core/kel_string_functions.h"

namespace velmora {
namespace {

constexpr std::string_view kMetaNameOneSpace = "<meta name=\"";
constexpr std::string_view kMetaNameTwoSpaces = "<meta  name=\"";
constexpr std::string_view kContent = "content";

// White space between attributes, as browsers read it.
bool IsTagSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

struct TagEndScan {
    std::size_t end = 0;  // 1-based
    bool closed = false;
};

TagEndScan ScanTagEnd(std::string_view text, std::size_t position, char terminator) {
    if (text.empty()) {
        return {};
    }
    std::size_t i = std::clamp<std::size_t>(position, 1, text.size()) - 1;
    bool quoted = false;
    char quote = 0;
    for (;;) {
        if (!quoted && text[i] == terminator) {
            return {i + 1, true};
        }
        if (i + 1 >= text.size()) {
            return {i + 1, false};
        }
        ++i;
        if (quoted) {
            quoted = text[i] != quote;
        } else if (text[i] == '"' || text[i] == '\'') {
            quoted = true;
            quote = text[i];
        }
    }
}

// A content attribute is either absent, double-quoted (the readable form) or written some other
// way: single-quoted, bare, without a value, or with no closing double quote inside the tag.
enum class ContentForm { Absent, DoubleQuoted, Malformed };

struct ContentScan {
    ContentForm form = ContentForm::Absent;
    std::size_t begin = 0;  // 0-based
    std::size_t length = 0;
};

std::size_t SkipTagSpace(std::string_view tag, std::size_t i) {
    while (i < tag.size() && IsTagSpace(tag[i])) {
        ++i;
    }
    return i;
}

// The index after the byte at `i`, or after the whole quoted part that a quote byte there opens.
// Quotes are paired exactly as the tag's end is found, so both agree on what is quoted.
std::size_t SkipByte(std::string_view tag, std::size_t i) {
    if (tag[i] != '"' && tag[i] != '\'') {
        return i + 1;
    }
    const std::size_t close = tag.find(tag[i], i + 1);
    return close == std::string_view::npos ? tag.size() : close + 1;
}

// An unquoted or single-quoted value runs to the next white space outside quotes.
std::size_t SkipBareValue(std::string_view tag, std::size_t i) {
    while (i < tag.size() && !IsTagSpace(tag[i])) {
        i = SkipByte(tag, i);
    }
    return i;
}

// Walks the attributes of `tag` (the text up to the tag's end) from byte `i` on, attribute by
// attribute, so that "content" is matched as a whole attribute name and never inside a value.
ContentScan ScanContentAttribute(std::string_view tag, std::size_t i) {
    for (;;) {
        while (i < tag.size() && (IsTagSpace(tag[i]) || tag[i] == '/')) {
            ++i;
        }
        if (i >= tag.size()) {
            return {};
        }
        const std::size_t nameBegin = i;
        while (i < tag.size() && !IsTagSpace(tag[i]) && tag[i] != '=' && tag[i] != '/') {
            i = SkipByte(tag, i);
        }
        const std::string_view attribute = tag.substr(nameBegin, i - nameBegin);
        const bool isContent =
            attribute.size() == kContent.size() && StartsWith(attribute, kContent, true);
        std::size_t v = SkipTagSpace(tag, i);
        if (v >= tag.size() || tag[v] != '=') {
            if (isContent) {
                return {ContentForm::Malformed};
            }
            i = v;
            continue;
        }
        v = SkipTagSpace(tag, v + 1);
        if (v < tag.size() && tag[v] == '"') {
            const std::size_t close = tag.find('"', v + 1);
            if (close == std::string_view::npos) {
                // The open quote swallows the rest of the tag.
                return {isContent ? ContentForm::Malformed : ContentForm::Absent};
            }
            if (isContent) {
                return {ContentForm::DoubleQuoted, v + 1, close - v - 1};
            }
            i = close + 1;
            continue;
        }
        if (isContent) {
            return {ContentForm::Malformed};
        }
        i = SkipBareValue(tag, v);
    }
}

bool HasNameAttribute(std::string_view tag, std::string_view prefix, std::string_view name) {
    return tag.size() > prefix.size() + name.size() && StartsWith(tag, prefix, true) &&
           StartsWith(tag.substr(prefix.size()), name, true) &&
           tag[prefix.size() + name.size()] == '"';
}

struct NameMatch {
    std::size_t start = 0;  // 1-based position of the "<"
    std::string_view prefix;
};

// The first tag that starts `<meta name="Name"` anywhere, else the first that starts
// `<meta  name="Name"`. Both begin with "<meta ", so one pass over its occurrences finds either.
NameMatch FindNameAttribute(std::string_view text, std::string_view name) {
    constexpr std::string_view kMeta = "<meta ";
    NameMatch twoSpaces;
    std::size_t from = 0;
    for (std::size_t found = PositionIgnoringAsciiCase(kMeta, text); found != 0;
         found = PositionIgnoringAsciiCase(kMeta, text.substr(from))) {
        const std::size_t at = from + found - 1;
        const std::string_view tag = text.substr(at);
        if (HasNameAttribute(tag, kMetaNameOneSpace, name)) {
            return {at + 1, kMetaNameOneSpace};
        }
        if (twoSpaces.start == 0 && HasNameAttribute(tag, kMetaNameTwoSpaces, name)) {
            twoSpaces = {at + 1, kMetaNameTwoSpaces};
        }
        from = at + kMeta.size();
    }
    return twoSpaces;
}

// Replaces every `entity` by `c`, with the rescanning of ReplaceAll: an entity that a replacement
// forms with the bytes before it is replaced as well. Each entity ends in ";" and cannot overlap
// itself, so checking the end of the output at every ";" replaces the same occurrences in the
// same order, in linear time. The bytes between two ";" are copied as one piece.
std::string ReplaceEntity(std::string_view text, std::string_view entity, char c) {
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t semicolon = text.find(';'); semicolon != std::string_view::npos;
         semicolon = text.find(';', from)) {
        out.append(text.substr(from, semicolon + 1 - from));
        from = semicolon + 1;
        if (out.ends_with(entity)) {
            out.resize(out.size() - entity.size());
            out.push_back(c);
        }
    }
    out.append(text.substr(from));
    return out;
}

bool IsTrimmed(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

void AppendTrimmed(std::vector<std::string>& list, std::string_view item) {
    while (!item.empty() && IsTrimmed(item.front())) {
        item.remove_prefix(1);
    }
    while (!item.empty() && IsTrimmed(item.back())) {
        item.remove_suffix(1);
    }
    if (!item.empty()) {
        list.emplace_back(item);
    }
}

}  // namespace

std::size_t detail::FindTagEnd(std::string_view text, std::size_t position, char terminator) {
    return ScanTagEnd(text, position, terminator).end;
}

detail::MetaTagParts detail::FindMetaTagParts(std::string_view text, std::string_view name) {
    const auto [start, prefix] = FindNameAttribute(text, name);
    if (start == 0) {
        return {};
    }
    MetaTagParts parts;
    parts.tag.found = true;
    parts.tag.TagStart = start;
    parts.NameStart = start + prefix.size();
    parts.NameLength = name.size();
    const std::size_t patternEnd = parts.NameStart + name.size();  // the closing quote

    const TagEndScan scan = ScanTagEnd(text, start, '>');
    parts.closed = scan.closed;
    std::size_t end = scan.end;
    if (!scan.closed) {
        const std::size_t cut = text.find_first_of("\r\n<", start);
        end = cut == std::string_view::npos ? text.size() : cut;
    }
    // Only a name holding quotes or ">" can make the tag end inside its own name attribute.
    parts.tag.TagEnd = std::max(end, patternEnd);
    const std::size_t attributesEnd = std::max(parts.closed ? end - 1 : end, patternEnd);

    const ContentScan content = ScanContentAttribute(text.substr(0, attributesEnd), patternEnd);
    if (content.form == ContentForm::DoubleQuoted) {
        parts.content = {true, content.begin + 1, content.length};
    }
    return parts;
}

MetaTagPosition FindMetaTag(std::string_view text, std::string_view name) {
    return detail::FindMetaTagParts(text, name).tag;
}

detail::MetaContentPosition detail::FindMetaContent(std::string_view text, std::string_view name) {
    return FindMetaTagParts(text, name).content;
}

std::string detail::GetMetaContent(std::string_view text, std::string_view name) {
    const MetaContentPosition value = FindMetaContent(text, name);
    if (!value.found) {
        return {};
    }
    return std::string(text.substr(value.ValueStart - 1, value.ValueLength));
}

std::string detail::GetTextBetween(std::string_view text, std::string_view startTag,
                                   std::string_view endTag) {
    std::size_t start = PositionIgnoringAsciiCase(startTag, text);
    if (start == 0) {
        return {};
    }
    start += startTag.size();
    const std::size_t end = PositionIgnoringAsciiCase(endTag, text);
    if (start >= end) {
        return {};
    }
    return std::string(text.substr(start - 1, end - start));
}

std::string GetTitle(std::string_view text) {
    return detail::DecodeEntities(detail::GetTextBetween(text, "<title>", "</title>"));
}

std::string GetDescription(std::string_view text) {
    return detail::DecodeEntities(detail::GetMetaContent(text, "description"));
}

std::string GetMetaKeywords(std::string_view text) {
    return detail::DecodeEntities(detail::GetMetaContent(text, "keywords"));
}

std::string detail::DecodeEntities(std::string_view text) {
    std::string out = ReplaceEntity(text, "&lt;", '<');
    out = ReplaceEntity(out, "&gt;", '>');
    out = ReplaceEntity(out, "&amp;", '&');
    out = ReplaceEntity(out, "&nbsp;", ' ');
    return ReplaceEntity(out, "&quot;", '"');
}

std::vector<std::string> SplitKeywords(std::string_view keywordsText) {
    std::vector<std::string> list;
    std::size_t itemBegin = 0;
    for (std::size_t comma = keywordsText.find(','); comma != std::string_view::npos;
         comma = keywordsText.find(',', itemBegin)) {
        AppendTrimmed(list, keywordsText.substr(itemBegin, comma - itemBegin));
        itemBegin = comma + 1;
    }
    AppendTrimmed(list, keywordsText.substr(itemBegin));
    return list;
}

}  // namespace velmora
