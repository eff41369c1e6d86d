#include "cli/site_lines.h"

#include <simdjson.h>

#include <array>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "cli/report_rules.h"
#include "cli/site_json.h"
#include "cli/suppression_json.h"

namespace velmora::cli {
namespace {

using nlohmann::json;
using site_checks::kNoText;
using site_checks::TextId;
using site_checks::TextPool;

// The text a duplicate check compares and where the page has it, from the page check's result:
// its own text (references decoded, as the page shows it), else the review's field for runs
// that skipped the check.
void ReadCompared(const json& page, std::string_view id, const char* field,
                  std::optional<std::string>& text,
                  std::optional<page_checks::CheckedElement>& element) {
    if (const auto checks = page.find("checks"); checks != page.end() && checks->is_array()) {
        for (const json& check : *checks) {
            if (!check.is_object() || check.value("id", "") != id) {
                continue;
            }
            if (const auto values = check.find("values");
                values != check.end() && values->is_object()) {
                const auto value = values->find("text");
                if (value != values->end() && value->is_string() &&
                    !value->get_ref<const std::string&>().empty()) {
                    text = value->get<std::string>();
                }
            }
            const auto line = check.find("line");
            const auto column = check.find("column");
            if (line != check.end() && line->is_number_unsigned() && column != check.end() &&
                column->is_number_unsigned()) {
                element = page_checks::CheckedElement{
                    0, {line->get<std::size_t>(), column->get<std::size_t>()}, text.value_or("")};
            }
            return;
        }
    }
    const auto value = page.find(field);
    if (value != page.end() && value->is_string() &&
        !value->get_ref<const std::string&>().empty()) {
        text = value->get<std::string>();
    }
}

namespace dom = simdjson::dom;

// Thrown inside the fast reader when the line is left to the general reader.
struct LeftToGeneralReader {};

void Require(bool condition) {
    if (!condition) {
        throw LeftToGeneralReader{};
    }
}

// A number written as "-0" is a signed zero to the general reader, which no line or column
// accepts, but the fast parser reads it as 0; such lines are left to the general reader.
bool HasNegativeZero(std::string_view line) {
    for (std::size_t at = line.find("-0"); at != std::string_view::npos;
         at = line.find("-0", at + 2)) {
        const std::size_t before = line.find_last_not_of(" \t\r\n", at == 0 ? 0 : at - 1);
        if (at == 0 || before == std::string_view::npos || line[before] == ':' ||
            line[before] == ',' || line[before] == '[') {
            return true;
        }
    }
    return false;
}

// The values of the keys asked for; of a key given twice the last, as the general reader keeps.
template <std::size_t N>
std::array<std::optional<dom::element>, N> Fields(dom::element value,
                                                  const std::array<std::string_view, N>& keys) {
    dom::object object;
    Require(value.get_object().get(object) == simdjson::SUCCESS);
    std::array<std::optional<dom::element>, N> found;
    for (const dom::key_value_pair field : object) {
        for (std::size_t i = 0; i < N; ++i) {
            if (field.key == keys[i]) {
                found[i] = field.value;
            }
        }
    }
    return found;
}

}  // namespace

// The texts of one line in the order they are interned, taken in together once the whole site
// object has been read.
// Outside the unnamed namespace because the reader's parser, a class of the header, holds one.
class PendingTexts {
public:
    // A stand-in for the text's id until the texts are interned; kNoText stays none.
    TextId Add(std::string_view text) {
        views_.push_back(text);
        return static_cast<TextId>(views_.size());
    }
    void Clear() { views_.clear(); }
    void InternInto(TextPool& texts) {
        ids_.resize(views_.size());
        texts.InternAll(views_, ids_);
    }
    TextId operator()(TextId standIn) const {
        return standIn == kNoText ? kNoText : ids_[standIn - 1];
    }

private:
    std::vector<std::string_view> views_;
    std::vector<TextId> ids_;
};

namespace {

// The stand-ins of a page read replaced by the ids they were interned as.
void Settle(site_checks::SitePage& page, const PendingTexts& ids) {
    page.path = ids(page.path);
    for (TextId& id : page.ids) {
        id = ids(id);
    }
    for (site_checks::SiteLink& link : page.links) {
        link.href = ids(link.href);
        link.to = ids(link.to);
        link.fragment = ids(link.fragment);
    }
    const auto settle = [&](site_checks::SiteAddress& address) {
        address.href = ids(address.href);
        address.to = ids(address.to);
    };
    if (page.canonical) {
        settle(*page.canonical);
    }
    for (site_checks::SiteAlternate& alternate : page.alternates) {
        alternate.hreflang = ids(alternate.hreflang);
        settle(alternate.address);
    }
    if (page.redirect) {
        settle(*page.redirect);
    }
}

std::string_view Text(const std::optional<dom::element>& value) {
    std::string_view text;
    Require(value && value->get_string().get(text) == simdjson::SUCCESS);
    return text;
}

TextId Interned(const std::optional<dom::element>& value, PendingTexts& texts) {
    return texts.Add(Text(value));
}

TextId NullableInterned(const std::optional<dom::element>& value, PendingTexts& texts) {
    Require(value.has_value());
    return value->is_null() ? kNoText : Interned(value, texts);
}

// A whole number from 0 up, as the general reader's unsigned numbers.
std::uint64_t Unsigned(const dom::element& value) {
    std::int64_t number = 0;
    if (value.type() == dom::element_type::INT64 &&
        value.get_int64().get(number) == simdjson::SUCCESS && number >= 0) {
        return static_cast<std::uint64_t>(number);
    }
    std::uint64_t big = 0;
    Require(value.type() == dom::element_type::UINT64 &&
            value.get_uint64().get(big) == simdjson::SUCCESS);
    return big;
}

bool IsUnsigned(const dom::element& value) {
    std::int64_t number = 0;
    return value.type() == dom::element_type::UINT64 ||
           (value.type() == dom::element_type::INT64 &&
            value.get_int64().get(number) == simdjson::SUCCESS && number >= 0);
}

// A line or column; 1 when it is not given.
std::uint32_t Position(const std::optional<dom::element>& value) {
    if (!value) {
        return 1;
    }
    const std::uint64_t number = Unsigned(*value);
    Require(number <= UINT32_MAX);
    return static_cast<std::uint32_t>(number);
}

dom::array Array(const std::optional<dom::element>& value) {
    dom::array array;
    Require(value && value->get_array().get(array) == simdjson::SUCCESS);
    return array;
}

std::optional<site_checks::SiteAddress> Address(const std::optional<dom::element>& resolved,
                                                const std::optional<dom::element>& element,
                                                PendingTexts& texts) {
    if (!element || element->is_null()) {
        return std::nullopt;
    }
    const auto [href, line, column] =
        Fields(*element, std::array<std::string_view, 3>{"href", "line", "column"});
    const TextId hrefId = Interned(href, texts);
    return site_checks::SiteAddress{hrefId, NullableInterned(resolved, texts), Position(line),
                                    Position(column)};
}

// The site object, its texts in the order InternPage interns a read one.
void ReadSite(const dom::element& object, site_checks::SitePage& page, PendingTexts& texts) {
    const auto [path, links, ids, canonical, canonicalElement, alternates, redirect,
                redirectElement, noindex] =
        Fields(object, std::array<std::string_view, 9>{"path", "links", "ids", "canonical",
                                                       "canonical_element", "alternates",
                                                       "redirect", "redirect_element", "noindex"});
    page.path = NullableInterned(path, texts);
    const dom::array idList = Array(ids);
    page.ids.reserve(idList.size());
    for (const dom::element id : idList) {
        page.ids.push_back(Interned(id, texts));
    }
    const dom::array linkList = Array(links);
    page.links.reserve(linkList.size());
    for (const dom::element link : linkList) {
        const auto [href, to, fragment, line, column] = Fields(
            link, std::array<std::string_view, 5>{"href", "to", "fragment", "line", "column"});
        const TextId hrefId = Interned(href, texts);
        const TextId toId = NullableInterned(to, texts);
        page.links.push_back(
            {hrefId, toId, NullableInterned(fragment, texts), Position(line), Position(column)});
    }
    page.canonical = Address(canonical, canonicalElement, texts);
    for (const dom::element alternate : Array(alternates)) {
        const auto [hreflang, href, to, line, column] = Fields(
            alternate, std::array<std::string_view, 5>{"hreflang", "href", "to", "line", "column"});
        const TextId language = Interned(hreflang, texts);
        const TextId hrefId = Interned(href, texts);
        page.alternates.push_back(
            {language, {hrefId, NullableInterned(to, texts), Position(line), Position(column)}});
    }
    page.redirect = Address(redirect, redirectElement, texts);
    bool hidden = false;
    Require(noindex && noindex->get_bool().get(hidden) == simdjson::SUCCESS);
    page.noindex = hidden;
}

void FastCompared(const std::optional<dom::element>& checks,
                  const std::optional<dom::element>& field, std::string_view id,
                  std::optional<std::string>& text,
                  std::optional<page_checks::CheckedElement>& element) {
    dom::array list;
    if (checks && checks->get_array().get(list) == simdjson::SUCCESS) {
        for (const dom::element check : list) {
            if (!check.is_object()) {
                continue;
            }
            const auto [checkId, values, line, column] =
                Fields(check, std::array<std::string_view, 4>{"id", "values", "line", "column"});
            if ((checkId ? Text(checkId) : std::string_view()) != id) {
                continue;
            }
            if (values && values->is_object()) {
                const auto [value] = Fields(*values, std::array<std::string_view, 1>{"text"});
                std::string_view compared;
                if (value && value->get_string().get(compared) == simdjson::SUCCESS &&
                    !compared.empty()) {
                    text = std::string(compared);
                }
            }
            if (line && IsUnsigned(*line) && column && IsUnsigned(*column)) {
                element = page_checks::CheckedElement{
                    0, {Unsigned(*line), Unsigned(*column)}, text.value_or("")};
            }
            return;
        }
    }
    std::string_view compared;
    if (field && field->get_string().get(compared) == simdjson::SUCCESS && !compared.empty()) {
        text = std::string(compared);
    }
}

Suppressions FastSuppressions(const std::optional<dom::element>& list) {
    Suppressions read;
    if (!list) {
        return read;
    }
    for (const dom::element entry : Array(list)) {
        const auto [id, line] = Fields(entry, std::array<std::string_view, 2>{"id", "line"});
        const std::optional<std::size_t> rule = RuleIndexNamed(Text(id));
        if (!rule) {
            continue;
        }
        if (!line) {
            read.pageRules.push_back(*rule);
            continue;
        }
        const std::uint64_t number = Unsigned(*line);
        Require(number > 0);
        read.lineRules.push_back({number, *rule});
    }
    return read;
}

}  // namespace

struct SiteLineReader::Parser {
    dom::parser parser;
    PendingTexts texts;
};

SiteLineReader::SiteLineReader() : parser_(std::make_unique<Parser>()) {}

SiteLineReader::~SiteLineReader() = default;

std::optional<std::optional<SiteLine>> SiteLineReader::ReadFast(std::string& line,
                                                                TextPool& texts) {
    if (HasNegativeZero(line)) {
        return std::nullopt;
    }
    // The parser reads past the end of the text; the padding saves it a copy of each line.
    line.reserve(line.size() + simdjson::SIMDJSON_PADDING);
    dom::element document;
    if (parser_->parser.parse(line.data(), line.size(), false).get(document) != simdjson::SUCCESS) {
        return std::nullopt;
    }
    try {
        const auto [file, format, site, checks, title, description, suppressions] = Fields(
            document, std::array<std::string_view, 7>{"file", "format", "site", "checks", "title",
                                                      "description", "suppressions"});
        const std::string_view name = Text(file);
        if (!format) {
            return std::optional<SiteLine>();
        }
        SiteLine read;
        read.page.file = std::string(name);
        if (site) {
            parser_->texts.Clear();
            ReadSite(*site, read.page, parser_->texts);
            parser_->texts.InternInto(texts);
            Settle(read.page, parser_->texts);
        }
        FastCompared(checks, title, "title", read.page.title, read.page.titleElement);
        FastCompared(checks, description, "description", read.page.description,
                     read.page.descriptionElement);
        read.suppressions = FastSuppressions(suppressions);
        return std::optional<SiteLine>(std::move(read));
    } catch (const LeftToGeneralReader&) {
        return std::nullopt;
    }
}

std::optional<SiteLine> SiteLineReader::Read(std::string& line, TextPool& texts) {
    if (std::optional<std::optional<SiteLine>> fast = ReadFast(line, texts)) {
        return std::move(*fast);
    }
    return ReadSiteLine(line, texts);
}

std::optional<SiteLine> ReadSiteLine(const std::string& line, TextPool& texts) {
    const json page = json::parse(line);
    if (!page.is_object() || !page.contains("file") || !page["file"].is_string()) {
        throw std::runtime_error("not a page of velmora-cli analyze --json (no \"file\")");
    }
    if (!page.contains("format")) {
        return std::nullopt;
    }
    const auto site = page.find("site");
    const site_checks::PageSite pageSite =
        site == page.end() ? site_checks::PageSite{} : ReadSiteObject(*site);
    site_checks::SitePage read =
        site_checks::InternPage(page["file"].get<std::string>(), pageSite, texts);
    ReadCompared(page, "title", "title", read.title, read.titleElement);
    ReadCompared(page, "description", "description", read.description, read.descriptionElement);
    const auto suppressions = page.find("suppressions");
    return SiteLine{std::move(read), suppressions == page.end()
                                         ? Suppressions{}
                                         : ReadSuppressionList(*suppressions)};
}

}  // namespace velmora::cli
