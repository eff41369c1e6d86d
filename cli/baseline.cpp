#include "cli/baseline.h"

#include <map>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "cli/report_path.h"
#include "cli/report_rules.h"
#include "document/file_functions.h"

namespace velmora::cli {
namespace {

using nlohmann::json;

const json& Member(const json& object, const char* name, json::value_t type, const json& none) {
    const auto found = object.find(name);
    return found != object.end() && found->type() == type ? *found : none;
}

}  // namespace

Baseline::Baseline(const std::filesystem::path& file, std::filesystem::path workingFolder)
    : workingFolder_(std::move(workingFolder)) {
    const std::string text = ReadRegularFile(file.string());
    const json none;
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = std::string_view(text).substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.find_first_not_of(" \t\r") == std::string_view::npos) {
            continue;
        }
        const json page = json::parse(line, nullptr, false);
        const json& name = Member(page, "file", json::value_t::string, none);
        const auto notALine = [&] {
            return std::runtime_error(file.string() + ":" + std::to_string(lineNumber) +
                                      ": not a line of analyze --json output");
        };
        if (page.is_discarded() || !page.is_object() || name.is_null()) {
            throw notALine();
        }
        try {
            Add(page, name.get<std::string>());
        } catch (const json::exception&) {
            // A field of the wrong type deep inside.
            throw notALine();
        }
    }
}

void Baseline::Add(const json& page, const std::string& path) {
    const json none;
    for (const json& finding : Member(page, "findings", json::value_t::array, none)) {
        if (finding.is_object() && finding.contains("id") && finding["id"].is_string()) {
            keys_.insert(Key(path, finding["id"].get<std::string>(), ""));
        }
    }
    for (const json& check : Member(page, "checks", json::value_t::array, none)) {
        if (!check.is_object() || !check.contains("id") || !check["id"].is_string() ||
            check.value("state", "") == "good") {
            continue;
        }
        const std::optional<std::size_t> rule = RuleIndexNamed(check["id"].get<std::string>());
        if (!rule) {
            continue;
        }
        const std::string_view ruleId = ReportRules()[*rule].id;
        const json& elements = Member(check, "elements", json::value_t::array, none);
        if (elements.empty()) {
            keys_.insert(Key(path, ruleId, ""));
        }
        std::map<std::string, std::size_t> seen;
        for (const json& element : elements) {
            const std::string elementText = element.is_object() ? element.value("text", "") : "";
            keys_.insert(
                Key(path, ruleId, elementText + "\n" + std::to_string(++seen[elementText])));
        }
    }
}

bool Baseline::Holds(std::string_view page, std::string_view ruleId,
                     std::string_view identity) const {
    return keys_.contains(Key(page, ruleId, identity));
}

std::string Baseline::Key(std::string_view page, std::string_view ruleId,
                          std::string_view identity) const {
    std::string key = PathFromWorkingFolder(page, workingFolder_);
    key.append(1, '\0').append(ruleId).append(1, '\0').append(identity);
    return key;
}

}  // namespace velmora::cli
