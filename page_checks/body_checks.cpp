#include "page_checks/body_checks.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>

#include "core/text_rules.h"
#include "page_checks/generic_link_phrases.h"
#include "page_checks/name_list.h"
#include "page_checks/page_text.h"

namespace velmora::page_checks {
namespace {

constexpr std::size_t kListed = 5;
constexpr std::size_t kKeyphraseLeadWords = 100;

// "h1" to "h6".
std::string LevelName(int level) {
    return std::string{'h', static_cast<char>('0' + level)};
}

CheckedElement Element(const Heading& heading) {
    return {heading.at, {}, heading.text};
}

CheckResult Start(CheckId id) {
    CheckResult result;
    result.id = id;
    return result;
}

std::vector<std::string> LowerWords(std::string_view text, std::size_t limit = SIZE_MAX) {
    std::vector<std::string> words;
    for (const Word& word : SplitWords(text, limit)) {
        words.push_back(LowerCase(word.text));
    }
    return words;
}

// Whether the lower-cased phrase words stand next to each other in `text`, in order.
bool ContainsPhrase(std::string_view text, const std::vector<std::string>& phrase,
                    std::size_t limit = SIZE_MAX) {
    if (phrase.empty()) {
        return false;
    }
    const std::vector<Word> words = SplitWords(text, limit);
    std::vector<std::string> lowered;
    lowered.reserve(words.size());
    for (const Word& word : words) {
        lowered.push_back(LowerCase(word.text));
    }
    for (std::size_t i = 0; i + phrase.size() <= words.size(); ++i) {
        bool match = true;
        for (std::size_t k = 0; k < phrase.size() && match; ++k) {
            match = lowered[i + k] == phrase[k] && (k == 0 || words[i + k].followsDirectly);
        }
        if (match) {
            return true;
        }
    }
    return false;
}

std::string_view BaseName(std::string_view fileName) {
    const std::size_t slash = fileName.find_last_of('/');
    std::string_view base = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    const std::size_t dot = base.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0) {
        base = base.substr(0, dot);
    }
    return base;
}

// The file name's base split at "-", "_" and ".", its parts joined by blanks.
std::string FileNameWords(std::string_view fileName) {
    std::string words(BaseName(fileName));
    std::replace_if(
        words.begin(), words.end(), [](char c) { return c == '-' || c == '_' || c == '.'; }, ' ');
    return words;
}

// "More »", "Read more…", "More >": punctuation, symbols and white space at the end go.
std::string_view WithoutTrailingSymbols(std::string_view utf8) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf8.data());
    auto end = static_cast<std::int32_t>(utf8.size());
    while (end > 0) {
        std::int32_t at = end;
        UChar32 c = 0;
        U8_PREV(bytes, 0, at, c);
        if (c < 0) {
            break;
        }
        const auto category = static_cast<UCharCategory>(u_charType(c));
        const bool drop = u_ispunct(c) || u_isUWhiteSpace(c) || category == U_MATH_SYMBOL ||
                          category == U_CURRENCY_SYMBOL || category == U_MODIFIER_SYMBOL ||
                          category == U_OTHER_SYMBOL;
        if (!drop) {
            break;
        }
        end = at;
    }
    return utf8.substr(0, static_cast<std::size_t>(end));
}

std::string Count(std::size_t n, std::string_view one, std::string_view many) {
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

}  // namespace

bool IsGenericLinkName(std::string_view name) {
    const std::string key = ComparisonKey(WithoutTrailingSymbols(name));
    return std::find(kGenericLinkPhrases.begin(), kGenericLinkPhrases.end(), key) !=
           kGenericLinkPhrases.end();
}

