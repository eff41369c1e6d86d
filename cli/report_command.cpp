#include "cli/report_command.h"

#include <CLI/CLI.hpp>
#include <exception>

#include "cli/checked_output.h"
#include "cli/count_text.h"
#include "cli/error_output.h"
#include "cli/escaped_text.h"
#include "cli/exit_codes.h"
#include "cli/page_review.h"
#include "cli/page_run.h"
#include "cli/progress_bar.h"
#include "cli/report_file.h"
#include "cli/run_flags.h"
#include "cli/site_report.h"
#include "cli/site_report_html.h"

namespace velmora::cli {

CLI::App& AddReportCommand(CLI::App& app, ReportArguments& arguments) {
    CLI::App& command = *app.add_subcommand(
        "report", "Write one HTML file to look at: rating chart, common findings, every page");
    command
        .add_option("paths", arguments.paths,
                    "Page files, folders to search for pages, quoted globs ('site/**/*.html'), or "
                    "- for standard input (default: the include globs of .velmora.toml)")
        ->type_name("FILE|DIR|GLOB");
    command
        .add_option("-o,--output", arguments.output,
                    "The HTML file to write; - for standard output")
        ->required()
        ->type_name("FILE");
    AddJobsFlag(command, arguments.jobs, "analysed");
    AddProjectFlags(command, arguments.project);
    AddSettingsFlags(command, arguments.settings);
    AddPageCheckFlags(command, arguments.pageChecks);
    AddSiteFlags(command, arguments.site);
    return command;
}

int RunReport(const ReportArguments& arguments, CheckedOutput& out, ErrorOutput& err) {
    PageRun pageRun = PreparePageRun(arguments.paths, arguments.project, arguments.settings,
                                     arguments.pageChecks);
    const ReviewSettings settings = SettingsOfRun(pageRun, arguments.site, arguments.paths);
    const std::vector<PageInput>& inputs = pageRun.inputs;
    std::vector<ReviewedPage> reviewed(inputs.size());
    RunEnd run;
    {
        ProgressBar bar(err, inputs.size(), inputs.size() > 1 && err.IsTerminal());
        const PageHandling handling{nullptr,
                                    [&reviewed](std::size_t index, ReviewedPage& page) {
                                        reviewed[index] = std::move(page);
                                        return true;
                                    },
                                    [&bar](std::size_t done) { bar.Update(done); }};
        run = RunPages(inputs, settings, arguments.jobs.value_or(DefaultJobs()), handling, err);
    }

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
    if (arguments.output == "-") {
        // A failed write is reported when the output is closed.
        out.Write(RenderSiteReport(BuildSiteReport(std::move(pages))));
        return failed > 0 ? kExitFileError : kExitDone;
    }
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
    err.Write("Wrote " + EscapeControls(arguments.output) + " (" +
              CountText(count, "page", "pages") + ")\n");
    return failed > 0 ? kExitFileError : kExitDone;
}

}  // namespace velmora::cli
