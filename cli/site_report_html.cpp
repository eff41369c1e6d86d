#include "cli/site_report_html.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cli/count_text.h"
#include "cli/html_text.h"
#include "cli/json_writer.h"
#include "cli/site_report_assets.h"
#include "cli/site_report_charts.h"
#include "options/page_check_options.h"
#include "page_checks/check_guidance.h"

namespace velmora::cli {
namespace {

// Nothing may be fetched; only the report's own style and script run.
constexpr std::string_view kContentPolicy =
    "default-src 'none'; style-src 'unsafe-inline'; script-src 'unsafe-inline'; "
    "img-src data:";

// The sortable columns: the key the script sorts by, the heading, and whether it holds numbers.
struct Column {
    std::string_view key;
    std::string_view heading;
    bool numeric;
};

constexpr Column kColumns[] = {
    {"file", "Page", false},
    {"score", "Score", true},
    {"rating", "Keyword rating", true},
    {"problems", "Problems", true},
    {"improve", "Improve", true},
    {"titleChars", "Title length", true},
    {"descriptionChars", "Description length", true},
};

std::string OneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

// " 90%" as the review writes it, without the padding.
std::string_view WithoutPadding(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string Head() {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta http-equiv=\"Content-Security-Policy\" content=\"";
    html += kContentPolicy;
    html +=
        "\">\n<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
        "<meta name=\"generator\" content=\"velmora-cli\">\n"
        "<title>Velmora site report</title>\n<style>\n";
    html += kSiteReportStyle;
    return html + "</style>\n</head>\n";
}

std::string Summary(const SiteReport& report) {
    std::size_t withProblems = 0;
    for (const SiteReportPage& page : report.pages) {
        withProblems += page.problems > 0 ? 1 : 0;
    }
    return "<header>\n<h1>Site report</h1>\n<p class=\"summary\"><strong>" +
           CountText(report.pages.size(), "page", "pages") +
           "</strong> \xC2\xB7 average rating <strong>" + OneDecimal(report.averageRating) +
           "</strong> \xC2\xB7 <strong>" + std::to_string(withProblems) +
           "</strong> with a page-check problem</p>\n</header>\n";
}

// The faults most pages share come first: one fix in the template mends them all.
std::string TemplateWideSection(const SiteReport& report) {
    if (report.templateWide.empty()) {
        return {};
    }
    std::string html =
        "<section class=\"template-wide\" aria-labelledby=\"template-caption\">\n"
        "<h2 id=\"template-caption\">On most pages</h2>\n<ul>\n";
    for (const TemplateWideFault& fault : report.templateWide) {
        html += "<li data-pages=\"" + std::to_string(fault.pages) + "\">" +
                EscapeHtml(TemplateWideText(fault)) + "</li>\n";
    }
    return html + "</ul>\n</section>\n";
}

std::string Unscored(const SiteReport& report) {
    if (report.unscored == 0) {
        return {};
    }
    return "<p class=\"legend\" id=\"unscored\">" +
           CountText(report.unscored, "page has", "pages have") +
           " no score: redirects and pages not indexed.</p>\n";
}

std::string Charts(const SiteReport& report) {
    return "<section class=\"charts\">\n<figure id=\"score-histogram\">\n"
           "<figcaption id=\"score-histogram-caption\">Pages by score</figcaption>\n" +
           Unscored(report) + ScoreHistogramSvg(report) +
           "\n</figure>\n<figure id=\"rating-histogram\">\n"
           "<figcaption id=\"histogram-caption\">Pages by keyword rating</figcaption>\n" +
           RatingHistogramSvg(report) +
           "\n</figure>\n<figure id=\"common-findings\">\n"
           "<figcaption id=\"findings-caption\">Most common problems and "
           "improvements</figcaption>\n"
           "<p class=\"legend\"><span class=\"key problem\"></span>problem "
           "<span class=\"key improve\"></span>improve <span class=\"key advice\"></span>review "
           "advice</p>\n" +
           CommonFindingsSvg(report) + "\n</figure>\n</section>\n";
}

std::string Files(const std::vector<std::string>& files) {
    std::string html;
    for (std::size_t i = 0; i < files.size(); ++i) {
        html += (i == 0 ? "" : ", ") + EscapeHtml(files[i]);
    }
    return html;
}

std::string FindingList(const char* heading, const std::vector<SiteFinding>& findings) {
    if (findings.empty()) {
        return {};
    }
    std::string html = std::string("<h3>") + heading + "</h3>\n<ul>\n";
    for (const SiteFinding& finding : findings) {
        html += "<li><span class=\"state " + finding.state + "\">" + finding.state + "</span> " +
                EscapeHtml(finding.file) + ": " + EscapeHtml(finding.message);
        if (!finding.elements.empty()) {
            html += " <code>" + Files(finding.elements) + "</code>";
        }
        html += "</li>\n";
    }
    return html + "</ul>\n";
}

// How the pages stand together: shown only when the run had a site root.
std::string SiteSection(const SiteReport& report) {
    if (report.brokenTargets.empty() && report.orphans.empty() && report.addressFindings.empty() &&
        report.indexFindings.empty()) {
        return {};
    }
    std::string html =
        "<section class=\"site\" aria-labelledby=\"site-caption\">\n"
        "<h2 id=\"site-caption\">Site</h2>\n";
    if (!report.brokenTargets.empty()) {
        html += "<h3>Broken links by target</h3>\n<ul>\n";
        for (const auto& [target, files] : report.brokenTargets) {
            html += "<li><code>" + EscapeHtml(target) + "</code> from " + Files(files) + "</li>\n";
        }
        html += "</ul>\n";
    }
    if (!report.orphans.empty()) {
        html += "<h3>Orphans</h3>\n<p>No other page links to " + Files(report.orphans) + ".</p>\n";
    }
    html += FindingList("Canonical and hreflang", report.addressFindings);
    html += FindingList("Sitemap and robots.txt", report.indexFindings);
    return html + "</section>\n";
}

// The table names its roles itself: its style lays rows out as grids, which some browsers take
// for the end of a table.
std::string TableHead() {
    std::string html =
        "<section class=\"pages\">\n<h2 id=\"pages-caption\">Pages</h2>\n"
        "<p class=\"hint\">Sort by a column's heading; open a page's row for its advice and "
        "checks.</p>\n<noscript><p class=\"noscript\">JavaScript is off, so the table cannot "
        "be sorted and a page's row cannot open to show its advice and checks.</p></noscript>\n"
        "<table id=\"pages\" role=\"table\" aria-labelledby=\"pages-caption\">\n"
        "<thead role=\"rowgroup\"><tr role=\"row\">";
    for (const Column& column : kColumns) {
        // The rows come lowest score first.
        html += "<th scope=\"col\" role=\"columnheader\" aria-sort=\"";
        html += column.key == "score" ? "ascending\"" : "none\"";
        html += column.numeric ? " class=\"num\">" : ">";
        html += "<button type=\"button\" data-key=\"";
        html += column.key;
        html += "\">";
        html += column.heading;
        html += "<span class=\"arrow\" aria-hidden=\"true\"></span></button></th>";
    }
    return html + "</tr></thead>\n<tbody role=\"rowgroup\">\n";
}

// A number cell; a number above zero gets the class alarm, when one is given.
std::string Count(std::size_t value, std::string_view alarm) {
    std::string html = "<td role=\"cell\" class=\"num";
    if (value > 0 && !alarm.empty()) {
        html += ' ';
        html += alarm;
    }
    return html + "\">" + std::to_string(value) + "</td>";
}

std::string Row(const SiteReportPage& page, std::size_t index) {
    const std::string i = std::to_string(index);
    std::string html =
        "<tr class=\"page\" role=\"row\" data-i=\"" + i +
        "\"><td role=\"cell\" class=\"page-cell\"><button type=\"button\" class=\"toggle\" "
        "aria-expanded=\"false\" aria-controls=\"details-" +
        i + "\"><span class=\"file\">" + EscapeHtml(page.file) + "</span></button>" +
        (page.title.empty() ? std::string("<span class=\"page-title none\">no title</span>")
                            : "<span class=\"page-title\">" + EscapeHtml(page.title) + "</span>") +
        "</td>";
    html += page.score ? "<td role=\"cell\" class=\"num score rating-bin-" +
                             std::to_string(ScoreBin(*page.score)) + "\">" +
                             std::to_string(*page.score) + "</td>"
                       : "<td role=\"cell\" class=\"num score none\">" +
                             std::string(page_checks::PageRoleName(page.role)) + "</td>";
    html += "<td role=\"cell\" class=\"num rating rating-bin-" +
            std::to_string(RatingBin(page.rating)) + "\">" +
            EscapeHtml(WithoutPadding(page.ratingText)) + "</td>";
    html += Count(page.problems, "problem") + Count(page.improve, "improve");
    html += Count(page.titleCharacters, {}) + Count(page.descriptionCharacters, {}) + "</tr>\n";
    return html;
}

// The texts that repeat from page to page (check messages, advice, ids and states) are written
// once and named by their index: ten thousand pages then make megabytes less data to parse.
class TextPool {
public:
    std::int64_t Index(std::string_view text) {
        const auto [entry, added] = indices_.try_emplace(text, texts_.size());
        if (added) {
            texts_.push_back(text);
        }
        return static_cast<std::int64_t>(entry->second);
    }
    const std::vector<std::string_view>& Texts() const { return texts_; }

private:
    std::unordered_map<std::string_view, std::size_t> indices_;
    std::vector<std::string_view> texts_;
};

void WritePage(JsonWriter& json, TextPool& pool, const SiteReportPage& page) {
    json.BeginObject()
        .Field("file", page.file)
        .Field("title", page.title)
        .Field("description", page.description);
    json.Key("score");
    if (page.score) {
        json.Integer(*page.score);
    } else {
        json.Null();
    }
    json.Field("role", page_checks::PageRoleName(page.role));
    json.Key("rating").Float(page.rating);
    json.Field("ratingText", WithoutPadding(page.ratingText))
        .Field("problems", static_cast<std::int64_t>(page.problems))
        .Field("improve", static_cast<std::int64_t>(page.improve))
        .Field("titleChars", static_cast<std::int64_t>(page.titleCharacters))
        .Field("descriptionChars", static_cast<std::int64_t>(page.descriptionCharacters));
    json.Key("advice").BeginArray();
    for (const SiteReportAdvice& advice : page.advice) {
        json.BeginArray().Integer(pool.Index(advice.title)).Integer(pool.Index(advice.text));
        json.EndArray();
    }
    json.EndArray().Key("checks").BeginArray();
    for (const SiteReportCheck& check : page.checks) {
        json.BeginArray().Integer(pool.Index(check.id)).Integer(pool.Index(check.state));
        json.Integer(pool.Index(check.message)).EndArray();
    }
    json.EndArray().EndObject();
}

// The pages' details and sort keys, read by the script: {"pages": [...], "texts": [...]}, where
// the advice and checks of a page hold indices into texts.
std::string Data(const SiteReport& report) {
    JsonWriter json;
    TextPool pool;
    json.BeginObject().Key("pages").BeginArray();
    for (const SiteReportPage& page : report.pages) {
        WritePage(json, pool, page);
    }
    json.EndArray().Key("texts").BeginArray();
    for (const std::string_view text : pool.Texts()) {
        json.String(text);
    }
    json.EndArray().EndObject();
    return "<script type=\"application/json\" id=\"report-data\">" +
           EscapeJsonForScript(json.Take()) + "</script>\n";
}

// Why each check that found a problem or something to improve matters and how to fix it, in
// the words the desktop and the manual page use.
std::string GuidanceSection(const SiteReport& report) {
    std::array<bool, kCheckCount> found{};
    for (const SiteReportPage& page : report.pages) {
        for (const SiteReportCheck& check : page.checks) {
            const auto id = CheckIdFromName(check.id);
            if (id && (check.state == "problem" || check.state == "improve")) {
                found[static_cast<std::size_t>(*id)] = true;
            }
        }
    }
    if (std::find(found.begin(), found.end(), true) == found.end()) {
        return {};
    }
    std::string html =
        "<section class=\"guidance\" aria-labelledby=\"guidance-caption\">\n"
        "<h2 id=\"guidance-caption\">How to fix what the checks found</h2>\n<dl>\n";
    for (std::size_t i = 0; i < kCheckCount; ++i) {
        if (!found[i]) {
            continue;
        }
        const auto id = static_cast<CheckId>(i);
        const page_checks::CheckGuidance& guidance = page_checks::GuidanceFor(id);
        html += "<dt><code>";
        html += CheckIdName(id);
        html += "</code></dt>\n<dd><p>" + EscapeHtml(guidance.why) + "</p><p>" +
                EscapeHtml(guidance.how) + "</p></dd>\n";
    }
    return html + "</dl>\n</section>\n";
}

}  // namespace

std::string RenderSiteReport(const SiteReport& report) {
    std::string html = Head() + "<body>\n<main>\n" + Summary(report) + TemplateWideSection(report) +
                       Charts(report) + SiteSection(report) + TableHead();
    for (std::size_t i = 0; i < report.pages.size(); ++i) {
        html += Row(report.pages[i], i);
    }
    html += "</tbody>\n</table>\n</section>\n" + GuidanceSection(report) + "</main>\n" +
            Data(report) + "<script>\n";
    html += kSiteReportScript;
    return html + "</script>\n</body>\n</html>\n";
}

}  // namespace velmora::cli
