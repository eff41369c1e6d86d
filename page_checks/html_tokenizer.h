#pragma once

// An HTML5 tokenizer for the page checks: tags with their attributes, text, comments and
// doctypes, with the raw-text elements, script escapes, CDATA in SVG and MathML, and the
// foreign-content switch of the tree builder. Every byte of the page belongs to exactly one
// token, in order.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "page_checks/foreign_content.h"

namespace velmora::page_checks {

enum class TokenKind : std::uint8_t {
    Text,
    StartTag,
    EndTag,
    Comment,  // also "<?…>", "<!…>" and "</ …>", which browsers read as comments
    Doctype,
    Dropped,  // bytes a browser discards: "</>" and a tag cut off by the end of the page
};

struct Attribute {
    std::string_view name;   // lower-case
    std::string_view value;  // as written: character references not decoded
};

struct Token {
    TokenKind kind = TokenKind::Text;
    std::size_t begin = 0;  // byte range in the page
    std::size_t end = 0;
    // Text: the text as written. Tags: the lower-case name. Comments and doctypes: empty.
    std::string_view text;
    // Text whose character references are decoded (data, title, textarea); raw text, script and
    // CDATA content keep theirs as written.
    // Tags: PackTagName() of the name, 0 for names of more than eight bytes.
    std::uint64_t tag = 0;
    bool decodesReferences = false;
    bool selfClosing = false;
    bool inSvgOrMath = false;               // inside <svg> or <math>, or one of those two tags
    std::span<const Attribute> attributes;  // start tags only

    // The value of the attribute `name` (lower-case), as written; nullopt when absent.
    std::optional<std::string_view> Find(std::string_view name) const;
};

class HtmlTokenizer {
public:
    explicit HtmlTokenizer(std::string_view page) : page_(page) {}

    // The next token; false at the end of the page. The token's views stay valid until the
    // next call.
    bool Next(Token& token);

private:
    enum class Mode : std::uint8_t { Data, RawText, Plaintext };
    // How a tag's attribute list ended: with ">", with "/>", or with the end of the page.
    enum class TagClose : std::uint8_t { Closed, SelfClosing, CutOff };

    void ReadText(Token& token);
    void ReadTag(Token& token, bool endTag);
    // Reads the lower-cased name into name_; returns where it ends.
    std::size_t ReadTagName(std::size_t at);
    std::size_t SkipTagSpace(std::size_t at) const;
    // Reads the attributes up to the tag's end, moving `end` past it; those of an end tag are
    // read and dropped.
    TagClose ReadAttributes(std::size_t& end, bool endTag);
    // Reads one attribute from the first byte of its name; returns where it ends, the end of
    // the page when the page ends before its value does.
    std::size_t ReadAttribute(std::size_t at, bool endTag);
    // Reads a value from its first byte; returns where it ends, npos when its quote is never
    // closed.
    std::size_t ReadAttributeValue(std::size_t at, std::string_view& value) const;
    // Keeps an attribute under its lower-cased name unless the tag already has one of that name.
    void AddAttribute(std::string_view name, std::string_view value);
    void ReadComment(Token& token);
    void ReadBogusComment(Token& token, std::size_t from);
    void ReadMarkupDeclaration(Token& token);
    // Where markup starts at a "<", or false when the "<" is text.
    bool StartsMarkup(std::size_t at) const;
    void AfterStartTag(Token& token);
    void AfterEndTag(const Token& token);

    std::string_view page_;
    std::size_t at_ = 0;
    Mode mode_ = Mode::Data;
    std::string rawTextOf_;  // the element whose raw text comes next
    std::string name_;
    std::vector<Attribute> attributes_;
    // Lower-cased copies of the attribute names written with capitals; a deque keeps the views
    // into it valid while it grows.
    std::deque<std::string> loweredNames_;
    // The names of a tag with many attributes, filled once it has kLinearDuplicateSearch of them.
    std::set<std::string_view> manyNames_;
    ForeignContent foreign_;
};

}  // namespace velmora::page_checks
