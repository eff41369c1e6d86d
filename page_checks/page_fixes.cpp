#include "page_checks/page_fixes.h"

#include <algorithm>
#include <array>

#include "core/head_lines.h"
#include "core/html_functions_write.h"
#include "core/page_encoding.h"
#include "page_checks/attribute_words.h"
#include "page_checks/character_references.h"
#include "page_checks/head_checks.h"
#include "page_checks/html_chars.h"
#include "page_checks/html_tokenizer.h"
#include "page_checks/page_facts.h"
#include "page_checks/page_text.h"
#include "page_checks/tag_name.h"

namespace velmora::page_checks {
namespace {

// Charset first: its tag goes first in the head, in front of what the others add there.
constexpr std::array<CheckId, 6> kFixable = {CheckId::Charset,  CheckId::Viewport,
                                             CheckId::Language, CheckId::Canonical,
                                             CheckId::Social,   CheckId::Description};

struct TagSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// Where the page's head and its tags stand in the page's own bytes, and how it writes its tags.
struct HeadLayout {
    std::optional<TagSpan> headStart;
    std::optional<std::size_t> headEnd;  // the "<" of </head>
    std::optional<TagSpan> html;
    std::vector<TagSpan> canonicals;  // in the head, in page order
    std::vector<TagSpan> descriptions;
    std::string_view close = ">";
    char quote = '"';
};

bool RelHoldsCanonical(std::string_view rel) {
    const std::vector<std::string> words = SplitTokens(DecodeAttribute(rel));
    return std::find(words.begin(), words.end(), "canonical") != words.end();
}

// The page's way of writing a void tag's end and its attribute quotes, from its first meta or
// link tag.
void ReadStyle(std::string_view text, const Token& token, HeadLayout& layout) {
    layout.close = !token.selfClosing                                  ? ">"
                   : token.end >= 3 && IsTagSpace(text[token.end - 3]) ? " />"
                                                                       : "/>";
    for (const Attribute& attribute : token.attributes) {
        const auto offset = static_cast<std::size_t>(attribute.value.data() - text.data());
        if (offset > token.begin && offset <= token.end) {
            const char before = text[offset - 1];
            if (before == '"' || before == '\'') {
                layout.quote = before;
                return;
            }
        }
    }
}

// Reads the head with the page reader's rule of where it ends: what a fix needs of it.
class HeadLayoutReader {
public:
    explicit HeadLayoutReader(std::string_view text) : text_(text) {}

    HeadLayout Read() {
        HtmlTokenizer tokenizer(text_);
        Token token;
        while (tokenizer.Next(token)) {
            if (token.kind == TokenKind::StartTag) {
                inHead_ = inHead_ && !token.inSvgOrMath && BelongsInHead(token.tag);
            }
            if (!inHead_ && layout_.html) {
                break;
            }
            if (token.inSvgOrMath) {
                continue;
            }
            if (token.kind == TokenKind::EndTag) {
                OnEndTag(token);
            } else if (token.kind == TokenKind::StartTag) {
                OnStartTag(token);
            }
        }
        return std::move(layout_);
    }

private:
    void OnEndTag(const Token& token) {
        if (token.tag == PackTagName("template")) {
            templateDepth_ -= templateDepth_ > 0 ? 1 : 0;
        } else if (token.tag == PackTagName("head") && inHead_ && templateDepth_ == 0 &&
                   !layout_.headEnd) {
            layout_.headEnd = token.begin;
        }
    }

    void OnStartTag(const Token& token) {
        templateDepth_ += token.tag == PackTagName("template") ? 1 : 0;
        if (templateDepth_ > 0) {
            return;
        }
        const TagSpan span{token.begin, token.end};
        if (token.tag == PackTagName("html") && !layout_.html) {
            layout_.html = span;
            // An XHTML page without a tag to copy still closes its void tags.
            if (!styleRead_ && token.Find("xmlns")) {
                layout_.close = " />";
            }
        }
        if (!inHead_) {
            return;
        }
        if (token.tag == PackTagName("head") && !layout_.headStart) {
            layout_.headStart = span;
        }
        if (token.tag != PackTagName("meta") && token.tag != PackTagName("link")) {
            return;
        }
        if (!styleRead_) {
            ReadStyle(text_, token, layout_);
            styleRead_ = true;
        }
        if (token.tag == PackTagName("link") && RelHoldsCanonical(token.Find("rel").value_or(""))) {
            layout_.canonicals.push_back(span);
        } else if (token.tag == PackTagName("meta") &&
                   AsciiLowerTrimmed(DecodeAttribute(token.Find("name").value_or(""))) ==
                       "description") {
            layout_.descriptions.push_back(span);
        }
    }

