#include "cli/text_report.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <span>

#include "cli/count_text.h"
#include "cli/escaped_text.h"
#include "cli/score_summary.h"
#include "cli/state_colors.h"

namespace velmora::cli {
namespace {

constexpr std::size_t kWorstPagesShown = 5;
constexpr std::size_t kHistogramWidth = 40;

std::string Join(const std::vector<std::string>& items, const std::string& separator) {
    std::string out;
    for (const std::string& item : items) {
        if (!out.empty()) {
            out += separator;
        }
        out += item;
    }
    return out;
}

std::string Field(const std::string& label, const std::string& value) {
    std::string line = "  " + label + ":";
    line.append(label.size() < 16 ? 16 - label.size() : 1, ' ');
    return line + value + "\n";
}

std::string Times(std::int32_t count) {
    return std::to_string(count) + (count == 1 ? " time" : " times");
}

// Appended piece by piece: a page can have hundreds of thousands of keywords.
void AppendDetailLine(std::string& text, const KeywordDetail& detail) {
    text.append("    ").append(EscapeControls(detail.keyword)).append(": ");
    text.append(Times(detail.occurrences)).append(", ").append(detail.good ? "good" : "bad");
    if (detail.duplicate) {
        text.append(", duplicate");
    }
    text.append(", score ").append(std::to_string(detail.score)).append("\n");
}

// One line per field: control characters inside a text are shown as escapes.
std::string Shown(const std::string& text) {
    return text.empty() ? "(none)" : EscapeControls(text);
}

std::string ShownList(const std::vector<std::string>& items) {
    return EscapeControls(Join(items, ", "));
}

// The page holds its text with CR LF line breaks; a line break inside a description is shown
// as the file writes it.
std::string WithOwnLineBreaks(const std::string& text, const std::string& lineBreak) {
    if (lineBreak == "\r\n") {
        return text;
    }
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t crlf = std::min(text.find("\r\n", at), text.size());
        out.append(text, at, crlf - at);
        if (crlf < text.size()) {
            out += lineBreak;
        }
        at = crlf + 2;
    }
    return out;
}

std::string SummaryOfChecks(const page_checks::CheckSummary& summary) {
    return std::to_string(summary.problem) + " problem, " + std::to_string(summary.improve) +
           " improve, " + std::to_string(summary.good) + " good, " + std::to_string(summary.info) +
           " info";
}

constexpr std::size_t kElementsShown = 5;

bool Shows(page_checks::CheckState state, const TextStyle& style) {
    if (!style.minimum) {
        return true;
    }
    switch (state) {
        case page_checks::CheckState::Problem:
            return AtLeast(ResultLevel::Error, *style.minimum);
        case page_checks::CheckState::Improve:
            return AtLeast(ResultLevel::Warning, *style.minimum);
        case page_checks::CheckState::Info:
            return AtLeast(ResultLevel::Note, *style.minimum);
        case page_checks::CheckState::Good:
            break;
    }
    return false;
}

// One line per check: its state, padded so that the ids line up, its id and its sentence; then
// the first elements it lists, each with its line.
std::string CheckLines(std::span<const page_checks::CheckResult> checks,
                       const TextStyle& style = {}) {
    std::string text;
    for (const page_checks::CheckResult& check : checks) {
        if (!Shows(check.state, style)) {
            continue;
        }
        const std::string_view name = page_checks::CheckStateName(check.state);
        std::string state(name);
        state.resize(8, ' ');
        text += "    " + Colored(name, state, style.color) + std::string(CheckIdName(check.id)) +
                ": " + EscapeControls(check.message) + "\n";
        if (check.state == page_checks::CheckState::Good) {
            continue;
        }
        const std::size_t shown = std::min(check.listed.size(), kElementsShown);
        for (std::size_t i = 0; i < shown; ++i) {
            text += "            line " + std::to_string(check.listed[i].position.line) + ": " +
                    EscapeControls(check.listed[i].text) + "\n";
        }
        if (check.listed.size() > shown) {
            text += "            and " + std::to_string(check.listed.size() - shown) + " more\n";
        }
    }
    return text;
}

// "Score: 84 · page", or "no score · redirect to /x.html" for a page meant to stay out of
// search results.
std::string VerdictLine(const page_checks::PageCheckReport& checks) {
    const std::optional<int> score = checks.Score();
    std::string line = score ? "Score: " + std::to_string(*score) : "no score";
    line += " · ";
    line += page_checks::PageRoleName(checks.role);
    if (checks.role == page_checks::PageRole::Redirect && checks.redirectTarget) {
        line += " to " + EscapeControls(*checks.redirectTarget);
    }
    return "  " + line + "\n";
}

std::string ReviewText(const PageReport& report) {
    std::string text = Field("Keyword rating", report.ratingText);
    text += Field("Encoding", report.asciiOnly ? "us-ascii" : report.encoding);
    text += Field("Title", Shown(report.title));
    text += Field("Description", Shown(WithOwnLineBreaks(report.description, report.lineBreak)));
    text += Field("Keywords", report.keywords.empty()
                                  ? "(none)"
                                  : ShownList(report.keywords) + " (" +
                                        std::to_string(report.goodKeywords) + " good, " +
                                        std::to_string(report.badKeywords) + " bad)");
    text += Field("Words", std::to_string(report.wordCount));
    text += Field("Removable space",
                  CountText(static_cast<std::size_t>(report.spaceToRemove), "byte", "bytes"));
    if (report.findings.empty()) {
        text += Field("Advice", "none");
    }
    for (std::size_t i = 0; i < report.findings.size(); ++i) {
        text += i == 0 ? Field("Advice", EscapeControls(report.findings[i].advice))
                       : std::string(19, ' ') + EscapeControls(report.findings[i].advice) + "\n";
    }
    if (!report.keywordDetails.empty()) {
        text += "  Keyword details:\n";
        for (const KeywordDetail& detail : report.keywordDetails) {
            AppendDetailLine(text, detail);
        }
    }
    text += Field("Good candidates", std::to_string(report.goodCandidates.size()));
    text += Field("Auto keywords",
                  report.autoKeywords.empty() ? "(none)" : ShownList(report.autoKeywords));
    return text;
}

// One row per bin, highest first, with a bar of '#' scaled to the fullest bin.
std::string Histogram(const ScoreSummary& summary) {
    const std::size_t fullest = *std::max_element(summary.bins.begin(), summary.bins.end());
    std::string text = "  Scores:\n";
    for (std::size_t bin = kScoreBins; bin-- > 0;) {
        char label[16];
        std::snprintf(label, sizeof label, "%3zu\xE2\x80\x93%-3zu", bin * 10,
                      bin + 1 == kScoreBins ? std::size_t{100} : bin * 10 + 9);
        const std::size_t count = summary.bins[bin];
        const std::size_t bar =
            fullest == 0 ? 0 : (count * kHistogramWidth + fullest - 1) / fullest;
        text += "    " + std::string(label) + " " + std::string(bar, '#') + (bar > 0 ? " " : "") +
                std::to_string(count) + "\n";
    }
    if (summary.unscored > 0) {
        text += "    no score " + std::to_string(summary.unscored) +
                " (redirects and pages not indexed)\n";
    }
    return text;
}

std::string LowestScoring(const ScoreSummary& summary) {
    if (summary.lowest.empty()) {
        return {};
    }
    std::string text = "  Lowest scoring:\n";
    for (const ScoredPage* page : summary.lowest) {
        char score[8];
        std::snprintf(score, sizeof score, "%3d", *page->score);
        text += "    " + std::string(score) + "  " + EscapeControls(page->file) + "\n";
    }
    return text;
}

std::string TemplateWide(const ScoreSummary& summary) {
    if (summary.templateWide.empty()) {
        return {};
    }
    std::string text = "  On most pages:\n";
    for (const TemplateWideFault& fault : summary.templateWide) {
        text += "    " + EscapeControls(TemplateWideText(fault)) + "\n";
    }
    return text;
}

}  // namespace

