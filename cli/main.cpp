// velmora-cli: the page review and the head edits of the desktop program, for scripts.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <string>

#include "cli/analyze_command.h"
#include "cli/edit_commands.h"
#include "cli/exit_codes.h"
#include "cli/messages.h"

namespace {

std::string VersionLine() {
    return std::string("velmora-cli ") + VELMORA_VERSION_TEXT + " (build " + VELMORA_BUILD_NUMBER +
           ")";
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
        "Exit codes: 0 done, 1 a page rated below --fail-under, 2 usage error, "
        "3 a file could not be read or written.");

    AnalyzeArguments analyzeArguments;
    CLI::App& analyze = AddAnalyzeCommand(app, analyzeArguments);
    EditArguments editArguments;
    EditKind editKind = EditKind::Title;
    AddEditCommands(app, editArguments, editKind);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::CallForVersion& version) {
        return app.exit(version);
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
        return analyze.parsed() ? RunAnalyze(analyzeArguments) : RunEdit(editKind, editArguments);
    } catch (const std::exception& error) {
        // The settings store or the system failed outside any one page.
        std::fprintf(stderr, "velmora-cli: %s\n", error.what());
        return kExitFileError;
    }
}
