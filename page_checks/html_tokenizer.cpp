#include "page_checks/html_tokenizer.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "page_checks/html_chars.h"
#include "page_checks/open_html_elements.h"
#include "page_checks/raw_text.h"
#include "page_checks/tag_name.h"

namespace velmora::page_checks {
namespace {

// Elements whose content holds no tags.
bool IsRawTextElement(std::uint64_t tag) {
    switch (tag) {
        case PackTagName("script"):
        case PackTagName("style"):
        case PackTagName("textarea"):
        case PackTagName("title"):
        case PackTagName("noscript"):
        case PackTagName("xmp"):
        case PackTagName("iframe"):
        case PackTagName("noembed"):
        case PackTagName("noframes"):
            return true;
        default:
            return false;
    }
}

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char p, char t) { return p == LowerAscii(t); });
}

// Above this many attributes a tag looks duplicates up in a set of the names, so a tag of a
// million attributes does not take quadratic time.
constexpr std::size_t kLinearDuplicateSearch = 32;

}  // namespace

std::optional<std::string_view> Token::Find(std::string_view name) const {
    for (const Attribute& attribute : attributes) {
        if (attribute.name == name) {
            return attribute.value;
        }
    }
    return std::nullopt;
}

bool HtmlTokenizer::Next(Token& token) {
    if (at_ >= page_.size()) {
        return false;
    }
    token = Token{};
    token.begin = at_;
    token.inSvgOrMath = foreign_.Inside();
    if (mode_ == Mode::Plaintext) {
        token.text = page_.substr(at_);
        at_ = page_.size();
        token.end = at_;
        return true;
    }
    if (mode_ == Mode::RawText) {
        mode_ = Mode::Data;
        const std::size_t end = rawTextOf_ == "script" ? FindScriptEnd(page_, at_)
                                                       : FindRawTextEnd(page_, at_, rawTextOf_);
        if (end > at_) {
            token.text = page_.substr(at_, end - at_);
            token.decodesReferences = rawTextOf_ == "title" || rawTextOf_ == "textarea";
            at_ = end;
            token.end = end;
            return true;
        }
    }
    if (page_[at_] != '<' || !StartsMarkup(at_)) {
        ReadText(token);
        foreign_.Text();
        return true;
    }
    const char next = page_[at_ + 1];
    if (IsAsciiAlpha(next)) {
        ReadTag(token, false);
        AfterStartTag(token);
    } else if (next == '/') {
        const char third = page_[at_ + 2];
        if (IsAsciiAlpha(third)) {
            ReadTag(token, true);
            AfterEndTag(token);
        } else if (third == '>') {
            token.kind = TokenKind::Dropped;
            at_ += 3;
        } else {
            ReadBogusComment(token, at_ + 2);
        }
    } else if (next == '!') {
        ReadMarkupDeclaration(token);
    } else {
        ReadBogusComment(token, at_ + 1);
    }
    token.end = at_;
    return true;
}

bool HtmlTokenizer::StartsMarkup(std::size_t at) const {
    if (at + 1 >= page_.size()) {
        return false;
    }
    const char next = page_[at + 1];
    return IsAsciiAlpha(next) || next == '!' || next == '?' ||
           (next == '/' && at + 2 < page_.size());
}

void HtmlTokenizer::ReadText(Token& token) {
    std::size_t at = at_ + 1;
    while (at < page_.size()) {
        const void* found = std::memchr(page_.data() + at, '<', page_.size() - at);
        if (found == nullptr) {
            at = page_.size();
            break;
        }
        at = static_cast<std::size_t>(static_cast<const char*>(found) - page_.data());
        if (StartsMarkup(at)) {
            break;
        }
        ++at;
    }
    token.kind = TokenKind::Text;
    token.decodesReferences = true;
    token.text = page_.substr(at_, at - at_);
    at_ = at;
    token.end = at;
}

void HtmlTokenizer::ReadTag(Token& token, bool endTag) {
    std::size_t at = ReadTagName(at_ + (endTag ? 2 : 1));
    attributes_.clear();
    loweredNames_.clear();
    manyNames_.clear();
    const TagClose close = ReadAttributes(at, endTag);
    if (close == TagClose::CutOff) {
        // A tag cut off by the end of the page is no tag.
        token.kind = TokenKind::Dropped;
        at_ = page_.size();
        attributes_.clear();
        return;
    }
    token.kind = endTag ? TokenKind::EndTag : TokenKind::StartTag;
    token.text = name_;
    token.tag = PackTagName(name_);
    token.selfClosing = close == TagClose::SelfClosing;
    token.attributes = attributes_;
    at_ = at;
}