CheckResult CheckH1(const PageFacts& facts) {
    CheckResult result = Start(CheckId::H1);
    std::size_t count = 0;
    std::size_t withText = 0;
    CheckValue::List texts;
    std::vector<const Heading*> h1s;
    for (const Heading& heading : facts.headings) {
        if (heading.level == 1) {
            ++count;
            withText += heading.text.empty() ? 0 : 1;
            texts.emplace_back(heading.text);
            h1s.push_back(&heading);
        }
    }
    // The one to act on: the second of several with text, which is one too many; else the first.
    if (!h1s.empty()) {
        result.element = Element(*h1s[withText > 0 && h1s.size() > 1 ? 1 : 0]);
    }
    result.values.push_back({"count", count});
    result.values.push_back({"texts", std::move(texts)});
    if (count == 0) {
        result.state = CheckState::Problem;
        result.message = "The page has no <h1>; give it one main heading.";
    } else if (withText == 0) {
        result.state = CheckState::Problem;
        result.message = count == 1 ? "The <h1> is empty; give it the page's main heading."
                                    : "All " + std::to_string(count) +
                                          " <h1> elements are empty; keep one "
                                          "and give it the page's main heading.";
    } else if (count > 1) {
        result.state = CheckState::Improve;
        result.message =
            "The page has " + std::to_string(count) + " <h1> elements; keep one main heading.";
    } else {
        result.state = CheckState::Good;
        result.message = "The page has one <h1> with text.";
    }
    return result;
}

CheckResult CheckHeadings(const PageFacts& facts) {
    CheckResult result = Start(CheckId::Headings);
    result.values.push_back({"count", facts.headings.size()});
    if (facts.headings.empty()) {
        result.state = CheckState::Info;
        result.message = "The page has no headings.";
        return result;
    }
    std::size_t skips = 0;
    const Heading* firstBefore = nullptr;
    const Heading* firstSkip = nullptr;
    CheckValue::List listed;
    for (std::size_t i = 1; i < facts.headings.size(); ++i) {
        const Heading& before = facts.headings[i - 1];
        const Heading& heading = facts.headings[i];
        if (heading.level <= before.level + 1) {
            continue;
        }
        ++skips;
        if (firstSkip == nullptr) {
            firstBefore = &before;
            firstSkip = &heading;
        }
        if (listed.size() < kListed) {
            listed.emplace_back(CheckValue::Object{{"from", LevelName(before.level)},
                                                   {"to", LevelName(heading.level)},
                                                   {"text", heading.text}});
        }
        result.listed.push_back(Element(heading));
    }
    if (skips == 0) {
        result.state = CheckState::Good;
        result.message = "The headings skip no level.";
        return result;
    }
    result.state = CheckState::Improve;
    result.message =
        "The headings skip a level " + std::to_string(skips) + (skips == 1 ? " time" : " times") +
        ", first from h" + std::to_string(firstBefore->level) + " to h" +
        std::to_string(firstSkip->level) + " \"" + firstSkip->text + "\"; use the next level down.";
    result.values.push_back({"skips", skips});
    result.values.push_back({"first", std::move(listed)});
    return result;
}

CheckResult CheckImages(const PageFacts& facts) {
    CheckResult result = Start(CheckId::Images);
    result.values.push_back({"count", facts.images.size()});
    if (facts.images.empty()) {
        result.state = CheckState::Info;
        result.message = "The page has no images.";
        return result;
    }
    std::size_t missing = 0;
    std::size_t decorative = 0;
    CheckValue::List sources;
    for (const Image& image : facts.images) {
        decorative += image.decorative ? 1 : 0;
        if (!image.hasAlt) {
            ++missing;
            if (sources.size() < kListed) {
                sources.emplace_back(image.src);
            }
            result.listed.push_back({image.at, {}, image.src});
        }
    }
    result.values.push_back({"decorative", decorative});
    if (missing == 0) {
        result.state = CheckState::Good;
        result.message = decorative == 0 ? "Every image has alt text."
                                         : "Every image has alt text or is marked decorative (" +
                                               Count(decorative, "image", "images") + ").";
        return result;
    }
    result.state = CheckState::Improve;
    result.message = std::to_string(missing) + " of " +
                     Count(facts.images.size(), "image", "images") +
                     (missing == 1 ? " has" : " have") +
                     " no alt attribute; describe each, or use alt=\"\" for decoration.";
    result.values.push_back({"missing", missing});
    result.values.push_back({"first", std::move(sources)});
    return result;
}