std::string ToText(const PageReport& report, const TextStyle& style) {
    if (style.quiet) {
        const std::string problems = CheckLines(report.checks.checks, style);
        return problems.empty() ? problems : EscapeControls(report.file) + "\n" + problems;
    }
    return EscapeControls(report.file) + "\n" + VerdictLine(report.checks) +
           Field("Page checks", SummaryOfChecks(report.checks.summary)) +
           CheckLines(report.checks.checks, style) + ReviewText(report);
}

RatedPage RatedPageOf(const PageReport& report) {
    return {report.rating, report.ratingText, ScoredPageOf(report.file, report.checks)};
}

std::string ToRecordText(const std::string& file,
                         const std::vector<page_checks::CheckResult>& checks,
                         const TextStyle& style) {
    if (style.quiet) {
        const std::string problems = CheckLines(checks, style);
        return problems.empty() ? problems : EscapeControls(file) + "\n" + problems;
    }
    return EscapeControls(file) + "\n" +
           Field("Site checks", SummaryOfChecks(page_checks::Summarize(checks))) +
           CheckLines(checks, style);
}

std::string SummaryText(const std::vector<RatedPage>& pages, std::size_t failedPages) {
    std::string text = "Summary: " + CountText(pages.size(), "page", "pages") + " analysed";
    if (!pages.empty()) {
        const double total =
            std::accumulate(pages.begin(), pages.end(), 0.0,
                            [](double sum, const RatedPage& page) { return sum + page.rating; });
        char average[32];
        std::snprintf(average, sizeof average, "%.1f%%", total / static_cast<double>(pages.size()));
        text += std::string(", average keyword rating ") + average;
    }
    text += "\n";
    if (failedPages > 0) {
        text += "  " + CountText(failedPages, "page", "pages") + " could not be read\n";
    }
    if (!pages.empty()) {
        std::vector<const ScoredPage*> scored;
        scored.reserve(pages.size());
        for (const RatedPage& page : pages) {
            scored.push_back(&page.scored);
        }
        const ScoreSummary summary = SummarizeScores(scored, kWorstPagesShown);
        text += Histogram(summary) + TemplateWide(summary) + LowestScoring(summary);
    }
    std::vector<const RatedPage*> worst;
    worst.reserve(pages.size());
    for (const RatedPage& page : pages) {
        worst.push_back(&page);
    }
    std::stable_sort(worst.begin(), worst.end(),
                     [](const RatedPage* a, const RatedPage* b) { return a->rating < b->rating; });
    worst.resize(std::min(worst.size(), kWorstPagesShown));
    if (!worst.empty()) {
        text += "  Lowest keyword rating:\n";
    }
    for (const RatedPage* page : worst) {
        text += "    " + page->ratingText + "  " + EscapeControls(page->scored.file) + "\n";
    }
    return text;
}

std::string LeftOutText(std::size_t suppressed, std::size_t baselined) {
    std::string text;
    if (suppressed > 0) {
        text += "  " + CountText(suppressed, "result", "results") +
                " suppressed by comments in the pages\n";
    }
    if (baselined > 0) {
        text += "  " + CountText(baselined, "result", "results") + " already in the baseline\n";
    }
    return text;
}

}  // namespace velmora::cli
