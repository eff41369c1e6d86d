#pragma once

// Runs the page checks on a small page and picks one check's result.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "options/page_check_options.h"
#include "page_checks/page_checks.h"
#include "page_checks/text_width.h"

namespace velmora::page_checks::testing {

inline const TextWidthMeter& Meter() {
    static const TextWidthMeter meter;
    return meter;
}

inline CheckResult RunCheck(CheckId id, std::string_view page, const PageCheckOptions& options = {},
                            std::string_view fileName = "page.html") {
    const PageCheckReport report = RunPageChecks(page, fileName, options, Meter());
    for (const CheckResult& check : report.checks) {
        if (check.id == id) {
            return check;
        }
    }
    ADD_FAILURE() << "no result for " << CheckIdName(id);
    return {};
}

inline std::int64_t Number(const CheckResult& result, std::string_view name) {
    const CheckValue* value = result.Value(name);
    const auto* number = value ? std::get_if<std::int64_t>(&value->value) : nullptr;
    EXPECT_NE(number, nullptr) << name;
    return number ? *number : -1;
}

inline std::string Text(const CheckResult& result, std::string_view name) {
    const CheckValue* value = result.Value(name);
    const auto* text = value ? std::get_if<std::string>(&value->value) : nullptr;
    EXPECT_NE(text, nullptr) << name;
    return text ? *text : std::string();
}

}  // namespace velmora::page_checks::testing