namespace {

// Links whose text is no invitation to judge: mail, phone, script and same-page links, and
// links the page asks crawlers not to follow.
bool IsJudgedForGenericText(const Anchor& anchor) {
    if (std::find(anchor.rel.begin(), anchor.rel.end(), "nofollow") != anchor.rel.end()) {
        return false;
    }
    const std::string href = AsciiLower(CollapseWhiteSpace(anchor.href.value_or("")));
    return !(href.starts_with("mailto:") || href.starts_with("tel:") ||
             href.starts_with("javascript:") || href.starts_with('#'));
}

// A crawler follows an href to an address: none, or a script, leads nowhere.
bool IsUncrawlable(const Anchor& anchor) {
    if (!anchor.href) {
        return anchor.hasOnclick;
    }
    return AsciiLower(CollapseWhiteSpace(*anchor.href)).starts_with("javascript:");
}

}  // namespace

CheckResult CheckLinks(const PageFacts& facts) {
    CheckResult result = Start(CheckId::Links);
    result.values.push_back({"count", facts.anchors.size()});
    if (facts.anchors.empty()) {
        result.state = CheckState::Info;
        result.message = "The page has no links.";
        return result;
    }
    std::size_t generic = 0;
    std::size_t empty = 0;
    std::size_t uncrawlable = 0;
    CheckValue::List listed;
    for (const Anchor& anchor : facts.anchors) {
        const std::string href = anchor.href.value_or(std::string());
        const bool noName =
            anchor.name.empty() && CollapseWhiteSpace(anchor.ariaLabel.value_or("")).empty();
        const bool isGeneric = IsJudgedForGenericText(anchor) && IsGenericLinkName(anchor.name);
        const bool cannotFollow = IsUncrawlable(anchor);
        generic += isGeneric ? 1 : 0;
        empty += noName ? 1 : 0;
        uncrawlable += cannotFollow ? 1 : 0;
        if (isGeneric && listed.size() < kListed) {
            listed.emplace_back(CheckValue::Object{{"text", anchor.name}, {"href", href}});
        }
        if (isGeneric || noName || cannotFollow) {
            result.listed.push_back({anchor.at, {}, href.empty() ? anchor.name : href});
        }
    }
    result.values.push_back({"generic", generic});
    result.values.push_back({"empty", empty});
    result.values.push_back({"uncrawlable", uncrawlable});
    result.values.push_back({"first", std::move(listed)});
    if (generic + empty + uncrawlable == 0) {
        result.state = CheckState::Good;
        result.message = "Every link has a descriptive name and can be followed.";
        return result;
    }
    std::vector<std::string> faults;
    if (generic > 0) {
        faults.push_back(Count(generic, "link says", "links say") + " nothing about " +
                         (generic == 1 ? "its target" : "their targets") +
                         " (such as \"click here\")");
    }
    if (empty > 0) {
        faults.push_back(Count(empty, "link has", "links have") + " no name");
    }
    if (uncrawlable > 0) {
        faults.push_back(Count(uncrawlable, "link", "links") +
                         (uncrawlable == 1 ? " has" : " have") + " no address crawlers can follow");
    }
    std::string joined;
    for (std::size_t i = 0; i < faults.size(); ++i) {
        joined += (i == 0 ? "" : (i + 1 == faults.size() ? " and " : ", ")) + faults[i];
    }
    result.state = CheckState::Improve;
    result.message =
        joined + "; name what each link leads to, in visible text, and give it an href.";
    return result;
}

