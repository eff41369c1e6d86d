#include "cli/page_review.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "cli/config_flags.h"
#include "cli/messages.h"
#include "cli/parallel_runner.h"
#include "cli/report_spill.h"
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

constexpr std::size_t kNotOnSite = SIZE_MAX;

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
    // Only what the comparisons need stays in memory; each page's report waits on disk.
    ReportSpill spill;
    std::vector<ReportSpill::Place> kept(inputs.size());
    site_checks::Site site;
    std::vector<std::size_t> sitePageOf(inputs.size(), kNotOnSite);
    RunInOrder<ReviewedPage>(
        inputs.size(), jobs, [&] { return MakeWorker(inputs, settings, meter, later); },
        [&](std::size_t index, ReviewedPage& page) {
            if (page.report) {
                sitePageOf[index] = site.pages.size();
                site.pages.push_back(SitePageOf(*page.report, site.texts));
            }
            kept[index] = spill.Write(page);
            return true;
        },
        handling.progress);
    end.siteFilesFailed = !LoadSiteFiles(settings.site, site, err);
    site_checks::SiteJudge judge(site, settings.checkOptions);
    if (std::vector<page_checks::CheckResult> sitemap = judge.SitemapResults(); !sitemap.empty()) {
        end.sitemap =
            SiteRecord{site.sitemap->file,
                       FilterRecord(site.sitemap->file, std::move(sitemap), {}, settings.filter)};
    }
    // The judge's tables fill as pages are judged, so one thread judges at a time.
    std::mutex judging;
    RunInOrder<ReviewedPage>(
        inputs.size(), jobs,
        [&]() -> std::function<ReviewedPage(std::size_t)> {
            return [&](std::size_t index) {
                ReviewedPage page = spill.Read(kept[index]);
                if (page.report && sitePageOf[index] != kNotOnSite) {
                    std::vector<page_checks::CheckResult> results;
                    {
                        const std::lock_guard lock(judging);
                        results = judge.PageResults(sitePageOf[index]);
                    }
                    for (page_checks::CheckResult& result : results) {
                        page.report->checks.Add(std::move(result));
                    }
                    ApplyResultFilter(*page.report, settings.filter);
                }
                finish(index, page);
                return page;
            };
        },
        handling.deliver, [](std::size_t) {});
    return end;
}

}  // namespace velmora::cli
