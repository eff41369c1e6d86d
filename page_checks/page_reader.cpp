#include <algorithm>
#include <cstdint>
#include <unordered_set>

#include "page_checks/attribute_words.h"
#include "page_checks/character_references.h"
#include "page_checks/html_chars.h"
#include "page_checks/html_tokenizer.h"
#include "page_checks/page_facts.h"
#include "page_checks/page_text.h"
#include "page_checks/tag_name.h"

namespace velmora::page_checks {
namespace {

// Inline elements, which do not part the words around them: "<b>W</b>ord" is one word.
bool IsInline(std::uint64_t tag) {
    switch (tag) {
        case PackTagName("a"):
        case PackTagName("abbr"):
        case PackTagName("b"):
        case PackTagName("bdi"):
        case PackTagName("bdo"):
        case PackTagName("cite"):
        case PackTagName("code"):
        case PackTagName("data"):
        case PackTagName("dfn"):
        case PackTagName("em"):
        case PackTagName("font"):
        case PackTagName("i"):
        case PackTagName("img"):
        case PackTagName("kbd"):
        case PackTagName("mark"):
        case PackTagName("q"):
        case PackTagName("s"):
        case PackTagName("samp"):
        case PackTagName("small"):
        case PackTagName("span"):
        case PackTagName("strong"):
        case PackTagName("sub"):
        case PackTagName("sup"):
        case PackTagName("time"):
        case PackTagName("u"):
        case PackTagName("var"):
        case PackTagName("wbr"):
            return true;
        default:
            return false;
    }
}

// 1 to 6 for h1 to h6, else 0.
int HeadingLevel(std::uint64_t tag) {
    if (tag >= PackTagName("h1") && tag <= PackTagName("h6")) {
        return static_cast<int>(tag - PackTagName("h0"));
    }
    return 0;
}

std::optional<std::string> DecodedAttribute(const Token& token, std::string_view name) {
    const auto value = token.Find(name);
    if (!value) {
        return std::nullopt;
    }
    return DecodeAttribute(*value);
}

std::string LowerAttribute(const Token& token, std::string_view name) {
    const auto value = token.Find(name);
    return value ? AsciiLowerTrimmed(DecodeAttribute(*value)) : std::string();
}

// Where the text of the next raw-text token goes.
enum class RawTarget { Text, Title, JsonLd, Nowhere };

class PageReader {
public:
    PageFacts Read(std::string_view page) {
        HtmlTokenizer tokenizer(page);
        Token token;
        while (tokenizer.Next(token)) {
            if (token.kind == TokenKind::Text) {
                OnText(token);
                continue;
            }
            rawTarget_ = RawTarget::Text;
            if (token.kind == TokenKind::StartTag) {
                // An <svg> or <math> start tag ends the head like any body element.
                inHead_ = inHead_ && !token.inSvgOrMath && BelongsInHead(token.tag);
            }
            if (token.kind == TokenKind::StartTag && templateDepth_ == 0) {
                // An SVG element's id is a fragment target as well.
                OnIds(token);
            }
            if (token.inSvgOrMath) {
                continue;
            }
            if (token.kind == TokenKind::StartTag) {
                OnStartTag(token);
            } else if (token.kind == TokenKind::EndTag) {
                OnEndTag(token);
            }
        }
        CloseHeading();
        CloseAnchor();
        return std::move(facts_);
    }

private:
    void OnText(const Token& token) {
        const RawTarget target = rawTarget_;
        rawTarget_ = RawTarget::Text;
        if (token.inSvgOrMath || templateDepth_ > 0 || target == RawTarget::Nowhere) {
            return;
        }
        if (target == RawTarget::JsonLd) {
            facts_.jsonLd.back().text = std::string(token.text);
            return;
        }
        if (target == RawTarget::Title) {
            std::string title;
            AppendDecoded(title, token.text, ReferencePlace::Text);
            facts_.titles.back().text = CollapseWhiteSpace(title);
            return;
        }
        const std::size_t start = facts_.text.size();
        if (token.decodesReferences) {
            AppendDecoded(facts_.text, token.text, ReferencePlace::Text);
        } else {
            facts_.text += token.text;
        }
        const std::string_view added = std::string_view(facts_.text).substr(start);
        if (heading_) {
            headingText_ += added;
        }
        if (anchor_) {
            anchorText_ += added;
        }
    }