std::size_t HtmlTokenizer::ReadTagName(std::size_t at) {
    name_.clear();
    while (at < page_.size() && !IsTagSpace(page_[at]) && page_[at] != '/' && page_[at] != '>') {
        name_.push_back(LowerAscii(page_[at]));
        ++at;
    }
    return at;
}

std::size_t HtmlTokenizer::SkipTagSpace(std::size_t at) const {
    while (at < page_.size() && IsTagSpace(page_[at])) {
        ++at;
    }
    return at;
}

HtmlTokenizer::TagClose HtmlTokenizer::ReadAttributes(std::size_t& end, bool endTag) {
    const std::size_t size = page_.size();
    std::size_t at = end;
    TagClose close = TagClose::CutOff;
    while (at < size) {
        const char c = page_[at];
        if (IsTagSpace(c)) {
            ++at;
        } else if (c == '>') {
            ++at;
            close = TagClose::Closed;
            break;
        } else if (c == '/') {
            ++at;
            if (at < size && page_[at] == '>') {
                ++at;
                close = TagClose::SelfClosing;
                break;
            }
        } else {
            at = ReadAttribute(at, endTag);
        }
    }
    end = at;
    return close;
}

std::size_t HtmlTokenizer::ReadAttribute(std::size_t at, bool endTag) {
    const std::size_t size = page_.size();
    // A leading "=" belongs to the name.
    const std::size_t nameStart = at;
    ++at;
    while (at < size && !IsTagSpace(page_[at]) && page_[at] != '/' && page_[at] != '>' &&
           page_[at] != '=') {
        ++at;
    }
    const std::string_view name = page_.substr(nameStart, at - nameStart);
    at = SkipTagSpace(at);
    std::string_view value;
    if (at < size && page_[at] == '=') {
        at = SkipTagSpace(at + 1);
        if (at >= size) {
            return size;
        }
        at = ReadAttributeValue(at, value);
        if (at == std::string_view::npos) {
            return size;
        }
    }
    if (!endTag) {
        AddAttribute(name, value);
    }
    return at;
}

std::size_t HtmlTokenizer::ReadAttributeValue(std::size_t at, std::string_view& value) const {
    const char quote = page_[at];
    if (quote == '"' || quote == '\'') {
        const std::size_t close = page_.find(quote, at + 1);
        if (close == std::string_view::npos) {
            return close;
        }
        value = page_.substr(at + 1, close - at - 1);
        return close + 1;
    }
    if (quote == '>') {
        return at;
    }
    const std::size_t start = at;
    while (at < page_.size() && !IsTagSpace(page_[at]) && page_[at] != '>') {
        ++at;
    }
    value = page_.substr(start, at - start);
    return at;
}

void HtmlTokenizer::AddAttribute(std::string_view name, std::string_view value) {
    if (std::any_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) {
        std::string& lowered = loweredNames_.emplace_back(name);
        std::transform(lowered.begin(), lowered.end(), lowered.begin(), LowerAscii);
        name = lowered;
    }
    // A repeated attribute is dropped; the first one counts.
    if (attributes_.size() < kLinearDuplicateSearch) {
        if (std::any_of(attributes_.begin(), attributes_.end(),
                        [&](const Attribute& a) { return a.name == name; })) {
            return;
        }
    } else {
        if (manyNames_.empty()) {
            for (const Attribute& a : attributes_) {
                manyNames_.insert(a.name);
            }
        }
        if (!manyNames_.insert(name).second) {
            return;
        }
    }
    attributes_.push_back(Attribute{name, value});
}

namespace {

// Start tags that end a <select>: they close it and count as they would outside.
bool EndsSelect(std::uint64_t tag) {
    switch (tag) {
        case PackTagName("select"):
        case PackTagName("input"):
        case PackTagName("keygen"):
        case PackTagName("textarea"):
            return true;
        default:
            return false;
    }
}

// Tags that end a <select> opened inside a table, start tags always, end tags when their element
// is open; elsewhere a <select> ignores them.
bool IsTablePart(std::uint64_t tag) {
    switch (tag) {
        case PackTagName("caption"):
        case PackTagName("table"):
        case PackTagName("tbody"):
        case PackTagName("tfoot"):
        case PackTagName("thead"):
        case PackTagName("tr"):
        case PackTagName("td"):
        case PackTagName("th"):
            return true;
        default:
            return false;
    }
}

// The open <select> where HTML rules read the next tag, in the page's HTML or inside an
// integration point: the tree builder ignores every tag there but a few, so raw-text elements
// other than <script> do not switch the tokenizer, nor do <svg> and <math> open anything.
const OpenHtmlElements* OpenSelect(const ForeignContent& foreign) {
    const OpenHtmlElements* html = foreign.HtmlInForce();
    return html != nullptr && html->Has("select") ? html : nullptr;
}

}  // namespace

