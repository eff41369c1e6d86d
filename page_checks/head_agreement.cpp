#include "page_checks/head_agreement.h"

#include <array>
#include <optional>
#include <string>

#include "core/html_functions_read.h"
#include "core/kel_string_functions.h"
#include "core/line_index.h"
#include "page_checks/html_tokenizer.h"
#include "page_checks/name_list.h"
#include "page_checks/tag_name.h"

namespace velmora::page_checks {
namespace {

// Where the head reader's match stands as a browser reads the page.
enum class Place {
    Same,       // it is the page's own element
    None,       // neither reader finds one
    Unread,     // the page has one the text search does not recognise
    Comment,    // inside a comment
    RawText,    // inside a script, a style or another element whose content holds no tags
    Attribute,  // inside another tag, an attribute value most likely
    Foreign,    // inside <svg> or <math>
    Template,   // inside a <template>, which browsers keep out of the page
    Body,       // a meta tag past the head, which search engines ignore
    Later,      // a real element, but not the first: the one browsers use comes before
    Other,      // in markup browsers drop or read as no tag at all
};

std::string_view PlaceName(Place place) {
    switch (place) {
        case Place::Same:
            return "same";
        case Place::None:
            return "none";
        case Place::Unread:
            return "unread";
        case Place::Comment:
            return "comment";
        case Place::RawText:
            return "raw-text";
        case Place::Attribute:
            return "attribute";
        case Place::Foreign:
            return "foreign";
        case Place::Template:
            return "template";
        case Place::Body:
            return "body";
        case Place::Later:
            return "later";
        case Place::Other:
            break;
    }
    return "other";
}

struct Whereabouts {
    Place place = Place::Other;
    std::string holder;  // the element around it: "script", "svg", "div"
};

struct Reading {
    std::string_view name;  // "title", "description", "keywords"
    std::string_view tag;   // as a person writes it: "<title>", "<meta name=\"keywords\">"
    std::string_view searchedFor;
    std::optional<std::size_t> found;  // the head reader's match, a byte offset
    std::optional<std::size_t> own;    // the element browsers and search engines read
    Whereabouts where;
};

std::optional<std::size_t> OwnMeta(const PageFacts& facts, std::string_view name) {
    for (const MetaTag& meta : facts.metas) {
        if (meta.inHead && meta.name == name) {
            return meta.at;
        }
    }
    return std::nullopt;
}

const MetaTag* MetaAt(const PageFacts& facts, std::size_t at) {
    for (const MetaTag& meta : facts.metas) {
        if (meta.at == at) {
            return &meta;
        }
    }
    return nullptr;
}

// Reads the page up to the token holding `at`. Only a page whose readers disagree gets here, so
// the common page pays nothing for it.
Whereabouts Locate(std::string_view page, std::size_t at, const PageFacts& facts) {
    HtmlTokenizer tokenizer(page);
    Token token;
    std::string previousStart;  // the start tag just before: a raw text's element
    std::string foreignRoot;    // "svg" or "math" while inside one
    std::size_t templates = 0;
    while (tokenizer.Next(token)) {
        if (token.end <= at) {
            const bool start = token.kind == TokenKind::StartTag;
            previousStart = start ? std::string(token.text) : std::string();
            if (!token.inSvgOrMath) {
                foreignRoot.clear();
            } else if (foreignRoot.empty() && start) {
                foreignRoot = std::string(token.text);
            }
            if (!token.inSvgOrMath && token.tag == PackTagName("template")) {
                if (start) {
                    ++templates;
                } else if (token.kind == TokenKind::EndTag && templates > 0) {
                    --templates;
                }
            }
            continue;
        }
        switch (token.kind) {
            case TokenKind::Comment:
                return {Place::Comment, {}};
            case TokenKind::Text:
                if (!previousStart.empty()) {
                    return {Place::RawText, previousStart};
                }
                return {};
            case TokenKind::EndTag:
                return {Place::Attribute, std::string("/").append(token.text)};
            case TokenKind::StartTag:
                if (token.begin != at) {
                    return {Place::Attribute, std::string(token.text)};
                }
                if (token.inSvgOrMath) {
                    return {Place::Foreign, foreignRoot.empty() ? "svg" : foreignRoot};
                }
                if (templates > 0) {
                    return {Place::Template, "template"};
                }
                if (const MetaTag* meta = MetaAt(facts, at); meta != nullptr && !meta->inHead) {
                    return {Place::Body, {}};
                }
                return {Place::Later, {}};
            case TokenKind::Doctype:
            case TokenKind::Dropped:
                return {};
        }
    }
    return {};
}

std::string Phrase(const Whereabouts& where) {
    switch (where.place) {
        case Place::Comment:
            return "in a comment";
        case Place::RawText:
            return "inside a <" + where.holder + ">";
        case Place::Attribute:
            return "inside a <" + where.holder + "> tag";
        case Place::Foreign:
        case Place::Template:
            return "inside an <" + where.holder + ">";
        case Place::Body:
            return "in the body";
        default:
            break;
    }
    return "in markup browsers do not read as a tag";
}

// Where the head reader finds the title, description and keywords, and where the page's own are.
std::array<Reading, 3> FindReadings(std::string_view utf8Page, const PageFacts& facts) {
    std::array<Reading, 3> readings = {{
        {"title", "<title>", "<title>", {}, {}, {}},
        {"description", "<meta name=\"description\">", "<meta name=\"description\"", {}, {}, {}},
        {"keywords", "<meta name=\"keywords\">", "<meta name=\"keywords\"", {}, {}, {}},
    }};
    // The head reader and writer take the first "<title>" in any letter case for the title.
    if (const std::size_t title = PositionIgnoringAsciiCase("<title>", utf8Page); title != 0) {
        readings[0].found = title - 1;
    }
    if (!facts.titles.empty()) {
        readings[0].own = facts.titles.front().at;
    }
    for (Reading* meta : {&readings[1], &readings[2]}) {
        if (const MetaTagPosition tag = FindMetaTag(utf8Page, meta->name); tag.found) {
            meta->found = tag.TagStart - 1;
        }
        meta->own = OwnMeta(facts, meta->name);
    }
    return readings;
}

}  // namespace

CheckResult CheckHeadAgreement(std::string_view utf8Page, const PageFacts& facts) {
    std::array<Reading, 3> readings = FindReadings(utf8Page, facts);
    CheckResult result;
    result.id = CheckId::HeadAgreement;
    std::optional<LineIndex> lines;
    const auto line = [&](std::size_t offset) {
        if (!lines) {
            lines.emplace(utf8Page, LineIndex::Unit::Utf8CodePoints);
        }
        return std::to_string(lines->At(offset).line);
    };
    std::vector<std::string_view> agreeing;
    std::size_t misread = 0;
    std::string problems;
    std::string unread;
    for (Reading& reading : readings) {
        if (reading.found == reading.own) {
            reading.where.place = reading.own ? Place::Same : Place::None;
            if (reading.own) {
                agreeing.push_back(reading.name);
            }
        } else if (!reading.found) {
            reading.where.place = Place::Unread;
            unread += " The review and the editor do not recognise the page's " +
                      std::string(reading.tag) + " on line " + line(*reading.own) +
                      ", as their text search looks for \"" + std::string(reading.searchedFor) +
                      "\" written just so; an edit would add a second one.";
            result.listed.push_back({*reading.own, {}, std::string(reading.tag)});
        } else {
            reading.where = Locate(utf8Page, *reading.found, facts);
            ++misread;
            const std::string tag(reading.tag);
            problems += " The review and the editor read ";
            if (reading.where.place == Place::Later) {
                problems += "a later " + tag;
            } else {
                problems += "the " + tag + " " + Phrase(reading.where);
            }
            problems += " on line " + line(*reading.found);
            problems += reading.own ? ", not the page's own on line " + line(*reading.own) + "."
                                    : ", which search engines do not take for the page's " +
                                          std::string(reading.name) + ".";
            result.listed.push_back(
                {*reading.found, {}, tag + " " + std::string(PlaceName(reading.where.place))});
        }
        result.values.push_back(
            {std::string(reading.name), std::string(PlaceName(reading.where.place))});
    }

    if (misread > 0) {
        result.state = CheckState::Problem;
        result.message = problems.substr(1) + unread +
                         (misread == 1 ? " Edits would change that tag: remove it, or put the "
                                         "page's own in the head before it."
                                       : " Edits would change those tags: remove them, or put "
                                         "the page's own in the head before them.");
    } else if (!unread.empty()) {
        result.state = CheckState::Info;
        result.message = unread.substr(1);
    } else if (!agreeing.empty()) {
        result.state = CheckState::Good;
        result.message =
            "The review and the editor read the page's own " + JoinNames(agreeing) + ".";
    } else {
        result.state = CheckState::Info;
        result.message =
            "The page has no title, description or keywords for the review and the editor to read.";
    }
    return result;
}

}  // namespace velmora::page_checks
