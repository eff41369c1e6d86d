#include "cli/check_json.h"

#include <type_traits>
#include <variant>

namespace velmora::cli {
namespace {

using page_checks::CheckField;
using page_checks::CheckResult;
using page_checks::CheckValue;

void WriteValue(JsonWriter& writer, const CheckValue& value);

void WriteObject(JsonWriter& writer, const CheckValue::Object& fields) {
    writer.BeginObject();
    for (const CheckField& field : fields) {
        writer.Key(field.name);
        WriteValue(writer, field.value);
    }
    writer.EndObject();
}

// The values of a check are a shallow tree (a list of a few objects at most), so recursion is
// bounded by the checks themselves, not by the page.
void WriteValue(JsonWriter& writer, const CheckValue& value) {
    std::visit(
        [&writer](const auto& held) {
            using Held = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<Held, std::monostate>) {
                writer.Null();
            } else if constexpr (std::is_same_v<Held, bool>) {
                writer.Bool(held);
            } else if constexpr (std::is_same_v<Held, std::int64_t>) {
                writer.Integer(held);
            } else if constexpr (std::is_same_v<Held, std::string>) {
                writer.String(held);
            } else if constexpr (std::is_same_v<Held, CheckValue::List>) {
                writer.BeginArray();
                for (const CheckValue& item : held) {
                    WriteValue(writer, item);
                }
                writer.EndArray();
            } else {
                WriteObject(writer, held);
            }
        },
        value.value);
}

// The element a check judged as "line" and "column"; the ones it lists as "elements".
void WriteElements(JsonWriter& writer, const CheckResult& check) {
    if (check.element) {
        WritePosition(writer, check.element->position);
    }
    if (check.listed.empty()) {
        return;
    }
    writer.Key("elements").BeginArray();
    for (const page_checks::CheckedElement& element : check.listed) {
        writer.BeginObject().Field("text", element.text);
        WritePosition(writer, element.position);
        writer.EndObject();
    }
    writer.EndArray();
}

}  // namespace

void WritePosition(JsonWriter& writer, const TextPosition& position) {
    writer.Field("line", static_cast<std::int64_t>(position.line))
        .Field("column", static_cast<std::int64_t>(position.column));
}

void WriteChecks(JsonWriter& writer, std::span<const page_checks::CheckResult> checks) {
    writer.Key("checks").BeginArray();
    for (const CheckResult& check : checks) {
        writer.BeginObject()
            .Field("id", CheckIdName(check.id))
            .Field("state", page_checks::CheckStateName(check.state))
            .Field("message", check.message)
            .Key("values");
        WriteObject(writer, check.values);
        WriteElements(writer, check);
        writer.EndObject();
    }
    writer.EndArray();
}

void WriteCheckFields(JsonWriter& writer, const page_checks::PageCheckReport& report) {
    WriteChecks(writer, report.checks);
    const page_checks::CheckSummary& summary = report.summary;
    writer.Key("checks_summary")
        .BeginObject()
        .Field("problem", static_cast<std::int64_t>(summary.problem))
        .Field("improve", static_cast<std::int64_t>(summary.improve))
        .Field("good", static_cast<std::int64_t>(summary.good))
        .Field("info", static_cast<std::int64_t>(summary.info))
        .EndObject();
    writer.Key("score");
    if (const std::optional<int> score = report.Score()) {
        writer.Integer(*score);
    } else {
        writer.Null();
    }
    writer.Field("role", page_checks::PageRoleName(report.role));
}

}  // namespace velmora::cli