void HtmlTokenizer::AfterEndTag(const Token& token) {
    if (token.kind != TokenKind::EndTag) {
        return;
    }
    if (const OpenHtmlElements* select = OpenSelect(foreign_);
        select != nullptr && IsTablePart(token.tag) && foreign_.TableOpen() &&
        select->Has(token.text)) {
        foreign_.End("select");
    }
    // Inside a <select> the open elements ignore every end tag but that of the <select>.
    foreign_.End(token.text);
}

void HtmlTokenizer::AfterStartTag(Token& token) {
    if (token.kind != TokenKind::StartTag) {
        return;
    }
    if (const OpenHtmlElements* select = OpenSelect(foreign_); select != nullptr) {
        if (EndsSelect(token.tag) || (IsTablePart(token.tag) && foreign_.TableOpen())) {
            foreign_.End("select");
            // A <select> inside a <select> only closes the first.
            if (token.tag == PackTagName("select")) {
                return;
            }
        } else {
            if (token.tag == PackTagName("script")) {
                mode_ = Mode::RawText;
                rawTextOf_ = name_;
            }
            return;
        }
    }
    const bool opensForeign = token.tag == PackTagName("svg") || token.tag == PackTagName("math");
    const bool readsAsHtml = foreign_.Start(name_, attributes_, token.selfClosing);
    // A tag that ends SVG or MathML content is the page's again.
    token.inSvgOrMath = foreign_.Inside() || opensForeign;
    if (!readsAsHtml) {
        return;
    }
    if (std::string_view(name_) == "plaintext") {
        mode_ = Mode::Plaintext;
    } else if (IsRawTextElement(token.tag)) {
        mode_ = Mode::RawText;
        rawTextOf_ = name_;
    }
}

void HtmlTokenizer::ReadComment(Token& token) {
    token.kind = TokenKind::Comment;
    const std::size_t body = at_ + 4;
    // "<!-->" and "<!--->" close at once.
    if (page_.substr(body, 1) == ">") {
        at_ = body + 1;
        return;
    }
    if (page_.substr(body, 2) == "->") {
        at_ = body + 2;
        return;
    }
    std::size_t at = body;
    while (true) {
        const std::size_t dashes = page_.find("--", at);
        if (dashes == std::string_view::npos) {
            at_ = page_.size();
            return;
        }
        if (page_.substr(dashes + 2, 1) == ">") {
            at_ = dashes + 3;
            return;
        }
        if (page_.substr(dashes + 2, 2) == "!>") {
            at_ = dashes + 4;
            return;
        }
        at = dashes + 1;
    }
}

void HtmlTokenizer::ReadBogusComment(Token& token, std::size_t from) {
    token.kind = TokenKind::Comment;
    const std::size_t close = page_.find('>', from);
    at_ = close == std::string_view::npos ? page_.size() : close + 1;
}

void HtmlTokenizer::ReadMarkupDeclaration(Token& token) {
    const std::string_view rest = page_.substr(at_ + 2);
    if (rest.starts_with("--")) {
        ReadComment(token);
        return;
    }
    if (StartsWithIgnoringAsciiCase(rest, "doctype")) {
        token.kind = TokenKind::Doctype;
        const std::size_t close = page_.find('>', at_ + 2);
        at_ = close == std::string_view::npos ? page_.size() : close + 1;
        return;
    }
    if (foreign_.AllowsCdata() && rest.starts_with("[CDATA[")) {
        // The content is text as written; "]]>" or the end of the page closes it.
        const std::size_t start = at_ + 9;
        const std::size_t close = page_.find("]]>", start);
        const std::size_t end = close == std::string_view::npos ? page_.size() : close;
        token.kind = TokenKind::Text;
        token.text = page_.substr(start, end - start);
        at_ = close == std::string_view::npos ? page_.size() : close + 3;
        return;
    }
    ReadBogusComment(token, at_ + 2);
}

}  // namespace velmora::page_checks
