#include "site_checks/robots_rules.h"

#include <algorithm>

#include "site_checks/percent_escapes.h"

namespace velmora::site_checks {
namespace {

constexpr std::size_t kReadLimit = 500 * 1024;

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") + 1 - first);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
        return lower(x) == lower(y);
    });
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// One form for both sides of a match: escapes upper-cased, bytes a URL may not hold escaped.
// Paths and rules are compared as written otherwise ("/a%2Fb" is not "/a/b").
std::string Normalised(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (EscapeAt(text, i)) {
            out += '%';
            out += Upper(text[i + 1]);
            out += Upper(text[i + 2]);
            i += 2;
        } else if (c <= ' ' || c >= 0x7F || c == '%') {
            AppendEscape(out, c);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace

bool RobotsPatternMatches(std::string_view pattern, std::string_view path) {
    const bool anchored = pattern.ends_with('$');
    if (anchored) {
        pattern.remove_suffix(1);
    }
    // Wildcard matching with one step back to the last "*": linear in the path for each star.
    std::size_t p = 0;
    std::size_t t = 0;
    std::size_t star = std::string_view::npos;
    std::size_t afterStar = 0;
    while (true) {
        if (p == pattern.size()) {
            if (!anchored || t == path.size()) {
                return true;
            }
        } else if (pattern[p] == '*') {
            star = p++;
            afterStar = t;
            continue;
        } else if (t < path.size() && pattern[p] == path[t]) {
            ++p;
            ++t;
            continue;
        }
        if (star == std::string_view::npos || afterStar >= path.size()) {
            return false;
        }
        p = star + 1;
        t = ++afterStar;
    }
}

RobotsRules RobotsRules::Parse(std::string_view text) {
    text = text.substr(0, kReadLimit);
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    RobotsRules robots;
    bool inAgents = false;  // reading the user-agent lines that start a group
    bool groupApplies = false;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto end = std::min(text.find_first_of("\r\n"), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end);
        if (text.starts_with("\r\n")) {
            text.remove_prefix(2);
        } else if (!text.empty()) {
            text.remove_prefix(1);
        }
        line = Trimmed(line.substr(0, line.find('#')));
        const auto colon = line.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        const std::string_view key = Trimmed(line.substr(0, colon));
        const std::string_view value = Trimmed(line.substr(colon + 1));
        if (EqualsIgnoringCase(key, "user-agent")) {
            if (!inAgents) {
                groupApplies = false;
                inAgents = true;
            }
            groupApplies = groupApplies || value == "*";
            continue;
        }
        const bool allow = EqualsIgnoringCase(key, "allow");
        if (!allow && !EqualsIgnoringCase(key, "disallow")) {
            // Sitemap lines and unknown keys neither start nor end a group.
            continue;
        }
        inAgents = false;
        // An empty Disallow allows everything, as having no rule does.
        if (groupApplies && !value.empty()) {
            robots.rules_.push_back({allow, Normalised(value), lineNumber});
        }
    }
    return robots;
}

RobotsVerdict RobotsRules::Check(std::string_view path) const {
    const std::string normalised = Normalised(path);
    RobotsVerdict verdict;
    for (const RobotsRule& rule : rules_) {
        if (!RobotsPatternMatches(rule.pattern, normalised)) {
            continue;
        }
        if (verdict.rule == nullptr || rule.pattern.size() > verdict.rule->pattern.size() ||
            (rule.pattern.size() == verdict.rule->pattern.size() && rule.allow)) {
            verdict.rule = &rule;
        }
    }
    verdict.allowed = verdict.rule == nullptr || verdict.rule->allow;
    return verdict;
}

}  // namespace velmora::site_checks
