#include "cli/analyze_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "cli/checked_output.h"
#include "cli/error_output.h"
#include "cli/exit_codes.h"
#include "cli/messages.h"
#include "cli/number_flags.h"
#include "cli/page_inputs.h"
#include "cli/page_report.h"
#include "cli/page_review.h"
#include "cli/page_run.h"
#include "cli/progress_bar.h"
#include "cli/report_format.h"
#include "cli/run_flags.h"
#include "cli/site_run.h"
#include "cli/step_summary.h"
#include "cli/text_report.h"

namespace velmora::cli {
namespace {

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::optional<page_checks::CheckState> FailOnState(const std::optional<std::string>& name) {
    if (!name) {
        return std::nullopt;
    }
    return *name == "problem" ? page_checks::CheckState::Problem : page_checks::CheckState::Improve;
}

// Writes the pages' outcomes in order and keeps what the summary and the exit code need.
class Delivery {
public:
    Delivery(const AnalyzeArguments& arguments, const std::vector<PageInput>& inputs,
             ReportStream& reports, ProgressBar& bar, CheckedOutput& out, ErrorOutput& err)
        : arguments_(arguments),
          inputs_(inputs),
          reports_(reports),
          bar_(bar),
          failOn_(FailOnState(arguments.failOn)),
          out_(out),
          err_(err) {}

    // False when the output failed: nothing more is written.
    bool Deliver(std::size_t index, ReviewedPage& outcome) {
        bar_.Clear();
        const PageReport* report = outcome.report ? &*outcome.report : nullptr;
        if (!out_.Write(reports_.Next(std::move(outcome.output), report)) || !out_.Flush()) {
            return false;
        }
        err_.Write(outcome.problem);
        if (outcome.failed) {
            ++failed_;
            // The line without the program's name and its line break.
            std::string reason = outcome.problem;
            constexpr std::string_view kProgram = "velmora-cli: ";
            reason = reason.substr(reason.starts_with(kProgram) ? kProgram.size() : 0);
            while (reason.ends_with('\n')) {
                reason.pop_back();
            }
            problems_.push_back({inputs_[index].name(), reason});
        }
        if (outcome.report) {
            Judge(*outcome.report);
        }
        return true;
    }

    // Results that belong to no page, after the pages.
    void DeliverRecord(const SiteRecord& record) {
        bar_.Clear();
        out_.Write(reports_.NextRecord(record.file, record.checks, false));
        page_checks::PageCheckReport checks;
        checks.checks = record.checks;
        if (failOn_ && checks.HasStateOrWorse(*failOn_)) {
            failing_ = true;
            ReportProblem(err_, record.file, "site checks (--fail-on " + *arguments_.failOn + ")");
        }
    }

    void FileFailed() { ++failed_; }

    int Finish(std::size_t pageCount) {
        // A failed write is reported when the output is closed.
        if (reports_.format() == ReportFormat::Text && (pageCount > 1 || arguments_.output.quiet)) {
            out_.Write(SummaryText(rated_, failed_));
        }
        if (reports_.format() == ReportFormat::Text) {
            out_.Write(LeftOutText(suppressed_, baselined_));
        }
        out_.Write(reports_.Closing(problems_));
        if (reports_.format() == ReportFormat::Github &&
            !AppendStepSummary(reports_.StepSummary(), err_)) {
            return kExitFileError;
        }
        if (failed_ > 0) {
            return kExitFileError;
        }
        return failing_ ? kExitBelowFailUnder : kExitDone;
    }

private:
    void Judge(const PageReport& report) {
        if (arguments_.failUnder && report.rating < *arguments_.failUnder) {
            failing_ = true;
            ReportProblem(
                err_, report.file,
                "rating " + Number(report.rating) + " is below " + Number(*arguments_.failUnder));
        }
        // Redirects and pages kept out of the index have no score, so they never fail it.
        if (const std::optional<int> score = report.checks.Score();
            arguments_.minScore && score && *score < *arguments_.minScore) {
            failing_ = true;
            ReportProblem(err_, report.file,
                          "score " + std::to_string(*score) + " is below " +
                              std::to_string(*arguments_.minScore) + " (--min-score)");
        }
        if (failOn_ && report.checks.HasStateOrWorse(*failOn_)) {
            failing_ = true;
            const page_checks::CheckSummary& summary = report.checks.summary;
            ReportProblem(err_, report.file,
                          "page checks: " + std::to_string(summary.problem) + " problem, " +
                              std::to_string(summary.improve) + " improve (--fail-on " +
                              *arguments_.failOn + ")");
        }
        rated_.push_back(RatedPageOf(report));
        suppressed_ += report.suppressed;
        baselined_ += report.baselined;
    }