    std::string_view text_;
    HeadLayout layout_;
    bool inHead_ = true;
    bool styleRead_ = false;
    std::size_t templateDepth_ = 0;
};

// Removes a tag, with its line when it stands alone on it.
ByteEdit RemovalOf(std::string_view text, TagSpan span) {
    std::size_t begin = span.begin;
    while (begin > 0 && IsIndentBlank(text[begin - 1])) {
        --begin;
    }
    std::size_t end = span.end;
    while (end < text.size() && IsIndentBlank(text[end])) {
        ++end;
    }
    const bool lineStart = begin == 0 || text[begin - 1] == '\n' || text[begin - 1] == '\r';
    const std::string_view lineBreak = LineBreakAt(text, end);
    if (lineStart && !lineBreak.empty()) {
        return {begin, end + lineBreak.size() - begin, {}};
    }
    return {span.begin, span.end - span.begin, {}};
}

class FixPlanner {
public:
    FixPlanner(std::string_view text, const FixSettings& settings)
        : text_(text), settings_(settings), bytes_(ClassifyBytes(text)) {
        facts_ = ReadPageFacts(PageAsUtf8(text, bytes_, converted_));
        layout_ = HeadLayoutReader(text).Read();
    }

    bool IsRedirect() const { return FindRedirect(facts_).has_value(); }

    void Plan(CheckId id, FixPlan& plan) {
        plan_ = &plan;
        switch (id) {
            case CheckId::Charset:
                return PlanCharset();
            case CheckId::Viewport:
                return PlanViewport();
            case CheckId::Language:
                return PlanLanguage();
            case CheckId::Canonical:
                return PlanCanonical();
            case CheckId::Social:
                return PlanSocial();
            case CheckId::Description:
                return PlanDescriptionCopies();
            default:
                return;
        }
    }

private:
    void Leave(CheckId id, std::string reason, bool needsSetting = false) {
        plan_->unfixed.push_back({id, std::move(reason), needsSetting});
    }

    void Fix(CheckId id, std::vector<ByteEdit> edits) {
        plan_->fixes.push_back({id, std::move(edits)});
    }

    // A UTF-8 value as the page holds it inside the page's quotes: markup characters as
    // references, and characters the page's encoding lacks as numeric references.
    std::string AttributeValue(std::string_view utf8) const {
        std::string escaped;
        for (const char c : utf8) {
            switch (c) {
                case '&':
                    escaped += "&amp;";
                    break;
                case '<':
                    escaped += "&lt;";
                    break;
                case '>':
                    escaped += "&gt;";
                    break;
                case '"':
                    escaped += "&quot;";
                    break;
                case '\'':
                    escaped += layout_.quote == '\'' ? "&#39;" : "'";
                    break;
                default:
                    escaped.push_back(c);
                    break;
            }
        }
        return TypedTextToPageBytes(escaped, text_);
    }

    std::string Attribute(std::string_view name, std::string_view utf8Value) const {
        std::string attribute(name);
        attribute.append("=").append(1, layout_.quote);
        attribute.append(AttributeValue(utf8Value)).append(1, layout_.quote);
        return attribute;
    }

    std::string Tag(
        std::string_view name,
        std::initializer_list<std::pair<std::string_view, std::string_view>> attributes) const {
        std::string tag = std::string("<").append(name);
        for (const auto& [attribute, value] : attributes) {
            tag.append(" ").append(Attribute(attribute, value));
        }
        tag.append(layout_.close);
        return tag;
    }

