#include "cli/check_json.h"

#include <type_traits>
#include <variant>

namespace velmora::cli {
namespace {

using page_checks::CheckField;
using page_checks::CheckResult;
using page_checks::CheckValue;

void WriteValue(JsonWriter& json, const CheckValue& value);

void WriteObject(JsonWriter& json, const CheckValue::Object& fields) {
    json.BeginObject();
    for (const CheckField& field : fields) {
        json.Key(field.name);
        WriteValue(json, field.value);
    }
    json.EndObject();
}

// The values of a check are a shallow tree (a list of a few objects at most), so recursion is
// bounded by the checks themselves, not by the page.
void WriteValue(JsonWriter& json, const CheckValue& value) {
    std::visit(
        [&json](const auto& held) {
            using Held = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<Held, std::monostate>) {
                json.Null();
            } else if constexpr (std::is_same_v<Held, bool>) {
                json.Bool(held);
            } else if constexpr (std::is_same_v<Held, std::int64_t>) {
                json.Integer(held);
            } else if constexpr (std::is_same_v<Held, std::string>) {
                json.String(held);
            } else if constexpr (std::is_same_v<Held, CheckValue::List>) {
                json.BeginArray();
                for (const CheckValue& item : held) {
                    WriteValue(json, item);
                }
                json.EndArray();
            } else {
                WriteObject(json, held);
            }
        },
        value.value);
}

// The element a check judged as "line" and "column"; the ones it lists as "elements".
void WriteElements(JsonWriter& json, const CheckResult& check) {
    if (check.element) {
        WritePosition(json, check.element->position);
    }
    if (check.listed.empty()) {
        return;
    }
    json.Key("elements").BeginArray();
    for (const page_checks::CheckedElement& element : check.listed) {
        json.BeginObject().Field("text", element.text);
        WritePosition(json, element.position);
        json.EndObject();
    }
    json.EndArray();
}

}  // namespace

void WritePosition(JsonWriter& json, const TextPosition& position) {
    json.Field("line", static_cast<std::int64_t>(position.line))
        .Field("column", static_cast<std::int64_t>(position.column));
}

void WriteChecks(JsonWriter& json, std::span<const page_checks::CheckResult> checks) {
    json.Key("checks").BeginArray();
    for (const CheckResult& check : checks) {
        json.BeginObject()
            .Field("id", CheckIdName(check.id))
            .Field("state", page_checks::CheckStateName(check.state))
            .Field("message", check.message)
            .Key("values");
        WriteObject(json, check.values);
        WriteElements(json, check);
        json.EndObject();
    }
    json.EndArray();
}

void WriteCheckFields(JsonWriter& json, const page_checks::PageCheckReport& report) {
    WriteChecks(json, report.checks);
    const page_checks::CheckSummary& summary = report.summary;
    json.Key("checks_summary")
        .BeginObject()
        .Field("problem", static_cast<std::int64_t>(summary.problem))
        .Field("improve", static_cast<std::int64_t>(summary.improve))
        .Field("good", static_cast<std::int64_t>(summary.good))
        .Field("info", static_cast<std::int64_t>(summary.info))
        .EndObject();
    json.Key("score");
    if (const std::optional<int> score = report.Score()) {
        json.Integer(*score);
    } else {
        json.Null();
    }
    json.Field("role", page_checks::PageRoleName(report.role));
}

}  // namespace velmora::cli
