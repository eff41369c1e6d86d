#include "cli/site_report_charts.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "cli/count_text.h"
#include "cli/html_text.h"

namespace velmora::cli {
namespace {

// The histogram's drawing area, in SVG units; the page scales the whole.
constexpr double kHistogramWidth = 460;
constexpr double kHistogramHeight = 290;
constexpr double kAxisLeft = 8;
constexpr double kPlotTop = 22;
constexpr double kPlotBottom = 260;

constexpr double kBarsWidth = 560;
constexpr double kBarsLabelWidth = 230;
constexpr double kBarsRow = 26;
constexpr double kBarsCountSpace = 52;

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string BinLabel(std::size_t bin) {
    const std::size_t low = bin * 10;
    const std::size_t high = bin + 1 == kRatingBins ? 100 : low + 9;
    return std::to_string(low) + "\xE2\x80\x93" + std::to_string(high);
}

// Scores and ratings share the bins and their labels.
static_assert(kScoreBins == kRatingBins);

std::size_t Largest(const std::array<std::size_t, kRatingBins>& bins) {
    return std::max<std::size_t>(*std::max_element(bins.begin(), bins.end()), 1);
}

// `what` names the figure a bar counts in its tooltip: "Rated" or "Scored".
std::string HistogramBar(std::size_t bin, std::size_t count, std::size_t most,
                         std::string_view what) {
    const double slot = (kHistogramWidth - kAxisLeft) / kRatingBins;
    const double x = kAxisLeft + slot * static_cast<double>(bin) + slot * 0.12;
    const double height =
        (kPlotBottom - kPlotTop) * static_cast<double>(count) / static_cast<double>(most);
    const double middle = x + slot * 0.38;
    std::string svg =
        "<g class=\"bin\"><rect class=\"bar bin-" + std::to_string(bin) + "\" data-bin=\"" +
        BinLabel(bin) + "\" data-count=\"" + std::to_string(count) + "\" x=\"" + Number(x) +
        "\" y=\"" + Number(kPlotBottom - height) + "\" width=\"" + Number(slot * 0.76) +
        "\" height=\"" + Number(height) + "\" rx=\"3\"><title>" + std::string(what) + " " +
        BinLabel(bin) + ": " + CountText(count, "page", "pages") + "</title></rect>";
    svg += "<text class=\"count\" x=\"" + Number(middle) + "\" y=\"" +
           Number(kPlotBottom - height - 6) + "\">" + std::to_string(count) + "</text>";
    svg += "<text class=\"axis\" x=\"" + Number(middle) + "\" y=\"" + Number(kPlotBottom + 18) +
           "\">" + BinLabel(bin) + "</text></g>";
    return svg;
}

std::string FindingLabel(const CommonFinding& finding) {
    if (finding.kind == CommonFinding::Kind::Advice) {
        return finding.label;
    }
    return finding.label + " \xC2\xB7 " + CommonFindingKindName(finding.kind);
}

std::string FindingBar(const CommonFinding& finding, std::size_t row, std::size_t most) {
    const double y = kBarsRow * static_cast<double>(row);
    const double width = (kBarsWidth - kBarsLabelWidth - kBarsCountSpace) *
                         static_cast<double>(finding.pages) / static_cast<double>(most);
    const std::string label = EscapeHtml(FindingLabel(finding));
    const std::string kind = CommonFindingKindName(finding.kind);
    std::string svg = "<g class=\"finding\"><text class=\"label\" x=\"" +
                      Number(kBarsLabelWidth - 8) + "\" y=\"" + Number(y + 17) + "\">" + label +
                      "</text>";
    svg += "<rect class=\"bar " + kind + "\" data-kind=\"" + kind + "\" data-label=\"" +
           EscapeHtml(finding.label) + "\" data-count=\"" + std::to_string(finding.pages) +
           "\" x=\"" + Number(kBarsLabelWidth) + "\" y=\"" + Number(y + 4) + "\" width=\"" +
           Number(width) + "\" height=\"" + Number(kBarsRow - 8) + "\" rx=\"3\"><title>" + label +
           ": " + CountText(finding.pages, "page", "pages") + "</title></rect>";
    svg += "<text class=\"count\" x=\"" + Number(kBarsLabelWidth + width + 6) + "\" y=\"" +
           Number(y + 17) + "\">" + std::to_string(finding.pages) + "</text></g>";
    return svg;
}

std::string Histogram(const std::array<std::size_t, kRatingBins>& bins, std::string_view kind,
                      std::string_view caption, std::string_view what) {
    const std::size_t most = Largest(bins);
    std::string svg = "<svg class=\"chart histogram " + std::string(kind) + "\" viewBox=\"0 0 " +
                      Number(kHistogramWidth) + " " + Number(kHistogramHeight) +
                      "\" role=\"img\" aria-labelledby=\"" + std::string(caption) + "\">";
    svg += "<line class=\"baseline\" x1=\"" + Number(kAxisLeft) + "\" x2=\"" +
           Number(kHistogramWidth) + "\" y1=\"" + Number(kPlotBottom) + "\" y2=\"" +
           Number(kPlotBottom) + "\"/>";
    for (std::size_t bin = 0; bin < kRatingBins; ++bin) {
        svg += HistogramBar(bin, bins[bin], most, what);
    }
    return svg + "</svg>";
}

}  // namespace

std::string ScoreHistogramSvg(const SiteReport& report) {
    return Histogram(report.scoreBins, "scores", "score-histogram-caption", "Scored");
}

std::string RatingHistogramSvg(const SiteReport& report) {
    return Histogram(report.ratingBins, "ratings", "histogram-caption", "Rated");
}

std::string CommonFindingsSvg(const SiteReport& report) {
    const std::vector<CommonFinding>& findings = report.commonFindings;
    if (findings.empty()) {
        return "<p class=\"empty\">No page has a problem, an improvement or advice.</p>";
    }
    const std::size_t most = findings.front().pages;
    const double height = kBarsRow * static_cast<double>(findings.size());
    std::string svg = "<svg class=\"chart findings\" viewBox=\"0 0 " + Number(kBarsWidth) + " " +
                      Number(height) + "\" role=\"img\" aria-labelledby=\"findings-caption\">";
    for (std::size_t row = 0; row < findings.size(); ++row) {
        svg += FindingBar(findings[row], row, most);
    }
    return svg + "</svg>";
}

}  // namespace velmora::cli
