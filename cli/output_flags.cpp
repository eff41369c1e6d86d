#include "cli/output_flags.h"

#include <git2.h>

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <system_error>

#include "cli/checked_output.h"
#include "cli/git_library.h"

namespace velmora::cli {
namespace fs = std::filesystem;

namespace {

ResultLevel LevelNamed(const std::string& name) {
    if (name == "problem") {
        return ResultLevel::Error;
    }
    return name == "improve" ? ResultLevel::Warning : ResultLevel::Note;
}

std::optional<fs::path> GitTop(const fs::path& folder) {
    StartGitLibrary();
    git_repository* repository = nullptr;
    std::optional<fs::path> top;
    if (git_repository_open_ext(&repository, folder.c_str(), 0, nullptr) == 0 &&
        git_repository_workdir(repository) != nullptr) {
        top = fs::path(git_repository_workdir(repository)).lexically_normal();
    }
    git_repository_free(repository);
    return top;
}

}  // namespace

void AddOutputFlags(CLI::App& command, OutputFlags& flags) {
    command
        .add_option("--min-level", flags.minLevel,
                    "The least severe result shown: problem, improve or info (default: info; "
                    "improve for sarif and github)")
        ->check(CLI::IsMember({"problem", "improve", "info"}))
        ->type_name("LEVEL")
        ->group("Output");
    command.add_flag("-q,--quiet", flags.quiet, "Show only problems, and the summary")
        ->group("Output");
    command
        .add_option("--color", flags.color,
                    "Colour the states in the text and compact formats: auto (on a terminal, "
                    "unless NO_COLOR is set), always or never")
        ->check(CLI::IsMember({"auto", "always", "never"}))
        ->type_name("WHEN")
        ->group("Output");
    command
        .add_option("--base-dir", flags.baseDir,
                    "The folder sarif and github name pages from (default: the top of the Git "
                    "work tree, else the working folder)")
        ->type_name("DIR")
        ->group("Output");
}

ResultLevel MinimumLevel(const OutputFlags& flags, ResultLevel formatDefault) {
    return MinimumLevel(flags).value_or(formatDefault);
}

std::optional<ResultLevel> MinimumLevel(const OutputFlags& flags) {
    if (flags.quiet) {
        return ResultLevel::Error;
    }
    if (flags.minLevel) {
        return LevelNamed(*flags.minLevel);
    }
    return std::nullopt;
}

bool UseColor(const OutputFlags& flags, const CheckedOutput& out) {
    if (flags.color != "auto") {
        return flags.color == "always";
    }
    const char* noColor = std::getenv("NO_COLOR");
    return (noColor == nullptr || *noColor == '\0') && out.IsTerminal();
}

ReportStyle StyleOfReports(const OutputFlags& flags, ReportFormat format,
                           const CheckedOutput& out) {
    ReportStyle style{{}, MinimumLevel(flags), flags.quiet, UseColor(flags, out)};
    if (format != ReportFormat::Sarif && format != ReportFormat::Github) {
        return style;
    }
    std::error_code error;
    const fs::path here = fs::current_path(error);
    style.baseFolder = flags.baseDir ? fs::absolute(*flags.baseDir, error).lexically_normal()
                                     : GitTop(here).value_or(here);
    return style;
}

}  // namespace velmora::cli
