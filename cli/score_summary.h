#pragma once

// What the closing summaries of a run say about the pages' scores, shared by the readable
// report and the HTML report so both show the same figures: the histogram, the lowest-scoring
// indexable pages and the faults that most pages share.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "page_checks/page_checks.h"

namespace velmora::cli {

// Scores fall into ten bins: 0–9, …, 80–89, and 90–100.
inline constexpr std::size_t kScoreBins = 10;

std::size_t ScoreBin(int score);

// "0–9", …, "90–100".
std::string ScoreBinLabel(std::size_t bin);

// What a page's results say, each in a form that pages with the same fault share
// ("og:image missing", "viewport: improve"); empty for a redirect, whose checks did not run.
std::vector<std::string> PageFaults(const page_checks::PageCheckReport& checks);

// A fault that most pages share, which points at what they have in common.
struct TemplateWideFault {
    std::string fault;
    std::size_t pages = 0;
    std::size_t of = 0;  // the pages whose checks ran

    bool operator==(const TemplateWideFault&) const = default;
};

// "og:image missing on 601 of 633 pages: likely the template; fix it once"
std::string TemplateWideText(const TemplateWideFault& fault);

// The page's score, role and faults, as the summaries read them.
struct ScoredPage {
    std::string file;
    std::optional<int> score;
    page_checks::PageRole role = page_checks::PageRole::Page;
    std::vector<std::string> faults;
};

ScoredPage ScoredPageOf(const std::string& file, const page_checks::PageCheckReport& checks);

struct ScoreSummary {
    std::array<std::size_t, kScoreBins> bins{};
    std::size_t unscored = 0;  // redirects and pages not indexed
    // Indexable pages, lowest score first; equal scores in run order.
    std::vector<const ScoredPage*> lowest;
    // Most pages first; equal counts by fault.
    std::vector<TemplateWideFault> templateWide;
};

// The pages, in run order, must outlive the summary, which points to them. `lowestShown` bounds
// `lowest`.
ScoreSummary SummarizeScores(const std::vector<const ScoredPage*>& pages, std::size_t lowestShown);

}  // namespace velmora::cli
