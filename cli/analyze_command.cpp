#include "cli/analyze_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <thread>

#include "cli/checked_output.h"
#include "cli/exit_codes.h"
#include "cli/json_report.h"
#include "cli/messages.h"
#include "cli/number_flags.h"
#include "cli/page_inputs.h"
#include "cli/page_report.h"
#include "cli/parallel_runner.h"
#include "cli/progress_bar.h"
#include "cli/text_report.h"
#include "document/velmora_data.h"

namespace velmora::cli {
namespace {

// What one input gives: the report text, or the problem line, for the output in order.
struct PageOutcome {
    std::string output;
    std::string problem;
    bool failed = false;
    std::optional<RatedPage> rated;
};

// More threads than this only cost memory: each holds a whole page and its analysis.
constexpr std::int64_t kMaximumJobs = 1024;

unsigned DefaultJobs() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : cores;
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// A worker owns its document and its copy of the options: nothing it touches is shared.
std::function<PageOutcome(std::size_t)> MakeWorker(const std::vector<PageInput>& inputs,
                                                   const KelVelmoraOptions& options, bool json) {
    return
        [&inputs, options, json, document = std::make_shared<KelVelmoraData>()](std::size_t index) {
            const PageInput& input = inputs[index];
            PageOutcome outcome;
            if (input.kind != PageInput::Kind::Page) {
                outcome.problem = ProblemLine(input.path, input.message);
                outcome.failed = input.kind == PageInput::Kind::Error;
                return outcome;
            }
            try {
                document->Load(input.path, options);
                const PageReport report = BuildPageReport(input.path, *document, options);
                outcome.output = json ? ToJsonLine(report) + "\n" : ToText(report);
                outcome.rated = RatedPage{input.path, report.rating, report.ratingText};
            } catch (const std::exception& error) {
                outcome.problem = PageProblemLine(input.path, error);
                outcome.failed = true;
            }
            return outcome;
        };
}

}  // namespace

CLI::App& AddAnalyzeCommand(CLI::App& app, AnalyzeArguments& arguments) {
    CLI::App& command = *app.add_subcommand(
        "analyze", "Review pages: rating, advice, keywords, candidates and Auto's choice");
    command.add_option("paths", arguments.paths, "Page files, or folders to search for pages")
        ->required()
        ->type_name("FILE|DIR");
    command.add_flag("--json", arguments.json, "One JSON object per page (JSON Lines)");
    command
        .add_option("--fail-under", arguments.failUnder,
                    "Exit with 1 when a page's rating (unrounded) is below N (0 to 100)")
        ->check(DecimalNumber(0, 100))
        ->type_name("N");
    command
        .add_option("-j,--jobs", arguments.jobs,
                    "Pages analysed at once (default: the number of processors)")
        ->check(WholeNumber(1, kMaximumJobs))
        ->type_name("N");
    AddSettingsFlags(command, arguments.settings);
    return command;
}

int RunAnalyze(const AnalyzeArguments& arguments) {
    const KelVelmoraOptions options = ResolveOptions(arguments.settings);
    const std::vector<PageInput> inputs = ExpandPageArguments(arguments.paths);
    std::size_t pageCount = 0;
    for (const PageInput& input : inputs) {
        pageCount += input.kind == PageInput::Kind::Page ? 1 : 0;
    }

    ProgressBar bar(inputs.size(), pageCount > 1 && StandardErrorIsTerminal());
    std::vector<RatedPage> rated;
    std::size_t failed = 0;
    bool belowFailUnder = false;

    CheckedOutput& out = StandardOutput();
    const auto deliver = [&](std::size_t, PageOutcome& outcome) {
        bar.Clear();
        if (!out.Write(outcome.output) ||
            (!arguments.json && !outcome.output.empty() && !out.Write("\n")) || !out.Flush()) {
            return false;
        }
        std::fputs(outcome.problem.c_str(), stderr);
        failed += outcome.failed ? 1 : 0;
        if (outcome.rated) {
            if (arguments.failUnder && outcome.rated->rating < *arguments.failUnder) {
                belowFailUnder = true;
                ReportProblem(outcome.rated->file, "rating " + Number(outcome.rated->rating) +
                                                       " is below " + Number(*arguments.failUnder));
            }
            rated.push_back(std::move(*outcome.rated));
        }
        return true;
    };
    RunInOrder<PageOutcome>(
        inputs.size(), arguments.jobs.value_or(DefaultJobs()),
        [&] { return MakeWorker(inputs, options, arguments.json); }, deliver,
        [&](std::size_t done) { bar.Update(done); });
    bar.Clear();

    if (!arguments.json && pageCount > 1) {
        // A failed write is reported when main closes the output.
        out.Write(SummaryText(rated, failed));
    }
    if (failed > 0) {
        return kExitFileError;
    }
    return belowFailUnder ? kExitBelowFailUnder : kExitDone;
}

}  // namespace velmora::cli