    static ByteEdit Insertion(const TagPlacement& place, const std::vector<std::string>& tags) {
        ByteEdit edit{place.at, 0, {}};
        for (const std::string& tag : tags) {
            edit.inserted.append(place.before).append(tag).append(place.after);
        }
        return edit;
    }

    // The head's first place, where the charset must stand.
    TagPlacement HeadStartPlace() const {
        return PlaceAfter(text_,
                          layout_.headStart ? layout_.headStart->end : AfterLeadingPrologue(text_));
    }

    // The end of the head, where the other tags join those already there.
    TagPlacement HeadEndPlace() const {
        if (layout_.headEnd) {
            return PlaceBeforeHeadEnd(text_, *layout_.headEnd);
        }
        return HeadStartPlace();
    }

    void PlanCharset() {
        const CheckResult check = CheckCharset(facts_, bytes_);
        if (check.state == CheckState::Problem) {
            Leave(CheckId::Charset, "the declared charset disagrees with the page's bytes");
            return;
        }
        if (check.state != CheckState::Improve) {
            return;
        }
        const std::string_view charset =
            bytes_ == PageBytes::Windows1252 ? "windows-1252" : "utf-8";
        Fix(CheckId::Charset, {Insertion(HeadStartPlace(), {Tag("meta", {{"charset", charset}})})});
    }

    void PlanViewport() {
        if (CheckViewport(facts_).state == CheckState::Good) {
            return;
        }
        const bool present =
            std::any_of(facts_.metas.begin(), facts_.metas.end(),
                        [](const MetaTag& m) { return m.inHead && m.name == "viewport"; });
        if (present) {
            Leave(CheckId::Viewport, "the viewport tag sets neither a width nor a scale");
            return;
        }
        Fix(CheckId::Viewport,
            {Insertion(HeadEndPlace(),
                       {Tag("meta", {{"name", "viewport"},
                                     {"content", "width=device-width, initial-scale=1"}})})});
    }

    void PlanLanguage() {
        if (CheckLanguage(facts_).state == CheckState::Good) {
            return;
        }
        if (facts_.htmlLang) {
            Leave(CheckId::Language, "the page's language tag is malformed or unknown");
            return;
        }
        if (!layout_.html) {
            Leave(CheckId::Language, "the page has no <html> tag to hold the language");
            return;
        }
        if (!settings_.lang) {
            Leave(CheckId::Language, "needs the page's language", true);
            return;
        }
        // Right after the name, so the tag's own attributes and its end stay as written.
        const std::size_t at = layout_.html->begin + 5;
        Fix(CheckId::Language,
            {{at, 0, std::string(" ").append(Attribute("lang", *settings_.lang))}});
    }

    CanonicalReading Canonical() const {
        return ReadCanonical(facts_, PageAddress{settings_.file, {}, {}});
    }

    void PlanCanonical() {
        const CanonicalReading reading = Canonical();
        if (reading.count == 0) {
            if (!settings_.pageUrl) {
                Leave(CheckId::Canonical, "needs the site's address", true);
                return;
            }
            Fix(CheckId::Canonical,
                {Insertion(HeadEndPlace(),
                           {Tag("link", {{"rel", "canonical"}, {"href", *settings_.pageUrl}})})});
            return;
        }
        if (reading.distinct == 1 && reading.count > 1 &&
            layout_.canonicals.size() == reading.count) {
            Fix(CheckId::Canonical, LaterCopies(layout_.canonicals));
            return;
        }
        const CheckState state = CheckCanonical(reading).state;
        if (state == CheckState::Improve || state == CheckState::Problem) {
            Leave(CheckId::Canonical, "the canonical URL is left to you");
        }
    }

    std::vector<ByteEdit> LaterCopies(const std::vector<TagSpan>& tags) const {
        std::vector<ByteEdit> edits;
        for (std::size_t i = 1; i < tags.size(); ++i) {
            edits.push_back(RemovalOf(text_, tags[i]));
        }
        return edits;
    }