CheckResult CheckContent(const PageFacts& facts, const PageCheckOptions& options) {
    CheckResult result = Start(CheckId::Content);
    const std::size_t words = CountWords(facts.text);
    const auto good = static_cast<std::size_t>(options.ContentGoodWords);
    const auto minimum = static_cast<std::size_t>(options.ContentMinimumWords);
    result.values.push_back({"words", words});
    if (words >= good) {
        result.state = CheckState::Good;
        result.message = "The page has " + Count(words, "word", "words") + " of text.";
    } else if (words >= minimum) {
        result.state = CheckState::Improve;
        result.message = "The page has " + Count(words, "word", "words") + " of text; aim for " +
                         std::to_string(good) + " or more.";
    } else {
        result.state = CheckState::Problem;
        result.message = "The page has only " + Count(words, "word", "words") +
                         " of text; write at least " + std::to_string(minimum) + ", better " +
                         std::to_string(good) + ".";
    }
    return result;
}

namespace {

// The first keyword of the page's keywords tag that is not empty, or "" without one.
std::string FirstMetaKeyword(const PageFacts& facts) {
    for (const MetaTag& meta : facts.metas) {
        if (meta.name == "keywords" && meta.content) {
            const std::string& content = *meta.content;
            for (std::size_t at = 0; at <= content.size();) {
                const std::size_t comma = std::min(content.find(',', at), content.size());
                std::string keyword = CollapseWhiteSpace(content.substr(at, comma - at));
                if (!keyword.empty()) {
                    return keyword;
                }
                at = comma + 1;
            }
            return {};
        }
    }
    return {};
}

}  // namespace

CheckResult CheckKeyphrase(const PageFacts& facts, const PageCheckOptions& options,
                           std::string_view fileName) {
    CheckResult result = Start(CheckId::Keyphrase);
    std::string keyphrase = CollapseWhiteSpace(options.FocusKeyphrase);
    std::string source = "focus";
    if (keyphrase.empty()) {
        source = "keywords";
        keyphrase = FirstMetaKeyword(facts);
    }
    const std::vector<std::string> phrase = LowerWords(keyphrase);
    if (phrase.empty()) {
        result.state = CheckState::Info;
        result.message = "No focus keyphrase was given and the page has no meta keywords.";
        return result;
    }
    result.values.push_back({"keyphrase", keyphrase});
    result.values.push_back({"source", source});

    std::string description;
    for (const MetaTag& meta : facts.metas) {
        if (meta.name == "description") {
            description = meta.content.value_or("");
            break;
        }
    }
    std::string firstH1;
    for (const Heading& heading : facts.headings) {
        if (heading.level == 1) {
            firstH1 = heading.text;
            break;
        }
    }
    const std::string title = facts.titles.empty() ? std::string() : facts.titles.front().text;
    struct Place {
        std::string_view name;
        bool found;
    };
    const std::array<Place, 5> places = {{
        {"title", ContainsPhrase(title, phrase)},
        {"description", ContainsPhrase(description, phrase)},
        {"h1", ContainsPhrase(firstH1, phrase)},
        {"first 100 words", ContainsPhrase(facts.text, phrase, kKeyphraseLeadWords)},
        {"file name", ContainsPhrase(FileNameWords(fileName), phrase)},
    }};
    std::vector<std::string_view> missing;
    CheckValue::Object found;
    for (const Place& place : places) {
        found.push_back({std::string(place.name), place.found});
        if (!place.found) {
            missing.push_back(place.name);
        }
    }
    result.values.push_back({"found", std::move(found)});
    const std::string quoted = "\"" + keyphrase + "\"";
    if (!places[0].found && !places[2].found) {
        result.state = CheckState::Problem;
        result.message = "The keyphrase " + quoted + " is in neither the title nor the <h1>; " +
                         "put it in both.";
    } else if (!missing.empty()) {
        result.state = CheckState::Improve;
        result.message =
            "The keyphrase " + quoted + " is missing from the " + JoinNames(missing) + ".";
    } else {
        result.state = CheckState::Good;
        result.message = "The keyphrase " + quoted +
                         " is in the title, the description, the <h1>, the first 100 words and "
                         "the file name.";
    }
    return result;
}

}  // namespace velmora::page_checks
