#include "page_checks/check_result.h"

namespace velmora::page_checks {

std::string_view CheckStateName(CheckState state) {
    switch (state) {
        case CheckState::Good:
            return "good";
        case CheckState::Improve:
            return "improve";
        case CheckState::Problem:
            return "problem";
        case CheckState::Info:
            break;
    }
    return "info";
}

bool CheckValue::operator==(const CheckValue& other) const {
    return value == other.value;
}

const CheckValue* CheckResult::Value(std::string_view name) const {
    for (const CheckField& field : values) {
        if (field.name == name) {
            return &field.value;
        }
    }
    return nullptr;
}

}  // namespace velmora::page_checks
