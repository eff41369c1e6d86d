#include "cli/site_json.h"

#include <nlohmann/json.hpp>
#include <stdexcept>

namespace velmora::cli {
namespace {

using nlohmann::json;

void OptionalText(JsonWriter& out, std::string_view key, const std::optional<std::string>& text) {
    out.Key(key);
    if (text) {
        out.String(*text);
    } else {
        out.Null();
    }
}

void Position(JsonWriter& out, std::uint32_t line, std::uint32_t column) {
    out.Field("line", std::int64_t{line}).Field("column", std::int64_t{column});
}

// The canonical's or the refresh's own element, apart from the resolved field the issue names.
void AddressElement(JsonWriter& out, std::string_view key,
                    const std::optional<site_checks::PageAddress>& address) {
    out.Key(key);
    if (!address) {
        out.Null();
        return;
    }
    out.BeginObject().Field("href", address->href);
    Position(out, address->line, address->column);
    out.EndObject();
}

const json& Member(const json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end()) {
        throw std::runtime_error(std::string("the site object has no \"") + key + "\"");
    }
    return *found;
}

std::string Text(const json& object, const char* key) {
    const json& value = Member(object, key);
    if (!value.is_string()) {
        throw std::runtime_error(std::string("\"") + key + "\" of the site object is no text");
    }
    return value.get<std::string>();
}

std::optional<std::string> NullableText(const json& object, const char* key) {
    const json& value = Member(object, key);
    if (value.is_null()) {
        return std::nullopt;
    }
    return Text(object, key);
}

std::uint32_t Number(const json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end()) {
        return 1;
    }
    if (!found->is_number_unsigned() || found->get<std::uint64_t>() > UINT32_MAX) {
        throw std::runtime_error(std::string("\"") + key + "\" of the site object is no line");
    }
    return found->get<std::uint32_t>();
}

const json& Array(const json& object, const char* key) {
    const json& value = Member(object, key);
    if (!value.is_array()) {
        throw std::runtime_error(std::string("\"") + key + "\" of the site object is no list");
    }
    return value;
}

std::optional<site_checks::PageAddress> ReadAddress(const json& site, const char* resolvedKey,
                                                    const char* elementKey) {
    const auto element = site.find(elementKey);
    if (element == site.end() || element->is_null()) {
        return std::nullopt;
    }
    return site_checks::PageAddress{Text(*element, "href"), NullableText(site, resolvedKey),
                                    Number(*element, "line"), Number(*element, "column")};
}

}  // namespace

void WriteSiteObject(JsonWriter& out, const site_checks::PageSite& site) {
    out.BeginObject();
    OptionalText(out, "path", site.path);
    out.Key("links").BeginArray();
    for (const site_checks::PageLink& link : site.links) {
        out.BeginObject().Field("href", link.href);
        OptionalText(out, "to", link.to);
        OptionalText(out, "fragment", link.fragment);
        Position(out, link.line, link.column);
        out.EndObject();
    }
    out.EndArray().Field("ids", site.ids);
    OptionalText(out, "canonical",
                 site.canonical ? site.canonical->to : std::optional<std::string>());
    AddressElement(out, "canonical_element", site.canonical);
    out.Key("alternates").BeginArray();
    for (const site_checks::PageAlternate& alternate : site.alternates) {
        out.BeginObject().Field("hreflang", alternate.hreflang);
        OptionalText(out, "to", alternate.address.to);
        out.Field("href", alternate.address.href);
        Position(out, alternate.address.line, alternate.address.column);
        out.EndObject();
    }
    out.EndArray();
    OptionalText(out, "redirect", site.redirect ? site.redirect->to : std::optional<std::string>());
    AddressElement(out, "redirect_element", site.redirect);
    out.Field("noindex", site.noindex).EndObject();
}

site_checks::PageSite ReadSiteObject(const json& object) {
    if (!object.is_object()) {
        throw std::runtime_error("\"site\" is not an object");
    }
    site_checks::PageSite site;
    site.path = NullableText(object, "path");
    for (const json& link : Array(object, "links")) {
        site.links.push_back({Text(link, "href"), NullableText(link, "to"),
                              NullableText(link, "fragment"), Number(link, "line"),
                              Number(link, "column")});
    }
    for (const json& id : Array(object, "ids")) {
        if (!id.is_string()) {
            throw std::runtime_error("an id of the site object is no text");
        }
        site.ids.push_back(id.get<std::string>());
    }
    site.canonical = ReadAddress(object, "canonical", "canonical_element");
    for (const json& alternate : Array(object, "alternates")) {
        site.alternates.push_back({Text(alternate, "hreflang"),
                                   {Text(alternate, "href"), NullableText(alternate, "to"),
                                    Number(alternate, "line"), Number(alternate, "column")}});
    }
    site.redirect = ReadAddress(object, "redirect", "redirect_element");
    const json& noindex = Member(object, "noindex");
    if (!noindex.is_boolean()) {
        throw std::runtime_error("\"noindex\" of the site object is not true or false");
    }
    site.noindex = noindex.get<bool>();
    return site;
}

}  // namespace velmora::cli
