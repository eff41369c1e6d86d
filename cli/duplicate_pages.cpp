#include "cli/duplicate_pages.h"

#include <optional>
#include <string>
#include <unordered_map>

#include "page_checks/page_text.h"

namespace velmora::cli {
namespace {

using TextOfPage = const std::optional<std::string>& (*)(const page_checks::PageCheckReport&);

// For each page, the files of the other pages whose text has the same comparison key.
std::vector<std::vector<std::string>> OtherFilesWithSameText(const std::vector<PageReport*>& pages,
                                                             TextOfPage textOf) {
    std::vector<const std::string*> texts(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (pages[i] != nullptr) {
            if (const std::optional<std::string>& text = textOf(pages[i]->checks)) {
                texts[i] = &*text;
            }
        }
    }
    std::vector<std::vector<std::string>> others(pages.size());
    for (const std::vector<std::size_t>& members : GroupsOfEqualText(texts)) {
        for (const std::size_t page : members) {
            others[page].reserve(members.size() - 1);
            for (const std::size_t other : members) {
                if (other != page) {
                    others[page].push_back(pages[other]->file);
                }
            }
        }
    }
    return others;
}

}  // namespace

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

bool ComparesPages(std::size_t pageCount, const PageCheckOptions& options) {
    return pageCount > 1 && (options.Enabled(CheckId::DuplicateTitle) ||
                             options.Enabled(CheckId::DuplicateDescription));
}

void AddDuplicateChecks(const std::vector<PageReport*>& pages, const PageCheckOptions& options) {
    std::vector<std::vector<std::string>> sameTitle(pages.size());
    std::vector<std::vector<std::string>> sameDescription(pages.size());
    if (options.Enabled(CheckId::DuplicateTitle)) {
        sameTitle = OtherFilesWithSameText(
            pages,
            [](const page_checks::PageCheckReport& report) -> const std::optional<std::string>& {
                return report.title;
            });
    }
    if (options.Enabled(CheckId::DuplicateDescription)) {
        sameDescription = OtherFilesWithSameText(
            pages,
            [](const page_checks::PageCheckReport& report) -> const std::optional<std::string>& {
                return report.description;
            });
    }
    // Title before description, as the report orders the checks.
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (!sameTitle[i].empty()) {
            pages[i]->checks.Add(page_checks::DuplicateCheck(CheckId::DuplicateTitle, sameTitle[i],
                                                             pages[i]->checks.titleElement));
        }
        if (!sameDescription[i].empty()) {
            pages[i]->checks.Add(page_checks::DuplicateCheck(CheckId::DuplicateDescription,
                                                             sameDescription[i],
                                                             pages[i]->checks.descriptionElement));
        }
    }
}

}  // namespace velmora::cli
