#include "site_checks/equal_texts.h"

#include <unordered_map>

#include "page_checks/page_text.h"

namespace velmora::site_checks {

std::vector<std::vector<std::size_t>> GroupsOfEqualText(std::span<const std::string* const> texts) {
    std::unordered_map<std::string, std::size_t> groupOfKey;
    std::vector<std::vector<std::size_t>> groups;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i] == nullptr) {
            continue;
        }
        const auto [entry, added] =
            groupOfKey.try_emplace(page_checks::ComparisonKey(*texts[i]), groups.size());
        if (added) {
            groups.emplace_back();
        }
        groups[entry->second].push_back(i);
    }
    std::erase_if(groups, [](const std::vector<std::size_t>& group) { return group.size() < 2; });
    return groups;
}

}  // namespace velmora::site_checks