    void PlanDescriptionCopies() {
        std::vector<std::string> contents;
        for (const MetaTag& meta : facts_.metas) {
            if (meta.inHead && meta.name == "description") {
                contents.push_back(CollapseWhiteSpace(meta.content.value_or("")));
            }
        }
        if (contents.size() < 2) {
            return;
        }
        const bool oneValue = std::all_of(contents.begin(), contents.end(),
                                          [&](const std::string& c) { return c == contents[0]; });
        if (!oneValue || layout_.descriptions.size() != contents.size()) {
            Leave(CheckId::Description, "the page has descriptions that differ; keep one");
            return;
        }
        Fix(CheckId::Description, LaterCopies(layout_.descriptions));
    }

    bool HasSocial(std::string_view key) const {
        return std::any_of(facts_.metas.begin(), facts_.metas.end(), [&](const MetaTag& meta) {
            return (meta.name == key || meta.property == key) && meta.content &&
                   !CollapseWhiteSpace(*meta.content).empty();
        });
    }

    std::optional<std::string> Description() const {
        for (const MetaTag& meta : facts_.metas) {
            if (meta.inHead && meta.name == "description" && meta.content) {
                std::string text = CollapseWhiteSpace(*meta.content);
                if (!text.empty()) {
                    return text;
                }
            }
        }
        return std::nullopt;
    }

    // The page's own address for og:url: its canonical when it has one, so the two agree, and
    // none when that canonical is in doubt or names another page; else the settings' address.
    std::optional<std::string> OwnUrl() const {
        const CanonicalReading reading = Canonical();
        if (!reading.href) {
            return settings_.pageUrl;
        }
        if (CheckCanonical(reading).state == CheckState::Good) {
            return reading.href;
        }
        return std::nullopt;
    }

    void PlanSocial() {
        if (CheckSocial(facts_).state == CheckState::Good) {
            return;
        }
        std::vector<std::string> tags;
        const auto property = [&](std::string_view key, std::string_view value) {
            tags.push_back(Tag("meta", {{"property", key}, {"content", value}}));
        };
        if (!HasSocial("og:title")) {
            if (!facts_.titles.empty() && !facts_.titles.front().text.empty()) {
                property("og:title", facts_.titles.front().text);
            } else {
                Leave(CheckId::Social, "og:title needs a title");
            }
        }
        if (!HasSocial("og:description")) {
            if (const auto description = Description()) {
                property("og:description", *description);
            } else {
                Leave(CheckId::Social, "og:description needs a description");
            }
        }
        if (!HasSocial("og:url")) {
            if (const auto url = OwnUrl()) {
                property("og:url", *url);
            }
        }
        const bool image = HasSocial("og:image") || settings_.ogImage;
        if (!HasSocial("og:image")) {
            if (settings_.ogImage) {
                property("og:image", *settings_.ogImage);
            } else {
                Leave(CheckId::Social, "og:image needs an image address", true);
            }
        }
        if (!HasSocial("twitter:card")) {
            tags.push_back(Tag("meta", {{"name", "twitter:card"},
                                        {"content", image ? "summary_large_image" : "summary"}}));
        }
        if (!tags.empty()) {
            Fix(CheckId::Social, {Insertion(HeadEndPlace(), tags)});
        }
    }

