#include "cli/site_report.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <utility>
#include <variant>

namespace velmora::cli {
namespace {

// Code points of UTF-8 text: every byte that does not continue a sequence.
std::size_t CodePoints(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// Other pages a duplicate check names in the report.
constexpr std::size_t kDuplicatesNamed = 5;

using FindingKey = std::pair<CommonFinding::Kind, std::string>;

// The kinds of finding on one page, each once: a page with two findings of a kind counts once.
std::set<FindingKey> PageFindings(const SiteReportPage& page) {
    std::set<FindingKey> kinds;
    for (const SiteReportCheck& check : page.checks) {
        if (check.state == "problem") {
            kinds.emplace(CommonFinding::Kind::Problem, check.id);
        } else if (check.state == "improve") {
            kinds.emplace(CommonFinding::Kind::Improve, check.id);
        }
    }
    for (const SiteReportAdvice& finding : page.advice) {
        kinds.emplace(CommonFinding::Kind::Advice, finding.title);
    }
    return kinds;
}

std::vector<CommonFinding> MostCommon(const std::vector<SiteReportPage>& pages) {
    std::map<FindingKey, std::size_t> counts;
    for (const SiteReportPage& page : pages) {
        for (const FindingKey& key : PageFindings(page)) {
            ++counts[key];
        }
    }
    std::vector<CommonFinding> common;
    common.reserve(counts.size());
    for (const auto& [key, count] : counts) {
        common.push_back({key.first, key.second, count});
    }
    // The map's order already sorts equal counts by kind, then label; the sort keeps it.
    std::stable_sort(
        common.begin(), common.end(),
        [](const CommonFinding& a, const CommonFinding& b) { return a.pages > b.pages; });
    if (common.size() > kCommonFindingLimit) {
        common.resize(kCommonFindingLimit);
    }
    return common;
}

// A duplicate check names every other page with the same title, so on a site of templated
// pages its messages grow with the square of the pages. The report names the first few.
std::string ReportedMessage(const page_checks::CheckResult& check) {
    const page_checks::CheckValue* files = check.Value("files");
    const auto* list = files ? std::get_if<page_checks::CheckValue::List>(&files->value) : nullptr;
    const bool duplicate =
        check.id == CheckId::DuplicateTitle || check.id == CheckId::DuplicateDescription;
    if (!duplicate || !list || list->size() <= kDuplicatesNamed) {
        return check.message;
    }
    std::string names;
    for (std::size_t i = 0; i < kDuplicatesNamed; ++i) {
        const auto* name = std::get_if<std::string>(&(*list)[i].value);
        names += (i == 0 ? "" : ", ") + (name ? *name : std::string());
    }
    return std::string("The ") + (check.id == CheckId::DuplicateTitle ? "title" : "description") +
           " is the same as on " + std::to_string(list->size()) + " other pages, first " + names +
           "; give each page its own.";
}

bool IsSiteCheck(CheckId id) {
    return id >= CheckId::BrokenLinks;
}

SiteFinding FindingOf(const std::string& file, const page_checks::CheckResult& check) {
    SiteFinding finding{std::string(CheckIdName(check.id)),
                        std::string(page_checks::CheckStateName(check.state)),
                        file,
                        check.message,
                        {}};
    finding.elements.reserve(check.listed.size());
    for (const page_checks::CheckedElement& element : check.listed) {
        finding.elements.push_back(element.text);
    }
    return finding;
}

void Sort(SiteReport& report, SiteFinding finding) {
    if (finding.id == "broken-links") {
        for (const std::string& target : finding.elements) {
            auto entry = std::find_if(report.brokenTargets.begin(), report.brokenTargets.end(),
                                      [&](const auto& known) { return known.first == target; });
            if (entry == report.brokenTargets.end()) {
                report.brokenTargets.push_back({target, {}});
                entry = report.brokenTargets.end() - 1;
            }
            entry->second.push_back(finding.file);
        }
    } else if (finding.id == "orphan") {
        report.orphans.push_back(finding.file);
    } else if (finding.id == "canonical-target" || finding.id == "hreflang-return") {
        report.addressFindings.push_back(std::move(finding));
    } else if (finding.id == "sitemap" || finding.id == "robots") {
        report.indexFindings.push_back(std::move(finding));
    }
}

}  // namespace

SiteReportPage SummarizePage(const PageReport& report) {
    SiteReportPage page;
    page.file = report.file;
    page.title = report.checks.title.value_or(std::string());
    page.description = report.checks.description.value_or(std::string());
    page.score = report.checks.Score();
    page.role = report.checks.role;
    page.faults = PageFaults(report.checks);
    page.rating = report.rating;
    page.ratingText = report.ratingText;
    page.problems = report.checks.summary.problem;
    page.improve = report.checks.summary.improve;
    page.titleCharacters = CodePoints(page.title);
    page.descriptionCharacters = CodePoints(page.description);
    page.advice.reserve(report.findings.size());
    for (const auto& finding : report.findings) {
        page.advice.push_back({finding.title, finding.advice});
    }
    page.checks.reserve(report.checks.checks.size());
    for (const page_checks::CheckResult& check : report.checks.checks) {
        page.checks.push_back({std::string(CheckIdName(check.id)),
                               std::string(page_checks::CheckStateName(check.state)),
                               ReportedMessage(check)});
        if (IsSiteCheck(check.id) && check.state != page_checks::CheckState::Good) {
            page.siteFindings.push_back(FindingOf(report.file, check));
        }
    }
    return page;
}

std::size_t RatingBin(float rating) {
    if (!(rating > 0.0f)) {
        return 0;
    }
    const auto bin = static_cast<std::size_t>(std::floor(std::min(rating, 100.0f) / 10.0f));
    return std::min(bin, kRatingBins - 1);
}

SiteReport BuildSiteReport(std::vector<SiteReportPage> pages) {
    SiteReport report;
    double sum = 0.0;
    for (const SiteReportPage& page : pages) {
        ++report.ratingBins[RatingBin(page.rating)];
        sum += page.rating;
    }
    report.averageRating = pages.empty() ? 0.0 : sum / static_cast<double>(pages.size());
    report.commonFindings = MostCommon(pages);
    std::vector<ScoredPage> scored;
    scored.reserve(pages.size());
    for (SiteReportPage& page : pages) {
        scored.push_back({page.file, page.score, page.role, std::move(page.faults)});
        page.faults.clear();
    }
    std::vector<const ScoredPage*> pointers;
    pointers.reserve(scored.size());
    for (const ScoredPage& page : scored) {
        pointers.push_back(&page);
    }
    const ScoreSummary scores = SummarizeScores(pointers, 0);
    report.scoreBins = scores.bins;
    report.unscored = scores.unscored;
    report.templateWide = scores.templateWide;
    // What needs work first; pages meant to stay out of search results last.
    std::stable_sort(pages.begin(), pages.end(),
                     [](const SiteReportPage& a, const SiteReportPage& b) {
                         return a.score && (!b.score || *a.score < *b.score);
                     });
    for (SiteReportPage& page : pages) {
        for (SiteFinding& finding : page.siteFindings) {
            Sort(report, std::move(finding));
        }
        page.siteFindings.clear();
    }
    report.pages = std::move(pages);
    return report;
}

void AddSiteRecord(SiteReport& report, const std::string& file,
                   const std::vector<page_checks::CheckResult>& checks) {
    for (const page_checks::CheckResult& check : checks) {
        Sort(report, FindingOf(file, check));
    }
}

const char* CommonFindingKindName(CommonFinding::Kind kind) {
    switch (kind) {
        case CommonFinding::Kind::Problem:
            return "problem";
        case CommonFinding::Kind::Improve:
            return "improve";
        case CommonFinding::Kind::Advice:
            break;
    }
    return "advice";
}

}  // namespace velmora::cli
