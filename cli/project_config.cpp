#include "cli/project_config.h"

#include <toml++/toml.h>

#include <CLI/CLI.hpp>
#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

#include "cli/escaped_text.h"
#include "cli/report_rules.h"
#include "cli/usage_error.h"
#include "page_checks/language_tags.h"
#include "site_checks/link_resolver.h"

namespace velmora::cli {
namespace fs = std::filesystem;

namespace {

// A configuration is a few lines; anything this large is not one.
constexpr std::uintmax_t kLargestConfig = 1 << 20;

constexpr std::array<std::string_view, 8> kReviewKeys = {
    "case",         "min-occurrences", "max-occurrences", "one-in-every",
    "min-keywords", "max-keywords",    "spam-limit",      "no-compression"};
constexpr std::array<std::string_view, 4> kCheckKeys = {"title-chars", "description-chars",
                                                        "title-px", "description-px"};

template <std::size_t N>
bool IsOneOf(std::string_view key, const std::array<std::string_view, N>& keys) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

class ConfigReader {
public:
    explicit ConfigReader(ProjectConfig& config) : config_(config) {}

    void Read(const toml::table& top) {
        for (const auto& [key, node] : top) {
            const std::string_view name = key.str();
            if (name == "review" || name == "checks") {
                ReadFlagTable(name, node);
            } else if (name == "skip") {
                for (const auto& [text, line] : Strings(name, node)) {
                    Skip(text, line);
                }
            } else if (name == "include" || name == "exclude") {
                for (auto& [text, line] : Strings(name, node)) {
                    (name == "include" ? config_.include : config_.exclude)
                        .push_back(std::move(text));
                }
            } else if (name == "base_url") {
                config_.baseUrl = BaseUrl(name, node);
            } else if (name == "root") {
                config_.root = Folder(name, node);
            } else if (name == "sitemap") {
                config_.sitemap = (config_.folder / String(name, node)).lexically_normal();
            } else if (name == "lang") {
                config_.lang = Language(name, node);
            } else if (name == "og_image") {
                config_.ogImage = String(name, node);
                if (config_.ogImage->empty()) {
                    Fail(node, name, "empty");
                }
            } else if (name == "focus") {
                ReadFocus(node);
            } else if (name == "min_score") {
                config_.minScore = static_cast<std::int32_t>(Number(name, node, 0, 100, false));
            } else if (name == "fail_under") {
                config_.failUnder = Number(name, node, 0, 100, true);
            } else if (name == "fail_on") {
                const std::string state = String(name, node);
                if (state != "problem" && state != "improve") {
                    Fail(node, name, "'" + state + "' is not problem or improve");
                }
                config_.failOn = state;
            } else {
                Fail(node, name, "unknown key");
            }
        }
        // Read together, as the command line would be, once each value is known to be good.
        CLI::App flags;
        AddSettingsFlags(flags, config_.review);
        AddPageCheckFlags(flags, config_.checks);
        flags.parse(std::vector<std::string>(flagArguments_.rbegin(), flagArguments_.rend()));
    }

private:
    [[noreturn]] void Fail(const toml::node& node, std::string_view key,
                           const std::string& reason) const {
        throw UsageError(EscapeControls(config_.file.string()) + ":" +
                         std::to_string(node.source().begin.line) + ": " +
                         EscapeControls(std::string(key)) + ": " + EscapeControls(reason));
    }

    std::string String(std::string_view key, const toml::node& node) const {
        const auto* text = node.as_string();
        if (text == nullptr) {
            Fail(node, key, "not a string");
        }
        return text->get();
    }

    std::string BaseUrl(std::string_view key, const toml::node& node) const {
        std::string url = String(key, node);
        try {
            site_checks::BaseUrl{url};
        } catch (const std::invalid_argument& error) {
            Fail(node, key, error.what());
        }
        return url;
    }

    // A folder named from the configuration's own folder, which must exist.
    fs::path Folder(std::string_view key, const toml::node& node) const {
        const fs::path folder = (config_.folder / String(key, node)).lexically_normal();
        std::error_code error;
        if (!fs::is_directory(folder, error)) {
            Fail(node, key, "'" + folder.string() + "' is not a folder");
        }
        return folder;
    }

    std::string Language(std::string_view key, const toml::node& node) const {
        std::string tag = String(key, node);
        const page_checks::LanguageTag read = page_checks::ReadLanguageTag(tag);
        if (!read.wellFormed || !read.knownLanguage) {
            Fail(node, key, "'" + tag + "' is not a language tag such as en or pt-BR");
        }
        return tag;
    }

    // A list of strings, or one string.
    std::vector<std::pair<std::string, const toml::node*>> Strings(std::string_view key,
                                                                   const toml::node& node) const {
        std::vector<std::pair<std::string, const toml::node*>> strings;
        if (node.is_string()) {
            strings.emplace_back(String(key, node), &node);
            return strings;
        }
        const auto* list = node.as_array();
        if (list == nullptr) {
            Fail(node, key, "not a list of strings");
        }
        for (const toml::node& item : *list) {
            strings.emplace_back(String(key, item), &item);
        }
        return strings;
    }

    double Number(std::string_view key, const toml::node& node, double minimum, double maximum,
                  bool fraction) const {
        double value = 0;
        if (const auto* whole = node.as_integer()) {
            value = static_cast<double>(whole->get());
        } else if (const auto* real = node.as_floating_point(); real != nullptr && fraction) {
            value = real->get();
        } else {
            Fail(node, key, fraction ? "not a number" : "not a whole number");
        }
        if (!(value >= minimum && value <= maximum)) {
            std::ostringstream text;
            text << value << " is outside the range " << minimum << " to " << maximum;
            Fail(node, key, text.str());
        }
        return value;
    }

