#include "tests/page_checks/gumbo_reference.h"

#include <gumbo.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "page_checks/character_references.h"
#include "page_checks/html_chars.h"
#include "page_checks/html_tokenizer.h"

namespace velmora::page_checks::testing {
namespace {

struct OurTag {
    std::string name;
    std::map<std::string, std::string> attributes;
};

struct OurText {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string text;
};

// Line breaks as the HTML5 input stream has them: CR LF and CR read as LF.
std::string NormalizeNewlines(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out.push_back('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), LowerAscii);
    return out;
}

bool GumboKnows(std::string_view name) {
    return gumbo_tagn_enum(name.data(), static_cast<unsigned int>(name.size())) !=
           GUMBO_TAG_UNKNOWN;
}

// SVG and MathML elements that hold others; gumbo reads their end tags by the foreign rules,
// which compare names as written.
bool IsForeignContainer(std::string_view name) {
    static const std::set<std::string_view> kNames = {
        "a",       "clippath",       "defs",     "g",        "lineargradient", "marker", "mask",
        "pattern", "radialgradient", "switch",   "symbol",   "text",           "tspan",  "menclose",
        "mfrac",   "mover",          "mpadded",  "mphantom", "mroot",          "mrow",   "msqrt",
        "mstyle",  "msub",           "msubsup",  "msup",     "mtable",         "mtd",    "mtr",
        "munder",  "munderover",     "semantics"};
    return kNames.contains(name);
}

struct OurReading {
    // gumbo would close one element of a name it does not know at the end tag of another.
    bool namesConfused = false;
    std::map<std::size_t, OurTag> startTags;
    std::vector<OurText> texts;
    std::vector<std::pair<std::size_t, std::size_t>> noscript;  // raw-text ranges

    bool InNoscript(std::size_t offset) const {
        return std::any_of(noscript.begin(), noscript.end(), [&](const auto& range) {
            return offset >= range.first && offset < range.second;
        });
    }
};

OurReading ReadOurs(std::string_view page) {
    OurReading ours;
    HtmlTokenizer tokenizer(page);
    Token token;
    bool afterNoscript = false;
    bool foreign = false;
    std::set<std::string, std::less<>> unknownStarts;
    std::set<std::string, std::less<>> unknownEnds;
    while (tokenizer.Next(token)) {
        foreign = foreign || token.inSvgOrMath;
        if ((token.kind == TokenKind::StartTag || token.kind == TokenKind::EndTag) &&
            !GumboKnows(token.text) && !IsForeignContainer(token.text)) {
            (token.kind == TokenKind::StartTag ? unknownStarts : unknownEnds).emplace(token.text);
        }
        if (token.kind == TokenKind::StartTag) {
            OurTag tag{std::string(token.text), {}};
            for (const Attribute& attribute : token.attributes) {
                tag.attributes[std::string(attribute.name)] =
                    NormalizeNewlines(DecodeAttribute(attribute.value));
            }
            ours.startTags[token.begin] = std::move(tag);
        } else if (token.kind == TokenKind::Text) {
            if (afterNoscript) {
                ours.noscript.emplace_back(token.begin, token.end);
            }
            std::string text;
            if (token.decodesReferences) {
                AppendDecoded(text, token.text, ReferencePlace::Text);
            } else {
                text = NormalizeNewlines(token.text);
            }
            ours.texts.push_back(OurText{token.begin, token.end, std::move(text)});
        }
        afterNoscript =
            token.kind == TokenKind::StartTag && token.text == "noscript" && !token.inSvgOrMath;
    }
    ours.namesConfused =
        foreign && !unknownStarts.empty() &&
        std::any_of(unknownEnds.begin(), unknownEnds.end(), [&](const std::string& name) {
            return unknownStarts.size() > 1 || !unknownStarts.contains(name);
        });
    return ours;
}

// The name gumbo gives the element; for names it does not know, the name as written, read up to
// white space, "/" or ">".
std::string GumboName(const GumboElement& element, std::string_view written) {
    if (element.tag != GUMBO_TAG_UNKNOWN) {
        return gumbo_normalized_tagname(element.tag);
    }
    std::size_t end = 1;
    while (end < written.size() && !IsTagSpace(written[end]) && written[end] != '/' &&
           written[end] != '>') {
        ++end;
    }
    return Lower(written.substr(1, end - 1));
}

struct GumboDeleter {
    void operator()(GumboOutput* output) const {
        gumbo_destroy_output(&kGumboDefaultOptions, output);
    }
};

class Comparer {
public:
    Comparer(std::string_view page, GumboComparison what)
        : page_(page), what_(what), ours_(ReadOurs(page)) {}

    std::vector<std::string> Run() {
        if (ours_.namesConfused) {
            return {};
        }
        const std::unique_ptr<GumboOutput, GumboDeleter> output(
            gumbo_parse_with_options(&kGumboDefaultOptions, page_.data(), page_.size()));
        // An explicit stack: pages may nest far deeper than the call stack allows.
        std::vector<const GumboNode*> pending{output->document};
        while (!pending.empty()) {
            const GumboNode* node = pending.back();
            pending.pop_back();
            const GumboVector* children = nullptr;
            if (node->type == GUMBO_NODE_DOCUMENT) {
                children = &node->v.document.children;
            } else if (node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE) {
                CompareElement(node->v.element);
                children = &node->v.element.children;
            } else if (what_.text && node->type != GUMBO_NODE_COMMENT) {
                CompareText(node->v.text);
            }
            for (unsigned int i = children ? children->length : 0; i > 0; --i) {
                pending.push_back(static_cast<const GumboNode*>(children->data[i - 1]));
            }
        }
        return std::move(differences_);
    }

private:
    std::size_t OffsetOf(const char* data) const {
        return static_cast<std::size_t>(data - page_.data());
    }

    void Differ(std::size_t offset, const std::string& what) {
        differences_.push_back("byte " + std::to_string(offset) + ": " + what);
    }

    void CompareElement(const GumboElement& element) {
        if (element.original_tag.length == 0 || element.original_tag.data == nullptr) {
            return;  // made by the tree builder, not written in the page
        }
        std::size_t offset = OffsetOf(element.original_tag.data);
        std::string_view written(element.original_tag.data, element.original_tag.length);
        // gumbo lets the tag after a discarded "</>" start at that "</>".
        while (written.starts_with("</>")) {
            written.remove_prefix(3);
            offset += 3;
        }
        if (ours_.InNoscript(offset)) {
            return;
        }
        const std::string gumboName = GumboName(element, written);
        const auto ours = ours_.startTags.find(offset);
        if (ours == ours_.startTags.end()) {
            Differ(offset, "gumbo reads <" + gumboName + ">, the tokenizer no start tag");
            return;
        }
        // gumbo reads <image> as <img>, as browsers do.
        const bool image = ours->second.name == "image" && gumboName == "img";
        if (ours->second.name != gumboName && !image) {
            Differ(offset,
                   "gumbo reads <" + gumboName + ">, the tokenizer <" + ours->second.name + ">");
            return;
        }
        if (!what_.attributes) {
            return;
        }
        const std::size_t tagEnd = offset + written.size();
        for (unsigned int i = 0; i < element.attributes.length; ++i) {
            const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
            const std::size_t at = OffsetOf(attribute->original_name.data);
            if (attribute->original_name.data == nullptr || at < offset || at >= tagEnd) {
                continue;  // joined from a later <html> or <body>
            }
            const std::string attributeName = Lower(
                std::string_view(attribute->original_name.data, attribute->original_name.length));
            const auto value = ours->second.attributes.find(attributeName);
            if (value == ours->second.attributes.end()) {
                Differ(at, "attribute " + attributeName + " missing");
            } else if (value->second != attribute->value) {
                Differ(at, "attribute " + attributeName + " is \"" + value->second +
                               "\", gumbo \"" + attribute->value + "\"");
            }
        }
    }

    void CompareText(const GumboText& text) {
        if (text.original_text.length == 0 || text.original_text.data == nullptr) {
            return;
        }
        const std::size_t begin = OffsetOf(text.original_text.data);
        const std::size_t end = begin + text.original_text.length;
        if (ours_.InNoscript(begin)) {
            return;
        }
        std::string joined;
        for (const OurText& ours : ours_.texts) {
            if (ours.begin >= begin && ours.end <= end) {
                joined += ours.text;
            } else if (ours.begin < end && ours.end > begin) {
                // gumbo's text is part of one of ours: compare that part.
                const std::size_t from = std::max(begin, ours.begin);
                const std::size_t to = std::min(end, ours.end);
                std::string part;
                AppendDecoded(part, page_.substr(from, to - from), ReferencePlace::Text);
                joined += part;
            }
        }
        if (NormalizeNewlines(joined) != text.text) {
            Differ(begin, "text \"" + joined + "\", gumbo \"" + text.text + "\"");
        }
    }

    std::string_view page_;
    GumboComparison what_;
    OurReading ours_;
    std::vector<std::string> differences_;
};

}  // namespace

std::vector<std::string> CompareWithGumbo(std::string_view page, GumboComparison what) {
    return Comparer(page, what).Run();
}

}  // namespace velmora::page_checks::testing