    void OnStartTag(const Token& token) {
        const std::uint64_t tag = token.tag;
        if (tag == PackTagName("template")) {
            ++templateDepth_;
            return;
        }
        if (templateDepth_ > 0) {
            return;
        }
        if (!IsInline(tag)) {
            facts_.text.push_back(' ');
        }
        if (const int level = HeadingLevel(tag)) {
            CloseHeading();
            heading_ = true;
            headingLevel_ = level;
            headingAt_ = token.begin;
            return;
        }
        if (tag == PackTagName("a")) {
            CloseAnchor();
            Anchor& anchor = anchorOpen_;
            anchor.href = DecodedAttribute(token, "href");
            anchor.hasOnclick = token.Find("onclick").has_value();
            if (anchor.href) {
                facts_.hyperlinks.push_back({*anchor.href, token.begin});
            }
            if (anchor.href || anchor.hasOnclick) {
                anchor_ = true;
                anchor.at = token.begin;
                anchor.ariaLabel = DecodedAttribute(token, "aria-label");
                anchor.rel = SplitTokens(DecodedAttribute(token, "rel").value_or(std::string()));
            }
            return;
        }
        switch (tag) {
            case PackTagName("img"):
            case PackTagName("image"):  // browsers read <image> as <img>
                OnImage(token);
                break;
            case PackTagName("area"):
                if (auto href = DecodedAttribute(token, "href")) {
                    facts_.hyperlinks.push_back({std::move(*href), token.begin});
                }
                break;
            case PackTagName("title"):
                facts_.titles.push_back({{}, token.begin});
                rawTarget_ = RawTarget::Title;
                break;
            case PackTagName("script"):
                if (LowerAttribute(token, "type") == "application/ld+json") {
                    facts_.jsonLd.push_back({{}, token.begin});
                    rawTarget_ = RawTarget::JsonLd;
                } else {
                    rawTarget_ = RawTarget::Nowhere;
                }
                break;
            case PackTagName("style"):
            case PackTagName("noscript"):
                rawTarget_ = RawTarget::Nowhere;
                break;
            case PackTagName("meta"):
                OnMeta(token);
                break;
            case PackTagName("link"):
                OnLink(token);
                break;
            case PackTagName("html"):
                // Attributes of a second <html> join the first one's when it lacks them.
                if (!facts_.htmlLang) {
                    facts_.htmlLang = DecodedAttribute(token, "lang");
                    if (facts_.htmlLang || !facts_.htmlAt) {
                        facts_.htmlAt = token.begin;
                    }
                }
                break;
            default:
                break;
        }
    }

    void OnIds(const Token& token) {
        AddId(token.Find("id"));
        if (token.tag == PackTagName("a") && !token.inSvgOrMath) {
            AddId(token.Find("name"));
        }
    }

    void AddId(std::optional<std::string_view> raw) {
        if (!raw || raw->empty()) {
            return;
        }
        std::string id = DecodeAttribute(*raw);
        if (seenIds_.insert(id).second) {
            facts_.ids.push_back(std::move(id));
        }
    }

    void OnLink(const Token& token) {
        LinkTag link;
        link.rel = SplitTokens(DecodedAttribute(token, "rel").value_or(std::string()));
        link.href = DecodedAttribute(token, "href");
        link.hreflang = DecodedAttribute(token, "hreflang");
        link.at = token.begin;
        link.inHead = inHead_;
        facts_.links.push_back(std::move(link));
    }

    void OnEndTag(const Token& token) {
        const std::uint64_t tag = token.tag;
        if (tag == PackTagName("template")) {
            templateDepth_ -= templateDepth_ > 0 ? 1 : 0;
            return;
        }
        if (templateDepth_ > 0) {
            return;
        }
        if (!IsInline(tag)) {
            facts_.text.push_back(' ');
        }
        if (HeadingLevel(tag) != 0) {
            CloseHeading();
        } else if (tag == PackTagName("a")) {
            CloseAnchor();
        }
    }

    void OnImage(const Token& token) {
        Image image;
        const auto alt = DecodedAttribute(token, "alt");
        image.hasAlt = alt.has_value();
        image.decorative = alt && CollapseWhiteSpace(*alt).empty();
        image.src = DecodedAttribute(token, "src").value_or(std::string());
        image.at = token.begin;
        facts_.images.push_back(std::move(image));
        if (alt && heading_) {
            headingText_ += ' ';
            headingText_ += *alt;
            headingText_ += ' ';
        }
        if (alt && anchor_) {
            anchorAlt_ += ' ';
            anchorAlt_ += *alt;
        }
    }

    void OnMeta(const Token& token) {
        MetaTag meta;
        meta.name = LowerAttribute(token, "name");
        meta.property = LowerAttribute(token, "property");
        meta.httpEquiv = LowerAttribute(token, "http-equiv");
        meta.content = DecodedAttribute(token, "content");
        meta.charset = DecodedAttribute(token, "charset");
        meta.at = token.begin;
        meta.inHead = inHead_;
        facts_.metas.push_back(std::move(meta));
    }

    void CloseHeading() {
        if (!heading_) {
            return;
        }
        facts_.headings.push_back(
            Heading{headingLevel_, CollapseWhiteSpace(headingText_), headingAt_});
        heading_ = false;
        headingText_.clear();
    }

    void CloseAnchor() {
        if (!anchor_) {
            return;
        }
        Anchor& anchor = anchorOpen_;
        anchor.name = CollapseWhiteSpace(anchorText_);
        if (anchor.name.empty()) {
            anchor.name = CollapseWhiteSpace(anchorAlt_);
        }
        facts_.anchors.push_back(std::move(anchor));
        anchor_ = false;
        anchorOpen_ = Anchor();
        anchorText_.clear();
        anchorAlt_.clear();
    }

    PageFacts facts_;
    std::unordered_set<std::string> seenIds_;
    RawTarget rawTarget_ = RawTarget::Text;
    std::size_t templateDepth_ = 0;
    bool heading_ = false;
    int headingLevel_ = 1;
    std::size_t headingAt_ = 0;
    std::string headingText_;
    bool inHead_ = true;
    bool anchor_ = false;
    Anchor anchorOpen_;
    std::string anchorText_;
    std::string anchorAlt_;
};

}  // namespace

bool LinkTag::HasRel(std::string_view token) const {
    return std::find(rel.begin(), rel.end(), token) != rel.end();
}

PageFacts ReadPageFacts(std::string_view utf8Page) {
    return PageReader().Read(utf8Page);
}

}  // namespace velmora::page_checks
