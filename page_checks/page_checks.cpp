#include "page_checks/page_checks.h"

#include <algorithm>

#include "core/line_index.h"
#include "page_checks/body_checks.h"
#include "page_checks/head_agreement.h"
#include "page_checks/head_checks.h"
#include "page_checks/json_ld.h"
#include "page_checks/page_facts.h"
#include "page_checks/page_positions.h"
#include "page_checks/page_text.h"
#include "page_checks/site_facts.h"

namespace velmora::page_checks {
namespace {

std::optional<std::string> NonEmpty(const CheckResult& result) {
    const CheckValue* text = result.Value("text");
    if (text == nullptr) {
        return std::nullopt;
    }
    const auto* value = std::get_if<std::string>(&text->value);
    if (value == nullptr || value->empty()) {
        return std::nullopt;
    }
    return *value;
}

int Severity(CheckState state) {
    switch (state) {
        case CheckState::Problem:
            return 2;
        case CheckState::Improve:
            return 1;
        case CheckState::Good:
        case CheckState::Info:
            break;
    }
    return 0;
}

// Turns the byte offsets the checks recorded into lines and columns, asked in page order.
void Locate(PageCheckReport& report, PagePositions& positions) {
    std::vector<CheckedElement*> elements;
    const auto add = [&elements](std::optional<CheckedElement>& element) {
        if (element) {
            elements.push_back(&*element);
        }
    };
    for (CheckResult& check : report.checks) {
        add(check.element);
        for (CheckedElement& element : check.listed) {
            elements.push_back(&element);
        }
    }
    add(report.titleElement);
    add(report.descriptionElement);
    if (elements.empty()) {
        return;
    }
    std::stable_sort(
        elements.begin(), elements.end(),
        [](const CheckedElement* a, const CheckedElement* b) { return a->offset < b->offset; });
    for (CheckedElement* element : elements) {
        element->position = positions.At(element->offset);
    }
}

// Places the elements, hands the site checks their facts and counts the states.
void Finish(PageCheckReport& report, PageFacts& facts, std::string_view utf8Page) {
    PagePositions positions(utf8Page);
    Locate(report, positions);
    report.site = TakeSiteFacts(facts, positions);
    report.summary = Summarize(report.checks);
}

}  // namespace

void PageCheckReport::Add(CheckResult result) {
    checks.push_back(std::move(result));
    summary = Summarize(checks);
}

bool PageCheckReport::HasStateOrWorse(CheckState state) const {
    const int threshold = Severity(state);
    for (const CheckResult& check : checks) {
        if (Severity(check.state) >= threshold && Severity(check.state) > 0) {
            return true;
        }
    }
    return false;
}

CheckSummary Summarize(std::span<const CheckResult> checks) {
    CheckSummary summary;
    for (const CheckResult& check : checks) {
        switch (check.state) {
            case CheckState::Problem:
                ++summary.problem;
                break;
            case CheckState::Improve:
                ++summary.improve;
                break;
            case CheckState::Good:
                ++summary.good;
                break;
            case CheckState::Info:
                ++summary.info;
                break;
        }
    }
    return summary;
}

PageCheckReport RunPageChecks(std::string_view pageBytes, std::string_view fileName,
                              const PageCheckOptions& options, const TextWidthMeter& meter) {
    return RunPageChecks(pageBytes, PageAddress{std::string(fileName), {}, {}}, options, meter);
}

PageCheckReport RunPageChecks(std::string_view pageBytes, const PageAddress& address,
                              const PageCheckOptions& options, const TextWidthMeter& meter) {
    const PageBytes bytes = ClassifyBytes(pageBytes);
    std::string converted;
    // A Windows-1252 page's UTF-8 form has one code point per byte of the file, and the
    // byte-order mark is gone, so lines and columns counted in it are the file's own.
    const std::string_view utf8Page = PageAsUtf8(pageBytes, bytes, converted);
    PageFacts facts = ReadPageFacts(utf8Page);
    PageCheckReport report;
    // Title and description are read even when their checks are off: the duplicates need them.
    const CheckResult title = CheckTitle(facts, options, meter);
    const CheckResult description = CheckDescription(facts, options, meter);
    report.title = NonEmpty(title);
    report.description = NonEmpty(description);
    report.titleElement = title.element;
    report.descriptionElement = description.element;
    const auto run = [&](CheckId id, auto check) {
        if (options.Enabled(id)) {
            report.checks.push_back(check());
        }
    };
    // A redirect stub has no content by design: where it sends readers is all there is to say.
    if (const std::optional<Redirect> redirect = FindRedirect(facts)) {
        report.role = PageRole::Redirect;
        report.redirectTarget = redirect->target;
        run(CheckId::Indexable, [&] { return RedirectIndexable(*redirect); });
        Finish(report, facts, utf8Page);
        return report;
    }
    const CanonicalReading canonical = ReadCanonical(facts, address);
    if (IsNotIndexed(facts)) {
        report.role = PageRole::NotIndexed;
    } else if (canonical.distinct == 1 && canonical.target == CanonicalTarget::OtherPage) {
        report.role = PageRole::Canonicalized;
    }
    run(CheckId::Title, [&] { return title; });
    run(CheckId::Description, [&] { return description; });
    run(CheckId::Indexable, [&] { return CheckIndexable(facts, Today()); });
    run(CheckId::Canonical, [&] { return CheckCanonical(canonical); });
    run(CheckId::Language, [&] { return CheckLanguage(facts); });
    run(CheckId::Charset, [&] { return CheckCharset(facts, bytes); });
    run(CheckId::Viewport, [&] { return CheckViewport(facts); });
    run(CheckId::Social, [&] { return CheckSocial(facts); });
    run(CheckId::Hreflang, [&] { return CheckHreflang(facts); });
    run(CheckId::StructuredData, [&] { return CheckStructuredData(facts.jsonLd); });
    run(CheckId::H1, [&] { return CheckH1(facts); });
    run(CheckId::Headings, [&] { return CheckHeadings(facts); });
    run(CheckId::Images, [&] { return CheckImages(facts); });
    run(CheckId::Links, [&] { return CheckLinks(facts); });
    run(CheckId::Content, [&] { return CheckContent(facts, options); });
    run(CheckId::Keyphrase, [&] { return CheckKeyphrase(facts, options, address.file); });
    run(CheckId::HeadAgreement, [&] { return CheckHeadAgreement(utf8Page, facts); });
    Finish(report, facts, utf8Page);
    return report;
}

CheckResult DuplicateCheck(CheckId id, std::span<const std::string> otherFiles,
                           std::optional<CheckedElement> element) {
    CheckResult result;
    result.id = id;
    result.state = CheckState::Improve;
    result.element = std::move(element);
    const std::string what = id == CheckId::DuplicateTitle ? "title" : "description";
    // A template title can be shared by thousands of pages: the names are appended in place.
    std::string& message = result.message;
    message = "The " + what + " is the same as on ";
    CheckValue::List files;
    files.reserve(otherFiles.size());
    for (std::size_t i = 0; i < otherFiles.size(); ++i) {
        if (i > 0) {
            message += ", ";
        }
        message += otherFiles[i];
        files.emplace_back(otherFiles[i]);
    }
    message += "; give each page its own.";
    result.values.push_back({"files", std::move(files)});
    return result;
}

}  // namespace velmora::page_checks
