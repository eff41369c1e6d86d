// The robots.txt reader on arbitrary bytes: it never fails, and every verdict agrees with the
// rule it names.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "site_checks/robots_rules.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const velmora::site_checks::RobotsRules robots = velmora::site_checks::RobotsRules::Parse(text);
    for (const auto& rule : robots.rules()) {
        FUZZ_CHECK(!rule.pattern.empty());
        FUZZ_CHECK(rule.line >= 1);
    }
    // The text's own first line is a path as likely to match as any.
    const std::string ownLine =
        std::string("/").append(text.substr(0, std::min(text.find('\n'), std::size_t{64})));
    for (const std::string_view path :
         {std::string_view("/"), std::string_view("/a/b.html"), std::string_view(ownLine)}) {
        const velmora::site_checks::RobotsVerdict verdict = robots.Check(path);
        if (verdict.rule == nullptr) {
            FUZZ_CHECK(verdict.allowed);
        } else {
            FUZZ_CHECK(verdict.allowed == verdict.rule->allow);
            for (const auto& rule : robots.rules()) {
                // No matching rule is longer than the one that decided.
                FUZZ_CHECK(rule.pattern.size() <= verdict.rule->pattern.size() ||
                           !velmora::site_checks::RobotsPatternMatches(rule.pattern, path));
            }
        }
    }
    return 0;
}