    void Skip(const std::string& id, const toml::node* node) {
        const std::optional<std::size_t> rule = RuleIndexNamed(id);
        if (!rule) {
            Fail(*node, "skip", "'" + id + "' is not a check or a review finding");
        }
        const std::string_view ruleId = ReportRules()[*rule].id;
        if (ruleId.starts_with("review/")) {
            config_.skippedFindings.emplace_back(ruleId);
        } else {
            AddFlag(*node, "skip", "--skip-check",
                    std::string(ruleId.substr(ruleId.find('/') + 1)));
        }
    }

    // Each key of [review] and [checks] is the flag of its name, checked as the flag is.
    void ReadFlagTable(std::string_view name, const toml::node& node) {
        const auto* table = node.as_table();
        if (table == nullptr) {
            Fail(node, name, "not a table");
        }
        for (const auto& [key, value] : *table) {
            const std::string_view flag = key.str();
            const bool known =
                name == "review" ? IsOneOf(flag, kReviewKeys) : IsOneOf(flag, kCheckKeys);
            const std::string where = std::string(name) + "." + std::string(flag);
            if (!known) {
                Fail(value, where, "unknown key");
            }
            if (flag == "no-compression") {
                const auto* on = value.as_boolean();
                if (on == nullptr) {
                    Fail(value, where, "not true or false");
                }
                if (on->get()) {
                    AddFlag(value, where, "--no-compression", std::nullopt);
                }
            } else if (const auto* whole = value.as_integer()) {
                AddFlag(value, where, "--" + std::string(flag), std::to_string(whole->get()));
            } else if (const auto* text = value.as_string()) {
                AddFlag(value, where, "--" + std::string(flag), text->get());
            } else {
                Fail(value, where, "not a number or a string");
            }
        }
    }

    // Checks the flag alone, so that a bad value is named with its line.
    void AddFlag(const toml::node& node, std::string_view key, const std::string& flag,
                 const std::optional<std::string>& value) {
        std::vector<std::string> arguments{flag};
        if (value) {
            arguments.push_back(*value);
        }
        SettingsFlags settings;
        PageCheckFlags checks;
        CLI::App scratch;
        AddSettingsFlags(scratch, settings);
        AddPageCheckFlags(scratch, checks);
        try {
            scratch.parse(std::vector<std::string>(arguments.rbegin(), arguments.rend()));
        } catch (const CLI::ParseError& error) {
            Fail(node, key, error.what());
        }
        flagArguments_.insert(flagArguments_.end(), arguments.begin(), arguments.end());
    }

    void ReadFocus(const toml::node& node) {
        const auto* list = node.as_array();
        if (list == nullptr) {
            Fail(node, "focus", "not a list of [[focus]] tables");
        }
        for (const toml::node& item : *list) {
            const auto* table = item.as_table();
            if (table == nullptr) {
                Fail(item, "focus", "not a [[focus]] table");
            }
            FocusRule rule;
            bool files = false;
            bool phrase = false;
            for (const auto& [key, value] : *table) {
                if (key.str() == "files") {
                    rule.files = String("focus.files", value);
                    files = true;
                } else if (key.str() == "phrase") {
                    rule.phrase = String("focus.phrase", value);
                    phrase = true;
                } else {
                    Fail(value, "focus." + std::string(key.str()), "unknown key");
                }
            }
            if (!files || !phrase) {
                Fail(item, "focus", "needs both files and phrase");
            }
            config_.focus.push_back(std::move(rule));
        }
    }

    ProjectConfig& config_;
    std::vector<std::string> flagArguments_;
};

std::string ReadConfigText(const fs::path& file) {
    const std::string name = EscapeControls(file.string());
    std::error_code error;
    if (fs::is_directory(file, error)) {
        throw UsageError(name + ": is a folder, not a configuration file");
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw UsageError(name + ": " + std::strerror(errno));
    }
    std::string text;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (text.size() > kLargestConfig) {
            throw UsageError(name + ": larger than 1 MiB, not a configuration file");
        }
    }
    if (in.bad()) {
        throw UsageError(name + ": " + std::strerror(errno));
    }
    return text;
}

}  // namespace

ProjectConfig ReadProjectConfig(const fs::path& file) {
    ProjectConfig config;
    config.file = file;
    config.folder = fs::absolute(file).parent_path();
    const std::string text = ReadConfigText(file);
    toml::table top;
    try {
        top = toml::parse(text, file.string());
    } catch (const toml::parse_error& error) {
        throw UsageError(EscapeControls(file.string()) + ":" +
                         std::to_string(error.source().begin.line) +
                         ": not TOML: " + EscapeControls(std::string(error.description())));
    }
    ConfigReader(config).Read(top);
    return config;
}

std::optional<fs::path> FindProjectConfig(const fs::path& folder) {
    for (fs::path at = folder; !at.empty(); at = at.parent_path()) {
        std::error_code error;
        const fs::path candidate = at / kProjectConfigName;
        if (fs::exists(candidate, error)) {
            return candidate;
        }
        if (at == at.root_path()) {
            break;
        }
    }
    return std::nullopt;
}

}  // namespace velmora::cli
