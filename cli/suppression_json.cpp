#include "cli/suppression_json.h"

#include <nlohmann/json.hpp>
#include <stdexcept>

#include "cli/report_rules.h"

namespace velmora::cli {

void WriteSuppressions(JsonWriter& json, const Suppressions& suppressions) {
    json.BeginArray();
    for (const std::size_t rule : suppressions.pageRules) {
        json.BeginObject().Field("id", ReportRules()[rule].id).EndObject();
    }
    for (const LineSuppression& entry : suppressions.lineRules) {
        json.BeginObject()
            .Field("id", ReportRules()[entry.rule].id)
            .Field("line", static_cast<std::int64_t>(entry.line))
            .EndObject();
    }
    json.EndArray();
}

Suppressions ReadSuppressionList(const nlohmann::json& list) {
    if (!list.is_array()) {
        throw std::runtime_error("\"suppressions\" is not a list");
    }
    Suppressions read;
    for (const nlohmann::json& entry : list) {
        const auto id = entry.is_object() ? entry.find("id") : entry.end();
        if (!entry.is_object() || id == entry.end() || !id->is_string()) {
            throw std::runtime_error("a suppression has no \"id\"");
        }
        const std::optional<std::size_t> rule = RuleIndexNamed(id->get_ref<const std::string&>());
        if (!rule) {
            continue;
        }
        const auto line = entry.find("line");
        if (line == entry.end()) {
            read.pageRules.push_back(*rule);
        } else if (line->is_number_unsigned() && line->get<std::uint64_t>() > 0) {
            read.lineRules.push_back({line->get<std::size_t>(), *rule});
        } else {
            throw std::runtime_error("the \"line\" of a suppression is no line");
        }
    }
    return read;
}

}  // namespace velmora::cli
