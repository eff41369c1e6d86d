#include "cli/site_command.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <set>

#include "cli/checked_output.h"
#include "cli/count_text.h"
#include "cli/error_output.h"
#include "cli/exit_codes.h"
#include "cli/json_lines_inputs.h"
#include "cli/messages.h"
#include "cli/report_format.h"
#include "cli/result_filter.h"
#include "cli/run_flags.h"
#include "cli/site_lines.h"
#include "cli/site_run.h"
#include "cli/step_summary.h"

namespace velmora::cli {
namespace {

// Reads every page of one stream, a line at a time; a line that is no page is named and passed
// over.
bool ReadPages(std::istream& in, const std::string& name, site_checks::Site& site,
               std::vector<Suppressions>& suppressions, ErrorOutput& err) {
    bool allRead = true;
    SiteLineReader reader;
    std::string line;
    for (std::size_t number = 1; std::getline(in, line); ++number) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) {
            continue;
        }
        try {
            if (std::optional<SiteLine> read = reader.Read(line, site.texts)) {
                site.pages.push_back(std::move(read->page));
                suppressions.push_back(std::move(read->suppressions));
            }
        } catch (const std::exception& error) {
            ReportProblem(err, name + ":" + std::to_string(number), error.what());
            allRead = false;
        }
    }
    if (in.bad()) {
        ReportProblem(err, name, std::strerror(errno));
        return false;
    }
    return allRead;
}

// The reasons in problem lines, without the program's name: one line of a SARIF notification.
std::string ProblemReasons(const std::string& said) {
    constexpr std::string_view kProgram = "velmora-cli: ";
    std::string reasons;
    for (std::size_t start = 0; start < said.size();) {
        const std::size_t end = std::min(said.find('\n', start), said.size());
        std::string_view line = std::string_view(said).substr(start, end - start);
        start = end + 1;
        if (line.starts_with(kProgram)) {
            line.remove_prefix(kProgram.size());
        }
        reasons.append(reasons.empty() ? "" : "; ").append(line);
    }
    return reasons;
}

// The site's own files and the pages of every JSON Lines input. What could not be read is told
// on err as it happens, and kept in problems for the SARIF log's invocation; false then.
bool ReadSiteInputs(const std::vector<std::string>& files, const SiteSetup& setup,
                    site_checks::Site& site, std::vector<Suppressions>& suppressions,
                    std::vector<RunProblem>& problems, ErrorOutput& err) {
    const auto told = [&](const std::string& subject, const auto& read) {
        std::string said;
        ErrorOutput collected(said);
        const bool done = read(collected);
        err.Write(said);
        if (!done) {
            problems.push_back({subject, ProblemReasons(said)});
        }
        return done;
    };
    bool allRead = told(setup.root.value_or("."),
                        [&](ErrorOutput& to) { return LoadSiteFiles(setup, site, to); });
    std::set<std::string> opened;
    allRead = ReadEachJsonLinesInput(files, err,
                                     [&](std::istream& in, const std::string& name) {
                                         opened.insert(name);
                                         return told(name, [&](ErrorOutput& to) {
                                             return ReadPages(in, name, site, suppressions, to);
                                         });
                                     }) &&
              allRead;
    for (const std::string& name : files) {
        if (name != "-" && !opened.contains(name)) {
            problems.push_back({name, "could not be opened"});
        }
    }
    return allRead;
}

}  // namespace

