#include "cli/score_summary.h"

#include <algorithm>
#include <map>
#include <variant>

namespace velmora::cli {
namespace {

// A fault is the template's when the checks found it on more than half of at least this many
// pages; with fewer, a shared fault says nothing about what the pages share.
constexpr std::size_t kTemplatePagesAtLeast = 3;

}  // namespace

std::size_t ScoreBin(int score) {
    return static_cast<std::size_t>(std::clamp(score, 0, 99) / 10);
}

std::string ScoreBinLabel(std::size_t bin) {
    const std::size_t low = bin * 10;
    const std::size_t high = bin + 1 == kScoreBins ? 100 : low + 9;
    return std::to_string(low) + "\xE2\x80\x93" + std::to_string(high);
}

std::vector<std::string> PageFaults(const page_checks::PageCheckReport& checks) {
    std::vector<std::string> faults;
    for (const page_checks::CheckResult& check : checks.checks) {
        if (check.state != page_checks::CheckState::Problem &&
            check.state != page_checks::CheckState::Improve) {
            continue;
        }
        // A check naming what is missing gives one fault per name, so pages missing only
        // og:image and pages missing every og: tag still share "og:image missing".
        const page_checks::CheckValue* missing = check.Value("missing");
        const auto* names =
            missing ? std::get_if<page_checks::CheckValue::List>(&missing->value) : nullptr;
        if (names != nullptr) {
            for (const page_checks::CheckValue& name : *names) {
                if (const auto* text = std::get_if<std::string>(&name.value)) {
                    faults.push_back(*text + " missing");
                }
            }
            continue;
        }
        faults.push_back(std::string(CheckIdName(check.id)) + ": " +
                         std::string(page_checks::CheckStateName(check.state)));
    }
    return faults;
}

std::string TemplateWideText(const TemplateWideFault& fault) {
    return fault.fault + " on " + std::to_string(fault.pages) + " of " + std::to_string(fault.of) +
           " pages: likely the template; fix it once";
}

ScoredPage ScoredPageOf(const std::string& file, const page_checks::PageCheckReport& checks) {
    return {file, checks.Score(), checks.role, PageFaults(checks)};
}

ScoreSummary SummarizeScores(const std::vector<const ScoredPage*>& pages, std::size_t lowestShown) {
    ScoreSummary summary;
    std::map<std::string, std::size_t> pagesWith;
    std::size_t checked = 0;
    for (const ScoredPage* page : pages) {
        if (page->score) {
            ++summary.bins[ScoreBin(*page->score)];
            summary.lowest.push_back(page);
        } else {
            ++summary.unscored;
        }
        if (page->role == page_checks::PageRole::Redirect) {
            continue;
        }
        ++checked;
        // A fault counts once per page, however often the page lists it.
        std::vector<std::string> faults = page->faults;
        std::sort(faults.begin(), faults.end());
        faults.erase(std::unique(faults.begin(), faults.end()), faults.end());
        for (const std::string& fault : faults) {
            ++pagesWith[fault];
        }
    }
    std::stable_sort(
        summary.lowest.begin(), summary.lowest.end(),
        [](const ScoredPage* a, const ScoredPage* b) { return *a->score < *b->score; });
    summary.lowest.resize(std::min(summary.lowest.size(), lowestShown));
    if (checked >= kTemplatePagesAtLeast) {
        for (const auto& [fault, count] : pagesWith) {
            if (2 * count > checked) {
                summary.templateWide.push_back({fault, count, checked});
            }
        }
    }
    std::stable_sort(
        summary.templateWide.begin(), summary.templateWide.end(),
        [](const TemplateWideFault& a, const TemplateWideFault& b) { return a.pages > b.pages; });
    return summary;
}

}  // namespace velmora::cli
