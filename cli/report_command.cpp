#include "cli/report_command.h"

#include <CLI/CLI.hpp>
#include <exception>

#include "cli/error_output.h"
#include "cli/escaped_text.h"
#include "cli/exit_codes.h"
#include "cli/messages.h"
#include "cli/number_flags.h"
#include "cli/page_review.h"
#include "cli/progress_bar.h"
#include "cli/report_file.h"
#include "cli/site_report.h"
#include "cli/site_report_html.h"

namespace velmora::cli {
namespace {

std::string Pages(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " page" : " pages");
}

}  // namespace

CLI::App& AddReportCommand(CLI::App& app, ReportArguments& arguments) {
    CLI::App& command = *app.add_subcommand(
        "report", "Write one HTML file to look at: rating chart, common findings, every page");
    command.add_option("paths", arguments.paths, "Page files, or folders to search for pages")
        ->required()
        ->type_name("FILE|DIR");
    command.add_option("-o,--output", arguments.output, "The HTML file to write")
        ->required()
        ->type_name("FILE");
    command
        .add_option("-j,--jobs", arguments.jobs,
                    "Pages analysed at once (default: the number of processors)")
        ->check(WholeNumber(1, kMaximumJobs))
        ->type_name("N");
    AddSettingsFlags(command, arguments.settings);
    AddPageCheckFlags(command, arguments.pageChecks);
    AddSiteFlags(command, arguments.site);
    return command;
}

int RunReport(const ReportArguments& arguments, ErrorOutput& err) {
    const ReviewSettings settings{
        ResolveOptions(arguments.settings),
        ResolvePageCheckOptions(arguments.pageChecks, arguments.settings.defaults),
        ResolveSiteSetup(arguments.site, arguments.paths)};
    const std::vector<PageInput> inputs = ExpandPageArguments(arguments.paths);
    ReviewedRun run;
    {
        ProgressBar bar(err, inputs.size(), inputs.size() > 1 && err.IsTerminal());
        run = ReviewPages(
            inputs, settings, arguments.jobs.value_or(DefaultJobs()),
            [&](std::size_t done) { bar.Update(done); }, err);
    }
    std::vector<ReviewedPage>& reviewed = run.pages;

    std::size_t failed = run.siteFilesFailed ? 1 : 0;
    std::vector<SiteReportPage> pages;
    pages.reserve(reviewed.size());
    for (ReviewedPage& page : reviewed) {
        err.Write(page.problem);
        failed += page.failed ? 1 : 0;
        if (page.report) {
            pages.push_back(SummarizePage(*page.report));
            page.report.reset();
        }
    }
    const std::size_t count = pages.size();
    try {
        SiteReport report = BuildSiteReport(std::move(pages));
        if (run.sitemap) {
            AddSiteRecord(report, run.sitemap->file, run.sitemap->checks);
        }
        WriteWholeFile(arguments.output, RenderSiteReport(report));
    } catch (const std::exception& error) {
        err.Write("velmora-cli: " + std::string(error.what()) + "\n");
        return kExitFileError;
    }
    err.Write("Wrote " + EscapeControls(arguments.output) + " (" + Pages(count) + ")\n");
    return failed > 0 ? kExitFileError : kExitDone;
}

}  // namespace velmora::cli
