#include "cli/page_review.h"

#include <exception>
#include <memory>

#include "cli/duplicate_pages.h"
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
            document = std::make_shared<KelVelmoraData>()](std::size_t index) {
        const PageInput& input = inputs[index];
        ReviewedPage page;
        if (input.kind != PageInput::Kind::Page) {
            page.problem = ProblemLine(input.path, input.message);
            page.failed = input.kind == PageInput::Kind::Error;
            return page;
        }
        try {
            document->Load(input.path, settings.options);
            page.report = BuildPageReport(input.path, *document, settings.options);
            // The loaded text has CR LF line breaks, which no check tells from the file's own.
            page.report->checks = page_checks::RunPageChecks(document->SavedText, input.path,
                                                             settings.checkOptions, meter);
        } catch (const std::exception& error) {
            page.problem = PageProblemLine(input.path, error);
            page.failed = true;
            page.report.reset();
        }
        return page;
    };
}

}  // namespace

std::vector<ReviewedPage> ReviewPages(const std::vector<PageInput>& inputs,
                                      const ReviewSettings& settings, unsigned jobs,
                                      const std::function<void(std::size_t)>& progress) {
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
    AddDuplicateChecks(reports, settings.checkOptions);
    return pages;
}

}  // namespace velmora::cli
