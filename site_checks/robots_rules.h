#pragma once

// The rules of a robots.txt that apply to every crawler, read as RFC 9309 says: the groups for
// user-agent "*" (merged when there are several), the longest matching rule wins, Allow wins a
// tie, "*" stands for any characters and a final "$" anchors the end.

#include <string>
#include <string_view>
#include <vector>

namespace velmora::site_checks {

struct RobotsRule {
    bool allow = false;
    std::string pattern;  // percent-encoding normalised
    std::size_t line = 0;

    bool operator==(const RobotsRule&) const = default;
};

struct RobotsVerdict {
    bool allowed = true;
    const RobotsRule* rule = nullptr;  // the rule that decided; none when no rule matched
};

class RobotsRules {
public:
    // Never throws: lines it cannot read are passed over, as crawlers do. Only the first 500 KiB
    // are read, the least the RFC asks crawlers to read.
    static RobotsRules Parse(std::string_view text);

    // `path` is the address a page is served at, percent-decoded ("/docs/", "/a b.html").
    RobotsVerdict Check(std::string_view path) const;

    const std::vector<RobotsRule>& rules() const { return rules_; }

private:
    std::vector<RobotsRule> rules_;
};

// Whether `pattern` (with "*" and a final "$") matches the start of `path`, both encoded alike.
bool RobotsPatternMatches(std::string_view pattern, std::string_view path);

}  // namespace velmora::site_checks
