#include "cli/page_review.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <thread>

#include "cli/config_flags.h"
#include "cli/messages.h"
#include "cli/parallel_runner.h"
#include "document/velmora_data.h"
#include "page_checks/page_checks.h"

namespace velmora::cli {
namespace {

using FinishPage = std::function<void(std::size_t, ReviewedPage&)>;

// A worker owns its document; the width meter is shared and safe to use from several threads.
std::function<ReviewedPage(std::size_t)> MakeWorker(const std::vector<PageInput>& inputs,
                                                    const ReviewSettings& settings,
                                                    const page_checks::TextWidthMeter& meter,
                                                    const FinishPage& finish) {
    return [&inputs, &settings, &meter, &finish,
            document = std::make_shared<KelVelmoraData>(
                SystemLocalTime, KelVelmoraData::Analysis::Reported)](std::size_t index) {
        ReviewedPage page =
            ReviewPage(inputs[index], *document, settings.options, settings.checkOptions,
                       settings.site, settings.filter, meter);
        finish(index, page);
        return page;
    };
}

std::size_t PageCount(const std::vector<PageInput>& inputs) {
    return static_cast<std::size_t>(
        std::count_if(inputs.begin(), inputs.end(),
                      [](const PageInput& input) { return input.kind == PageInput::Kind::Page; }));
}

}  // namespace

ReviewSettings SettingsOfRun(const PageRun& run, const SiteFlags& site,
                             const std::vector<std::string>& paths) {
    return {run.options, run.checkOptions,
            ResolveSiteSetup(MergeSiteFlags(site, run.config), paths), run.filter};
}

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
        page.report = BuildPageReport(input.name(), document);
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

RunEnd RunPages(const std::vector<PageInput>& inputs, const ReviewSettings& settings, unsigned jobs,
                const PageHandling& handling, ErrorOutput& err) {
    const page_checks::TextWidthMeter meter;
    const FinishPage finish = [&](std::size_t index, ReviewedPage& page) {
        if (!handling.finish || !page.report) {
            return;
        }
        try {
            handling.finish(page);
        } catch (const std::exception& error) {
            page.problem = PageProblemLine(inputs[index].path, error);
            page.failed = true;
            page.report.reset();
        }
    };
    const FinishPage later = [](std::size_t, ReviewedPage&) {};
    RunEnd end;
    if (!JudgesSite(PageCount(inputs), settings.site, settings.checkOptions)) {
        RunInOrder<ReviewedPage>(
            inputs.size(), jobs, [&] { return MakeWorker(inputs, settings, meter, finish); },
            handling.deliver, handling.progress);
        return end;
    }
    std::vector<ReviewedPage> pages(inputs.size());
    RunInOrder<ReviewedPage>(
        inputs.size(), jobs, [&] { return MakeWorker(inputs, settings, meter, later); },
        [&](std::size_t index, ReviewedPage& page) {
            pages[index] = std::move(page);
            return true;
        },
        handling.progress);
    std::vector<PageReport*> reports;
    reports.reserve(pages.size());
    for (ReviewedPage& page : pages) {
        reports.push_back(page.report ? &*page.report : nullptr);
    }
    end.sitemap =
        AddSiteChecks(reports, settings.site, settings.checkOptions, err, end.siteFilesFailed);
    FilterResults(reports, settings.filter);
    if (end.sitemap) {
        end.sitemap->checks =
            FilterRecord(end.sitemap->file, std::move(end.sitemap->checks), {}, settings.filter);
    }
    // The reports are final now.
    RunInOrder<ReviewedPage>(
        pages.size(), jobs,
        [&]() -> std::function<ReviewedPage(std::size_t)> {
            return [&](std::size_t index) {
                ReviewedPage page = std::move(pages[index]);
                finish(index, page);
                return page;
            };
        },
        handling.deliver, [](std::size_t) {});
    return end;
}

void FilterResults(const std::vector<PageReport*>& reports, const ResultFilter& filter) {
    for (PageReport* report : reports) {
        if (report != nullptr) {
            ApplyResultFilter(*report, filter);
        }
    }
}

}  // namespace velmora::cli