CLI::App& AddSiteCommand(CLI::App& app, SiteArguments& arguments) {
    CLI::App& command = *app.add_subcommand(
        "site",
        "Run the site checks over the JSON Lines of analyze runs: broken links, canonicals, "
        "language alternates, orphans, duplicates, sitemap and robots.txt");
    command
        .add_option("files", arguments.files,
                    "JSON Lines of analyze --json, one run or many; - reads standard input")
        ->required()
        ->type_name("FILE.jsonl");
    AddFormatFlags(command, arguments.json, arguments.format,
                   "text (the default), json ({\"file\", \"checks\"} per page: JSON Lines), "
                   "sarif, github or compact (FILE:LINE:COLUMN: STATE ID: MESSAGE)");
    command
        .add_option("--fail-on", arguments.failOn,
                    "Exit with 1 when a page has a site check in this state or worse")
        ->check(CLI::IsMember({"problem", "improve"}))
        ->type_name("STATE");
    command.add_flag("--defaults", arguments.defaults,
                     "Ignore the stored settings (which checks are off); start from the defaults");
    AddConfigFlags(command, arguments.project);
    AddBaselineFlag(command, arguments.project);
    AddOutputFlags(command, arguments.output);
    AddPageCheckFlags(command, arguments.pageChecks);
    AddSiteFlags(command, arguments.site);
    return command;
}

int RunSite(const SiteArguments& arguments, CheckedOutput& out, ErrorOutput& err) {
    // As analyze: a project's configuration stands in for the stored settings, under the flags.
    const std::optional<ProjectConfig> config = LoadProjectConfig(arguments.project);
    const PageCheckOptions options =
        ResolvePageCheckOptions(MergePageCheckFlags(arguments.pageChecks, config),
                                arguments.defaults || config.has_value());
    const SiteSetup setup = ResolveSiteSetup(MergeSiteFlags(arguments.site, config), {});
    ResultFilter filter;
    if (arguments.project.baseline) {
        std::error_code noFolder;
        filter.baseline = std::make_shared<const Baseline>(*arguments.project.baseline,
                                                           std::filesystem::current_path(noFolder));
    }
    site_checks::Site site;
    std::vector<Suppressions> suppressions;
    std::vector<RunProblem> problems;
    bool allRead = ReadSiteInputs(arguments.files, setup, site, suppressions, problems, err);
    site_checks::SiteJudge judge(site, options);

    const ReportFormat format = ChosenFormat(arguments.json, arguments.format);
    ReportStream stream(format, StyleOfReports(arguments.output, format, out));
    const std::optional<std::string> failOnName =
        FlagOverConfig(arguments.failOn, config ? config->failOn : std::nullopt);
    // A flag and a state rather than an optional: GCC's optimiser takes an optional enum read in
    // the lambda below for uninitialised.
    const bool failsOnState = failOnName.has_value();
    const page_checks::CheckState failOn = failOnName && *failOnName == "problem"
                                               ? page_checks::CheckState::Problem
                                               : page_checks::CheckState::Improve;
    bool failing = false;
    std::size_t reported = 0;
    const auto write = [&](const std::string& file, std::vector<page_checks::CheckResult>& checks,
                           bool isPage) {
        if (checks.empty()) {
            return true;
        }
        ++reported;
        page_checks::PageCheckReport judged;
        judged.checks = std::move(checks);
        failing = failing || (failsOnState && judged.HasStateOrWorse(failOn));
        return out.Write(stream.NextRecord(file, judged.checks, isPage));
    };
    out.Write(stream.Opening());
    for (std::size_t i = 0; i < site.pages.size(); ++i) {
        std::vector<page_checks::CheckResult> checks = FilterRecord(
            site.pages[i].file, judge.PageResults(i), std::move(suppressions[i]), filter);
        if (!write(site.pages[i].file, checks, true)) {
            break;
        }
    }
    if (site.sitemap) {
        std::vector<page_checks::CheckResult> checks =
            FilterRecord(site.sitemap->file, judge.SitemapResults(), {}, filter);
        write(site.sitemap->file, checks, false);
    }
    out.Write(stream.Closing(problems));
    err.Write("velmora-cli: " + CountText(site.pages.size(), "page", "pages") + " read; " +
              std::to_string(reported) + " with site results\n");
    if (format == ReportFormat::Github && !AppendStepSummary(stream.StepSummary(), err)) {
        allRead = false;
    }
    if (!allRead) {
        return kExitFileError;
    }
    return failing ? kExitBelowFailUnder : kExitDone;
}

}  // namespace velmora::cli
