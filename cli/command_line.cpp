#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <exception>
#include <new>
#include <sstream>
#include <vector>

#include "cli/analyze_command.h"
#include "cli/checked_output.h"
#include "cli/duplicates_command.h"
#include "cli/edit_commands.h"
#include "cli/error_output.h"
#include "cli/exit_codes.h"
#include "cli/fix_command.h"
#include "cli/messages.h"
#include "cli/report_command.h"
#include "cli/site_command.h"
#include "cli/usage_error.h"

namespace velmora::cli {
namespace {

std::string VersionLine() {
    return std::string("velmora-cli ") + VELMORA_VERSION_TEXT + " (build " + VELMORA_BUILD_NUMBER +
           ")";
}

// The exit code once the output is closed: a command that wrote everything can still fail at
// the last flush.
int Finished(int code, CheckedOutput& out, ErrorOutput& err) {
    if (!out.Close()) {
        return ExitForFailedOutput(out, err);
    }
    return code;
}

// Help and version text go through the checked output like every other result.
int PrintedExit(const CLI::App& app, const CLI::Error& request, CheckedOutput& out,
                ErrorOutput& err) {
    std::ostringstream printed;
    std::ostringstream complaint;
    const int code = app.exit(request, printed, complaint);
    err.Write(complaint.str());
    out.Write(printed.str());
    return Finished(code, out, err);
}

// The usage error's one line: an unknown command is named as such, anything else in the
// parser's words.
void ReportUsageError(CLI::App& app, std::span<const std::string> arguments,
                      const CLI::ParseError& error, ErrorOutput& err) {
    const std::string first = arguments.empty() ? "" : arguments.front();
    const bool unknownCommand =
        !first.empty() && first.front() != '-' &&
        app.get_subcommands([&](CLI::App* command) { return command->check_name(first); }).empty();
    if (unknownCommand) {
        ReportProblem(err, first, "unknown command (see velmora-cli --help)");
    } else {
        err.Write(std::string("velmora-cli: ") + error.what() + " (see --help)\n");
    }
}

// Each command names only the exit codes it can give; fix names its own.
void NameExitCodes(CLI::App& app, CLI::App& analyze, CLI::App& site, const CLI::App& fix) {
    analyze.footer(
        "Exit codes: 0 done, 1 a page rated below --fail-under, scored below --min-score or "
        "with a page check in the --fail-on state or worse, 2 usage error, 3 a file could not be "
        "read or written.");
    site.footer(
        "Exit codes: 0 done, 1 a page with a site check in the --fail-on state or worse, 2 usage "
        "error, 3 a file could not be read or written.");
    for (CLI::App* command : app.get_subcommands({})) {
        if (command != &analyze && command != &site && command != &fix) {
            command->footer(
                "Exit codes: 0 done, 2 usage error, 3 a file could not be read or written.");
        }
    }
}

}  // namespace

int RunCommandLine(std::span<const std::string> arguments, CheckedOutput& out, ErrorOutput& err) {
    CLI::App app(
        "Tunes a web page's head for search engines: reviews pages and edits their "
        "title, description and keywords.",
        "velmora-cli");
    app.set_version_flag("--version", VersionLine());
    app.require_subcommand(1);
    app.footer(
        "Exit codes: 0 done, 1 a page failed analyze's --fail-under, --min-score or --fail-on or "
        "site's --fail-on, or a fix needs a setting not given, 2 usage error, 3 a file could not "
        "be read or written. Each command's --help "
        "lists its own.");

    AnalyzeArguments analyzeArguments;
    CLI::App& analyze = AddAnalyzeCommand(app, analyzeArguments);
    ReportArguments reportArguments;
    CLI::App& report = AddReportCommand(app, reportArguments);
    DuplicatesArguments duplicatesArguments;
    CLI::App& duplicates = AddDuplicatesCommand(app, duplicatesArguments);
    SiteArguments siteArguments;
    CLI::App& site = AddSiteCommand(app, siteArguments);
    FixArguments fixArguments;
    CLI::App& fix = AddFixCommand(app, fixArguments);
    EditArguments editArguments;
    EditKind editKind = EditKind::Title;
    AddEditCommands(app, editArguments, editKind);
    NameExitCodes(app, analyze, site, fix);

    try {
        // The parser takes the arguments last first.
        app.parse(std::vector<std::string>(arguments.rbegin(), arguments.rend()));
    } catch (const CLI::CallForHelp& help) {
        return PrintedExit(app, help, out, err);
    } catch (const CLI::CallForVersion& version) {
        return PrintedExit(app, version, out, err);
    } catch (const CLI::ParseError& error) {
        ReportUsageError(app, arguments, error, err);
        return kExitUsage;
    }

    try {
        if (analyze.parsed()) {
            return Finished(RunAnalyze(analyzeArguments, out, err), out, err);
        }
        if (report.parsed()) {
            return Finished(RunReport(reportArguments, out, err), out, err);
        }
        if (site.parsed()) {
            return Finished(RunSite(siteArguments, out, err), out, err);
        }
        if (fix.parsed()) {
            return Finished(RunFix(fixArguments, out, err), out, err);
        }
        if (duplicates.parsed()) {
            return Finished(RunDuplicates(duplicatesArguments, out, err), out, err);
        }
        return Finished(RunEdit(editKind, editArguments, out, err), out, err);
    } catch (const std::bad_alloc&) {
        err.Write("velmora-cli: out of memory\n");
        return kExitOutOfMemory;
    } catch (const UsageError& error) {
        err.Write(std::string("velmora-cli: ") + error.what() + "\n");
        return kExitUsage;
    } catch (const std::exception& error) {
        // The settings store or the system failed outside any one page.
        err.Write(std::string("velmora-cli: ") + error.what() + "\n");
        return kExitFileError;
    }
}

}  // namespace velmora::cli
