#pragma once

// What one page check finds: its state, one sentence to act on, and the values it measured, as
// a small tree of values that maps one to one onto JSON.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "core/line_index.h"
#include "options/page_check_options.h"

namespace velmora::page_checks {

enum class CheckState : std::uint8_t { Good, Improve, Problem, Info };

// "good", "improve", "problem", "info".
std::string_view CheckStateName(CheckState state);

struct CheckField;

// null, true/false, a whole number, a UTF-8 text, a list or an object with ordered fields.
struct CheckValue {
    using List = std::vector<CheckValue>;
    using Object = std::vector<CheckField>;

    // Defined below, once CheckField is complete.
    CheckValue();
    CheckValue(bool b);
    CheckValue(std::int64_t n);
    CheckValue(int n);
    CheckValue(std::size_t n);
    CheckValue(std::string s);
    CheckValue(const char* s);
    CheckValue(List l);
    CheckValue(Object o);

    bool operator==(const CheckValue&) const;

    std::variant<std::monostate, bool, std::int64_t, std::string, List, Object> value;
};

struct CheckField {
    std::string name;
    CheckValue value;

    bool operator==(const CheckField&) const = default;
};

inline CheckValue::CheckValue() = default;
inline CheckValue::CheckValue(bool b) : value(b) {}
inline CheckValue::CheckValue(std::int64_t n) : value(n) {}
inline CheckValue::CheckValue(int n) : value(static_cast<std::int64_t>(n)) {}
inline CheckValue::CheckValue(std::size_t n) : value(static_cast<std::int64_t>(n)) {}
inline CheckValue::CheckValue(std::string s) : value(std::move(s)) {}
inline CheckValue::CheckValue(const char* s) : value(std::string(s)) {}
inline CheckValue::CheckValue(List l) : value(std::move(l)) {}
inline CheckValue::CheckValue(Object o) : value(std::move(o)) {}

// An element of the page that a check is about.
struct CheckedElement {
    // Its start tag's "<" in the page the checks read; RunPageChecks turns it into `position`.
    std::size_t offset = 0;
    TextPosition position;
    // What tells it apart from its neighbours: its text, src, content or href.
    std::string text;

    bool operator==(const CheckedElement&) const = default;
};

struct CheckResult {
    CheckId id = CheckId::Title;
    CheckState state = CheckState::Info;
    std::string message;
    CheckValue::Object values;
    // The one element the check judged (when several compete, the one to act on); none when the
    // check is about the whole page or lists elements instead.
    std::optional<CheckedElement> element;
    // The elements a check lists (images without alt, generic links, skipped headings), in the
    // order of its "first" value.
    std::vector<CheckedElement> listed;

    // The value named `name`, or nullptr.
    const CheckValue* Value(std::string_view name) const;
};

}  // namespace velmora::page_checks