    std::string_view text_;
    const FixSettings& settings_;
    PageBytes bytes_;
    std::string converted_;
    PageFacts facts_;
    HeadLayout layout_;
    FixPlan* plan_ = nullptr;
};

bool Requested(CheckId id, std::span<const CheckId> only) {
    return only.empty() || std::find(only.begin(), only.end(), id) != only.end();
}

FixPlan PlanOnce(std::string_view text, const FixSettings& settings,
                 const PageCheckOptions& options, std::span<const CheckId> only) {
    FixPlan plan;
    FixPlanner planner(text, settings);
    if (planner.IsRedirect()) {
        return plan;
    }
    for (const CheckId id : kFixable) {
        if (options.Enabled(id) && Requested(id, only)) {
            planner.Plan(id, plan);
        }
    }
    return plan;
}

bool IsUnreserved(char c) {
    return IsAsciiAlpha(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
           c == '~' || c == '/';
}

}  // namespace

std::span<const CheckId> FixableChecks() {
    return kFixable;
}

bool IsFixable(CheckId id) {
    return std::find(kFixable.begin(), kFixable.end(), id) != kFixable.end();
}

bool FixPlan::NeedsSettings() const {
    return std::any_of(unfixed.begin(), unfixed.end(),
                       [](const UnfixedCheck& check) { return check.needsSetting; });
}

FixPlan PlanPageFixes(std::string_view text, const FixSettings& settings,
                      const PageCheckOptions& options, std::span<const CheckId> only) {
    FixPlan plan = PlanOnce(text, settings, options, only);
    // A fix whose tags would not be read where they land (a head the writer misjudges) is
    // withdrawn, so fixing a fixed page never adds the same tags again.
    for (std::size_t round = 0; round <= kFixable.size() && plan.Changes(); ++round) {
        const FixPlan again = PlanOnce(ApplyPageFixes(text, plan), settings, options, only);
        if (!again.Changes()) {
            return plan;
        }
        // Past the last round, the fixes disturb each other's reading: none is made.
        const bool last = round == kFixable.size();
        std::erase_if(plan.fixes, [&](const PlannedFix& fix) {
            const bool failed =
                last || std::any_of(again.fixes.begin(), again.fixes.end(),
                                    [&](const PlannedFix& other) { return other.id == fix.id; });
            if (failed) {
                plan.unfixed.push_back(
                    {fix.id, "its tags would not be read in the page's head", false});
            }
            return failed;
        });
    }
    return plan;
}

bool AsksForFix(const CheckResult& check) {
    return IsFixable(check.id) && check.state != CheckState::Good;
}

FixPlan PlanReportedFixes(const PageCheckReport& report, std::string_view text,
                          const std::string& file, const PageCheckOptions& options) {
    if (file.empty() || std::none_of(report.checks.begin(), report.checks.end(), AsksForFix)) {
        return {};
    }
    return PlanPageFixes(text, FixSettings{file, {}, {}, {}}, options);
}

std::string ApplyPageFixes(std::string_view text, const FixPlan& plan) {
    std::vector<const ByteEdit*> edits;
    for (const PlannedFix& fix : plan.fixes) {
        for (const ByteEdit& edit : fix.edits) {
            edits.push_back(&edit);
        }
    }
    std::stable_sort(edits.begin(), edits.end(),
                     [](const ByteEdit* a, const ByteEdit* b) { return a->at < b->at; });
    std::string out;
    out.reserve(text.size() + 512);
    std::size_t copied = 0;
    for (const ByteEdit* edit : edits) {
        // Edits never overlap; one that would is skipped rather than garble the page.
        if (edit->at < copied || edit->at + edit->removed > text.size()) {
            continue;
        }
        out.append(text.substr(copied, edit->at - copied)).append(edit->inserted);
        copied = edit->at + edit->removed;
    }
    out.append(text.substr(copied));
    return out;
}

std::string PageUrl(std::string_view baseUrl, std::string_view pathBelowRoot) {
    std::string url(baseUrl);
    if (!url.ends_with('/')) {
        url.push_back('/');
    }
    while (pathBelowRoot.starts_with("./") || pathBelowRoot.starts_with('/')) {
        pathBelowRoot.remove_prefix(pathBelowRoot.starts_with('/') ? 1 : 2);
    }
    const std::size_t slash = pathBelowRoot.find_last_of('/');
    const std::string_view name =
        slash == std::string_view::npos ? pathBelowRoot : pathBelowRoot.substr(slash + 1);
    if (name == "index.html" || name == "index.htm" || name == "index.php") {
        pathBelowRoot.remove_suffix(name.size());
    }
    constexpr std::string_view kHex = "0123456789ABCDEF";
    for (const char c : pathBelowRoot) {
        if (IsUnreserved(c)) {
            url.push_back(c);
        } else {
            const auto byte = static_cast<unsigned char>(c);
            url.append({'%', kHex[byte >> 4], kHex[byte & 15]});
        }
    }
    return url;
}

}  // namespace velmora::page_checks