    const AnalyzeArguments& arguments_;
    const std::vector<PageInput>& inputs_;
    ReportStream& reports_;
    ProgressBar& bar_;
    const std::optional<page_checks::CheckState> failOn_;
    CheckedOutput& out_;
    ErrorOutput& err_;
    std::vector<RatedPage> rated_;
    std::vector<RunProblem> problems_;
    std::size_t failed_ = 0;
    std::size_t suppressed_ = 0;
    std::size_t baselined_ = 0;
    bool failing_ = false;
};

}  // namespace

CLI::App& AddAnalyzeCommand(CLI::App& app, AnalyzeArguments& arguments) {
    CLI::App& command = *app.add_subcommand(
        "analyze", "Review pages: rating, advice, keywords, candidates and Auto's choice");
    command
        .add_option("paths", arguments.paths,
                    "Page files, folders to search for pages, quoted globs ('site/**/*.html'), or "
                    "- for standard input (default: the include globs of .velmora.toml)")
        ->type_name("FILE|DIR|GLOB");
    AddFormatFlags(command, arguments.json, arguments.format,
                   "text (the default), json (one JSON object per page: JSON Lines), sarif "
                   "(one SARIF 2.1.0 log), github (workflow commands that annotate the pages) "
                   "or compact (FILE:LINE:COLUMN: STATE ID: MESSAGE, one line per result)");
    command
        .add_option("--fail-under", arguments.failUnder,
                    "Exit with 1 when a page's rating (unrounded) is below N (0 to 100)")
        ->check(DecimalNumber(0, 100))
        ->type_name("N");
    command
        .add_option("--min-score", arguments.minScore,
                    "Exit with 1 when a page's score from the page checks is below N (0 to 100); "
                    "redirects and pages kept out of the index have none")
        ->check(WholeNumber(0, 100))
        ->type_name("N");
    AddJobsFlag(command, arguments.jobs, "analysed");
    command
        .add_option("--fail-on", arguments.failOn,
                    "Exit with 1 when a page has a page check in this state or worse "
                    "(problem is worse than improve)")
        ->check(CLI::IsMember({"problem", "improve"}))
        ->type_name("STATE");
    AddProjectFlags(command, arguments.project);
    AddOutputFlags(command, arguments.output);
    AddSettingsFlags(command, arguments.settings);
    AddPageCheckFlags(command, arguments.pageChecks);
    AddSiteFlags(command, arguments.site);
    return command;
}

int RunAnalyze(const AnalyzeArguments& given, CheckedOutput& out, ErrorOutput& err) {
    PageRun run = PreparePageRun(given.paths, given.project, given.settings, given.pageChecks);
    AnalyzeArguments arguments = given;
    if (run.config) {
        arguments.failUnder = FlagOverConfig(given.failUnder, run.config->failUnder);
        arguments.failOn = FlagOverConfig(given.failOn, run.config->failOn);
        arguments.minScore = FlagOverConfig(given.minScore, run.config->minScore);
    }
    const ReviewSettings settings = SettingsOfRun(run, arguments.site, arguments.paths);
    const ReportFormat format = ChosenFormat(arguments.json, arguments.format);
    ReportStream stream(format, StyleOfReports(arguments.output, format, out));
    const std::vector<PageInput>& inputs = run.inputs;
    std::size_t pageCount = 0;
    for (const PageInput& input : inputs) {
        pageCount += input.kind == PageInput::Kind::Page ? 1 : 0;
    }

    ProgressBar bar(err, inputs.size(), pageCount > 1 && err.IsTerminal());
    Delivery delivery(arguments, inputs, stream, bar, out, err);
    out.Write(stream.Opening());
    const PageHandling handling{
        [&stream](ReviewedPage& page) { page.output = stream.Page(*page.report); },
        [&delivery](std::size_t index, ReviewedPage& page) {
            return delivery.Deliver(index, page);
        },
        [&bar](std::size_t done) { bar.Update(done); }};
    const RunEnd end =
        RunPages(inputs, settings, arguments.jobs.value_or(DefaultJobs()), handling, err);
    if (end.siteFilesFailed) {
        delivery.FileFailed();
    }
    if (end.sitemap) {
        delivery.DeliverRecord(*end.sitemap);
    }
    bar.Clear();
    return delivery.Finish(pageCount);
}

}  // namespace velmora::cli
