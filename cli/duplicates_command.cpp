#include "cli/duplicates_command.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/checked_output.h"
#include "cli/count_text.h"
#include "cli/error_output.h"
#include "cli/escaped_text.h"
#include "cli/exit_codes.h"
#include "cli/json_lines_inputs.h"
#include "cli/messages.h"
#include "site_checks/equal_texts.h"

namespace velmora::cli {
namespace {

struct PageTexts {
    std::string file;
    std::optional<std::string> title;
    std::optional<std::string> description;
};

// The text the duplicate checks compare: the check's own text (references decoded, as the page
// shows it), else the review's field for runs that skipped the check.
std::optional<std::string> TextOf(const nlohmann::json& page, std::string_view check,
                                  const char* field) {
    if (const auto checks = page.find("checks"); checks != page.end() && checks->is_array()) {
        for (const nlohmann::json& entry : *checks) {
            if (entry.is_object() && entry.value("id", "") == check) {
                const auto values = entry.find("values");
                if (values != entry.end() && values->is_object()) {
                    const auto text = values->find("text");
                    // An empty title or description is missing, not shared.
                    if (text != values->end() && text->is_string() &&
                        !text->get_ref<const std::string&>().empty()) {
                        return text->get<std::string>();
                    }
                }
                return std::nullopt;
            }
        }
    }
    const auto text = page.find(field);
    if (text != page.end() && text->is_string() && !text->get_ref<const std::string&>().empty()) {
        return text->get<std::string>();
    }
    return std::nullopt;
}

// One line of analyze's JSON Lines; throws with the reason when it is not one.
PageTexts ReadPage(const std::string& line) {
    const nlohmann::json page = nlohmann::json::parse(line);
    if (!page.is_object() || !page.contains("file") || !page["file"].is_string()) {
        throw std::runtime_error("not a page of velmora-cli analyze --json (no \"file\")");
    }
    // Redirects, hidden and canonicalized pages are meant to look like their targets.
    const auto role = page.find("role");
    if (role != page.end() && role->is_string() && role->get_ref<const std::string&>() != "page") {
        return {page["file"].get<std::string>(), std::nullopt, std::nullopt};
    }
    return {page["file"].get<std::string>(), TextOf(page, "title", "title"),
            TextOf(page, "description", "description")};
}

// Reads every page of one stream; a line that is no page is named and passed over.
bool ReadPages(std::istream& in, const std::string& name, std::vector<PageTexts>& pages,
               ErrorOutput& err) {
    bool allRead = true;
    std::string line;
    for (std::size_t number = 1; std::getline(in, line); ++number) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) {
            continue;
        }
        try {
            pages.push_back(ReadPage(line));
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

// "Same title in 3 pages: "…"" and the files, indented, in the order they were read.
std::size_t PrintGroups(const std::vector<PageTexts>& pages, const char* what,
                        std::optional<std::string> PageTexts::*text, CheckedOutput& out) {
    std::vector<const std::string*> texts;
    texts.reserve(pages.size());
    for (const PageTexts& page : pages) {
        texts.push_back((page.*text) ? &*(page.*text) : nullptr);
    }
    const std::vector<std::vector<std::size_t>> groups = site_checks::GroupsOfEqualText(texts);
    for (const std::vector<std::size_t>& group : groups) {
        std::string lines = "Same " + std::string(what) + " in " + std::to_string(group.size()) +
                            " pages: \"" + EscapeControls(*texts[group.front()]) + "\"\n";
        for (const std::size_t page : group) {
            lines += "  " + EscapeControls(pages[page].file) + "\n";
        }
        out.Write(lines);
    }
    return groups.size();
}

}  // namespace

CLI::App& AddDuplicatesCommand(CLI::App& app, DuplicatesArguments& arguments) {
    CLI::App& command = *app.add_subcommand(
        "duplicates",
        "Print the pages that share a title or a description, from analyze's JSON Lines");
    command
        .add_option("files", arguments.files,
                    "JSON Lines of analyze --json, one run or many merged; - reads standard input")
        ->required()
        ->type_name("FILE.jsonl");
    return command;
}

int RunDuplicates(const DuplicatesArguments& arguments, CheckedOutput& out, ErrorOutput& err) {
    std::vector<PageTexts> pages;
    bool allRead = true;
    allRead = ReadEachJsonLinesInput(arguments.files, err,
                                     [&](std::istream& in, const std::string& name) {
                                         return ReadPages(in, name, pages, err);
                                     }) &&
              allRead;
    const std::size_t titles = PrintGroups(pages, "title", &PageTexts::title, out);
    const std::size_t descriptions =
        PrintGroups(pages, "description", &PageTexts::description, out);
    err.Write("velmora-cli: " + CountText(pages.size(), "page", "pages") + " read; " +
              CountText(titles, "group shares", "groups share") + " a title, " +
              std::to_string(descriptions) + " a description\n");
    return allRead ? kExitDone : kExitFileError;
}

}  // namespace velmora::cli
