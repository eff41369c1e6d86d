#include "cli/fix_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <exception>
#include <filesystem>

#include "cli/checked_output.h"
#include "cli/edit_commands.h"
#include "cli/error_output.h"
#include "cli/escaped_text.h"
#include "cli/exit_codes.h"
#include "cli/line_diff.h"
#include "cli/messages.h"
#include "cli/number_flags.h"
#include "cli/page_review.h"
#include "cli/page_run.h"
#include "cli/parallel_runner.h"
#include "cli/report_rules.h"
#include "cli/suppressions.h"
#include "cli/usage_error.h"
#include "document/velmora_data.h"
#include "page_checks/language_tags.h"
#include "page_checks/page_checks.h"
#include "page_checks/page_fixes.h"

namespace velmora::cli {
namespace {

namespace fs = std::filesystem;

enum class FixMode { Save, DryRun, Print };

// What the whole run fixes with.
struct FixRun {
    FixMode mode = FixMode::Save;
    KelVelmoraOptions options;
    PageCheckOptions checkOptions;
    std::vector<CheckId> only;
    std::optional<std::string> lang;
    std::optional<std::string> ogImage;
    std::optional<std::string> baseUrl;
    fs::path root;
};

// One page's outcome, delivered in the order the pages were named.
struct FixedPage {
    std::string output;    // the diff or the page, for standard output
    std::string messages;  // warnings, problems and the page's line, for the error output
    std::string line;      // the page's line when it goes to standard output
    bool failed = false;
    bool needsSettings = false;
};

bool Asked(const FixRun& run, CheckId id) {
    return run.only.empty() || std::find(run.only.begin(), run.only.end(), id) != run.only.end();
}

std::string FixableNames() {
    std::string names;
    for (const CheckId id : page_checks::FixableChecks()) {
        names += (names.empty() ? "" : ", ") + std::string(CheckIdName(id));
    }
    return names;
}

CLI::Validator FixableCheck() {
    return CLI::Validator(
        [](std::string& value) -> std::string {
            const auto id = CheckIdFromName(value);
            if (!id || !page_checks::IsFixable(*id)) {
                return "'" + value + "' is no check that fix can make good (" + FixableNames() +
                       ")";
            }
            return {};
        },
        "");
}

CLI::Validator LanguageTagCheck() {
    return CLI::Validator(
        [](std::string& value) -> std::string {
            const page_checks::LanguageTag tag = page_checks::ReadLanguageTag(value);
            if (!tag.wellFormed || !tag.knownLanguage) {
                return "'" + value + "' is not a language tag such as en or pt-BR";
            }
            return {};
        },
        "");
}

// The flag and the configuration key that give what a fix lacked.
std::string SettingHint(CheckId id) {
    switch (id) {
        case CheckId::Language:
            return " (--lang or lang)";
        case CheckId::Canonical:
            return " (--base-url or base_url)";
        case CheckId::Social:
            return " (--og-image or og_image)";
        default:
            return {};
    }
}

std::string JoinIds(const std::vector<page_checks::PlannedFix>& fixes) {
    std::string ids;
    for (const page_checks::PlannedFix& fix : fixes) {
        ids += (ids.empty() ? "" : ", ") + std::string(CheckIdName(fix.id));
    }
    return ids;
}

// ". Left: canonical (needs the site's address (--base-url or base_url)). Left to you: title, h1."
// The fixes' own reasons first, then every other check the fixed page still fails, which asks
// for the person.
std::string LeftPart(const page_checks::FixPlan& plan,
                     const page_checks::PageCheckReport& afterwards, const FixRun& run) {
    std::string unfixed;
    for (const page_checks::UnfixedCheck& check : plan.unfixed) {
        unfixed += (unfixed.empty() ? "" : ", ") + std::string(CheckIdName(check.id)) + " (" +
                   check.reason + (check.needsSetting ? SettingHint(check.id) : "") + ")";
    }
    std::string toYou;
    for (const page_checks::CheckResult& check : afterwards.checks) {
        const bool judged = check.state == page_checks::CheckState::Improve ||
                            check.state == page_checks::CheckState::Problem;
        const bool named = std::any_of(plan.unfixed.begin(), plan.unfixed.end(),
                                       [&](const auto& left) { return left.id == check.id; });
        if (judged && !named && Asked(run, check.id)) {
            toYou += (toYou.empty() ? "" : ", ") + std::string(CheckIdName(check.id));
        }
    }
    return (unfixed.empty() ? "" : ". Left: " + unfixed) +
           (toYou.empty() ? "" : ". Left to you: " + toYou) + ".";
}

// The page's address on the site, when the site's address is known and the page lies below
// its root.
std::optional<std::string> PageUrlOf(const std::string& path, const FixRun& run) {
    if (!run.baseUrl) {
        return std::nullopt;
    }
    std::error_code error;
    const fs::path page = fs::weakly_canonical(path, error);
    const fs::path root = fs::weakly_canonical(run.root, error);
    const fs::path below = page.lexically_relative(root);
    if (error || below.empty() || *below.begin() == "..") {
        return std::nullopt;
    }
    return page_checks::PageUrl(*run.baseUrl, below.generic_string());
}

// The checks the page itself turns off with a velmora-disable comment are not fixed either.
std::vector<CheckId> RequestedFor(const KelVelmoraData& document, const std::string& name,
                                  const FixRun& run) {
    const Suppressions suppressions = ReadSuppressions(document.GetSavedText(), name);
    std::vector<CheckId> requested;
    for (const CheckId id : page_checks::FixableChecks()) {
        if (Asked(run, id) && !suppressions.Page(RuleIndex(id))) {
            requested.push_back(id);
        }
    }
    return requested;
}

// The page's output and line once its fixes are made in the document: a diff, the page, or
// the page saved. `fixes` is "FILE: ID, ID", `left` what follows them.
void DeliverFixes(KelVelmoraData& document, const std::string& fixes, const std::string& left,
                  const FixRun& run, FixedPage& page) {
    const std::string& name = document.GetFileName();
    page.messages = OtherBytesWarning(document, run.mode != FixMode::Save);
    switch (run.mode) {
        case FixMode::DryRun:
            page.output = UnifiedDiff(document.BytesAsRead(), document.BytesToSave(), name);
            page.line = "Would fix " + fixes + left + "\n";
            return;
        case FixMode::Print:
            page.output = document.BytesToSave();
            page.line = "Fixed " + fixes + left + "\n";
            return;
        case FixMode::Save:
            document.Save();
            page.line = "Fixed " + fixes +
                        " (backup: " + EscapeControls(document.LastBackupPath()) + ")" + left +
                        "\n";
            return;
    }
}

FixedPage FixPage(const PageInput& input, KelVelmoraData& document, const FixRun& run,
                  const page_checks::TextWidthMeter& meter) {
    FixedPage page;
    if (input.kind != PageInput::Kind::Page) {
        page.messages = ProblemLine(input.path, input.message);
        page.failed = input.kind == PageInput::Kind::Error;
        return page;
    }
    const std::string& name = input.path;
    try {
        std::error_code statusError;
        if (fs::is_directory(name, statusError)) {
            throw std::runtime_error("Is a directory, not a page");
        }
        document.Load(name, run.options);
        const std::vector<CheckId> requested = RequestedFor(document, name, run);
        page_checks::FixPlan plan;
        std::string left = ".";
        if (!requested.empty()) {
            const page_checks::FixSettings settings{name, run.lang, run.ogImage,
                                                    PageUrlOf(name, run)};
            plan = document.FixPageChecks(settings, run.checkOptions, requested, run.options);
            page.needsSettings = plan.NeedsSettings();
            left = LeftPart(
                plan, page_checks::RunPageChecks(document.GetHtml(), name, run.checkOptions, meter),
                run);
        }
        if (!plan.Changes()) {
            page.line = "Nothing to fix in " + EscapeControls(name) + left + "\n";
            if (run.mode == FixMode::Print) {
                page.output = document.BytesAsRead();
            }
            return page;
        }
        DeliverFixes(document, EscapeControls(name) + ": " + JoinIds(plan.fixes), left, run, page);
    } catch (const std::exception& error) {
        page.messages += PageProblemLine(name, error);
        page.failed = true;
        page.output.clear();
        page.line.clear();
    }
    return page;
}

FixRun PrepareFixRun(const FixArguments& arguments, const PageRun& pages) {
    FixRun run;
    run.mode =
        arguments.dryRun ? FixMode::DryRun : (arguments.toStdout ? FixMode::Print : FixMode::Save);
    run.options = pages.options;
    run.checkOptions = pages.checkOptions;
    for (const std::string& id : arguments.only) {
        run.only.push_back(*CheckIdFromName(id));
    }
    const std::optional<ProjectConfig>& config = pages.config;
    run.lang = FlagOverConfig(arguments.lang, config ? config->lang : std::nullopt);
    run.ogImage = FlagOverConfig(arguments.ogImage, config ? config->ogImage : std::nullopt);
    const SiteFlags site = MergeSiteFlags(arguments.site, config);
    run.baseUrl = site.baseUrl;
    const SiteSetup setup = ResolveSiteSetup(site, arguments.paths);
    run.root = setup.root.value_or(".");
    return run;
}

}  // namespace

CLI::App& AddFixCommand(CLI::App& app, FixArguments& arguments) {
    CLI::App& command = *app.add_subcommand(
        "fix",
        "Fix what the page checks find where the remedy is certain: add a missing viewport, "
        "charset, language, canonical link or social card tags, and remove later copies of one "
        "canonical link or description");
    command.add_option("paths", arguments.paths, "Pages, folders or quoted globs to fix")
        ->type_name("FILE|DIR");
    command
        .add_option("--only", arguments.only,
                    "Fix only this check; repeatable (" + FixableNames() + ")")
        ->check(FixableCheck())
        ->type_name("ID")
        ->allow_extra_args(false);
    CLI::Option* dryRun =
        command.add_flag("--dry-run", arguments.dryRun,
                         "Print a unified diff of each page's fixes and write nothing");
    command
        .add_flag("--stdout", arguments.toStdout,
                  "Print the fixed page as Save would write it; change no file (one page)")
        ->excludes(dryRun);
    command
        .add_option("--lang", arguments.lang,
                    "The language tag a page without one gets, such as en or pt-BR")
        ->check(LanguageTagCheck())
        ->type_name("TAG");
    command
        .add_option("--og-image", arguments.ogImage, "The og:image address a page without one gets")
        ->type_name("URL");
    command
        .add_option("-j,--jobs", arguments.jobs,
                    "Pages fixed at once (default: the number of processors)")
        ->check(WholeNumber(1, kMaximumJobs))
        ->type_name("N");
    AddPageSearchFlags(command, arguments.project);
    AddSettingsFlags(command, arguments.settings);
    AddPageCheckFlags(command, arguments.pageChecks);
    AddSiteAddressFlags(command, arguments.site);
    command.footer(
        "Exit codes: 0 every fix asked for was made, 1 some fix needs a setting that was not "
        "given, 2 usage error, 3 a file could not be read or written.");
    return command;
}

int RunFix(const FixArguments& arguments, CheckedOutput& out, ErrorOutput& err) {
    if (std::find(arguments.paths.begin(), arguments.paths.end(), "-") != arguments.paths.end()) {
        throw UsageError("fix changes files; standard input cannot be fixed");
    }
    const PageRun pages = PreparePageRun(arguments.paths, arguments.project, arguments.settings,
                                         arguments.pageChecks);
    const FixRun run = PrepareFixRun(arguments, pages);
    const std::vector<PageInput>& inputs = pages.inputs;
    if (run.mode == FixMode::Print && inputs.size() != 1) {
        throw UsageError("--stdout prints one page; " + std::to_string(inputs.size()) +
                         " were named");
    }
    const page_checks::TextWidthMeter meter;
    bool failed = false;
    bool needsSettings = false;
    const WorkerFactory<FixedPage> makeWorker = [&] {
        auto document =
            std::make_shared<KelVelmoraData>(SystemLocalTime, KelVelmoraData::Analysis::WhenNeeded);
        return [&, document](std::size_t index) {
            return FixPage(inputs[index], *document, run, meter);
        };
    };
    const auto deliver = [&](std::size_t, FixedPage& page) {
        failed = failed || page.failed;
        needsSettings = needsSettings || page.needsSettings;
        err.Write(page.messages);
        if (!out.Write(page.output)) {
            return false;
        }
        // With a diff or a page on standard output, the lines about the pages go to the error
        // output, so what is printed can be applied or saved as it is.
        if (run.mode == FixMode::Save) {
            return out.Write(page.line);
        }
        err.Write(page.line);
        return true;
    };
    RunInOrder<FixedPage>(inputs.size(), arguments.jobs.value_or(DefaultJobs()), makeWorker,
                          deliver, [](std::size_t) {});
    if (failed) {
        return kExitFileError;
    }
    return needsSettings ? kExitFixesLeft : kExitDone;
}

}  // namespace velmora::cli
