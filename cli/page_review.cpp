#include "cli/page_review.h"

#include <exception>
#include <memory>
#include <thread>

#include "cli/messages.h"
#include "cli/parallel_runner.h"
#include "document/velmora_data.h"
#include "page_checks/page_checks.h"

namespace velmora::cli {
namespace {

// A worker owns its document; the width meter is shared and safe to use from several threads.
std::function<ReviewedPage(std::size_t)> MakeWorker(const std::vector<PageInput>& inputs,
                                                    const ReviewSettings& settings,
                                                    const page_checks::TextWidthMeter& meter) {
    return [&inputs, &settings, &meter,
            document = std::make_shared<KelVelmoraData>(
                SystemLocalTime, KelVelmoraData::Analysis::Reported)](std::size_t index) {
        return ReviewPage(inputs[index], *document, settings.options, settings.checkOptions,
                          settings.site, settings.filter, meter);
    };
}

}  // namespace

unsigned DefaultJobs() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : cores;
}

ReviewedPage ReviewPage(const PageInput& input, KelVelmoraData& document,
                        const KelVelmoraOptions& options, const PageCheckOptions& checkOptions,
                        const SiteSetup& site, const ResultFilter& filter,
                        const page_checks::TextWidthMeter& meter) {
    ReviewedPage page;
    if (input.kind != PageInput::Kind::Page) {
        page.problem = ProblemLine(input.path, input.message);
        page.failed = input.kind == PageInput::Kind::Error;
        return page;
    }
    try {
        document.Load(input.path, options);
        page.report = BuildPageReport(input.name(), document.Result());
        // A keyphrase given on the command line holds for every page.
        const bool ownFocus = input.focus && checkOptions.FocusKeyphrase.empty();
        PageCheckOptions focused;
        if (ownFocus) {
            focused = checkOptions;
            focused.FocusKeyphrase = *input.focus;
        }
        // The text as loaded has CR LF line breaks, which no check tells apart from the file's
        // own; checking it spares a second read and sees what the review saw.
        page.report->checks = page_checks::RunPageChecks(document.GetSavedText(), input.name(),
                                                         ownFocus ? focused : checkOptions, meter);
        page.report->suppressions = ReadSuppressions(document.GetSavedText(), input.name());
        for (const std::string& warning : page.report->suppressions.warnings) {
            page.problem += ProblemLine("warning", warning);
        }
        // The site is read from the whole report, before anything is left out of it.
        page.report->site = PageSiteOf(*page.report, site);
        ApplyResultFilter(*page.report, filter);
    } catch (const std::exception& error) {
        page.problem = PageProblemLine(input.name(), error);
        page.failed = true;
        page.report.reset();
    }
    return page;
}

ReviewedRun ReviewPages(const std::vector<PageInput>& inputs, const ReviewSettings& settings,
                        unsigned jobs, const std::function<void(std::size_t)>& progress,
                        ErrorOutput& err) {
    const page_checks::TextWidthMeter meter;
    std::vector<ReviewedPage> pages(inputs.size());
    RunInOrder<ReviewedPage>(
        inputs.size(), jobs, [&] { return MakeWorker(inputs, settings, meter); },
        [&](std::size_t index, ReviewedPage& page) {
            pages[index] = std::move(page);
            return true;
        },
        progress);
    std::vector<PageReport*> reports;
    reports.reserve(pages.size());
    for (ReviewedPage& page : pages) {
        reports.push_back(page.report ? &*page.report : nullptr);
    }
    ReviewedRun run;
    if (JudgesSite(pages.size(), settings.site, settings.checkOptions)) {
        run.sitemap =
            AddSiteChecks(reports, settings.site, settings.checkOptions, err, run.siteFilesFailed);
    }
    FilterResults(reports, settings.filter);
    if (run.sitemap) {
        run.sitemap->checks =
            FilterRecord(run.sitemap->file, std::move(run.sitemap->checks), {}, settings.filter);
    }
    run.pages = std::move(pages);
    return run;
}

void FilterResults(const std::vector<PageReport*>& reports, const ResultFilter& filter) {
    for (PageReport* report : reports) {
        if (report != nullptr) {
            ApplyResultFilter(*report, filter);
        }
    }
}

}  // namespace velmora::cli
