#include "page_checks/page_verdict.h"

#include <array>
#include <cstdint>

namespace velmora::page_checks {
namespace {

struct Weight {
    std::string_view checkId;
    int weight;
};

constexpr std::array<Weight, 11> kWeights = {{
    {"indexable", 5},
    {"title", 3},
    {"broken-links", 3},
    {"description", 2},
    {"h1", 2},
    {"viewport", 2},
    {"images", 2},
    {"content", 2},
    {"canonical", 2},
    {"canonical-target", 2},
    {"robots", 2},
}};

}  // namespace

std::string_view PageRoleName(PageRole role) {
    switch (role) {
        case PageRole::Page:
            return "page";
        case PageRole::Redirect:
            return "redirect";
        case PageRole::NotIndexed:
            return "not-indexed";
        case PageRole::Canonicalized:
            break;
    }
    return "canonicalized";
}

bool IsScored(PageRole role) {
    return role == PageRole::Page || role == PageRole::Canonicalized;
}

int CheckWeight(std::string_view checkId) {
    for (const Weight& weight : kWeights) {
        if (weight.checkId == checkId) {
            return weight.weight;
        }
    }
    return 1;
}

std::optional<int> PageScore(PageRole role, std::span<const CheckResult> results) {
    if (!IsScored(role)) {
        return std::nullopt;
    }
    // In half points, so that an improve's half weight stays a whole number.
    std::int64_t earned = 0;
    std::int64_t possible = 0;
    for (const CheckResult& result : results) {
        if (result.state == CheckState::Info) {
            continue;
        }
        const int weight = CheckWeight(CheckIdName(result.id));
        possible += 2 * weight;
        earned += result.state == CheckState::Good      ? 2 * weight
                  : result.state == CheckState::Improve ? weight
                                                        : 0;
    }
    if (possible == 0) {
        return std::nullopt;
    }
    return static_cast<int>((200 * earned + possible) / (2 * possible));
}

}  // namespace velmora::page_checks
