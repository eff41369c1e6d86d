// velmora-cli: the page review and the head edits of the desktop program, for scripts.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <sstream>
#include <string>

#include "cli/analyze_command.h"
#include "cli/checked_output.h"
#include "cli/edit_commands.h"
#include "cli/exit_codes.h"
#include "cli/messages.h"

namespace {

std::string VersionLine() {
    return std::string("velmora-cli ") + VELMORA_VERSION_TEXT + " (build " + VELMORA_BUILD_NUMBER +
           ")";
}

// The exit code once standard output is closed: a command that wrote everything can still
// fail at the last flush.
int Finished(int code) {
    velmora::cli::CheckedOutput& out = velmora::cli::StandardOutput();
    if (!out.Close()) {
        return velmora::cli::ExitForFailedOutput(out);
    }
    return code;
}

// Help and version text go through the checked output like every other result.
int PrintedExit(const CLI::App& app, const CLI::Error& request) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = app.exit(request, out, err);
    std::fputs(err.str().c_str(), stderr);
    velmora::cli::StandardOutput().Write(out.str());
    return Finished(code);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace velmora::cli;

    CLI::App app(
        "Tunes a web page's head for search engines: reviews pages and edits their "
        "title, description and keywords.",
        "velmora-cli");
    app.set_version_flag("--version", VersionLine());
    app.require_subcommand(1);
    app.footer(
        "Exit codes: 0 done, 1 a page rated below --fail-under or with a page check in the "
        "--fail-on state or worse, 2 usage error, "
        "3 a file could not be read or written.");

    AnalyzeArguments analyzeArguments;
    CLI::App& analyze = AddAnalyzeCommand(app, analyzeArguments);
    EditArguments editArguments;
    EditKind editKind = EditKind::Title;
    AddEditCommands(app, editArguments, editKind);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return PrintedExit(app, help);
    } catch (const CLI::CallForVersion& version) {
        return PrintedExit(app, version);
    } catch (const CLI::ParseError& error) {
        const std::string first = argc > 1 ? argv[1] : "";
        const bool unknownCommand =
            !first.empty() && first.front() != '-' &&
            app.get_subcommands([&](CLI::App* command) { return command->check_name(first); })
                .empty();
        if (unknownCommand) {
            ReportProblem(first, "unknown command (see velmora-cli --help)");
        } else {
            std::fprintf(stderr, "velmora-cli: %s (see --help)\n", error.what());
        }
        return kExitUsage;
    }

    try {
        return Finished(analyze.parsed() ? RunAnalyze(analyzeArguments)
                                         : RunEdit(editKind, editArguments));
    } catch (const std::exception& error) {
        // The settings store or the system failed outside any one page.
        std::fprintf(stderr, "velmora-cli: %s\n", error.what());
        return kExitFileError;
    }
}
