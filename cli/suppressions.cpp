#include "cli/suppressions.h"

#include <algorithm>

#include "cli/report_rules.h"
#include "core/line_index.h"

namespace velmora::cli {
namespace {

constexpr std::string_view kPageMark = "velmora-disable";
constexpr std::string_view kLineMark = "velmora-disable-next-line";
constexpr std::string_view kBlanks = " \t\r\n,";

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::vector<std::string_view> Ids(std::string_view list) {
    std::vector<std::string_view> ids;
    while (!(list = Trimmed(list)).empty()) {
        const std::size_t end = std::min(list.find_first_of(kBlanks), list.size());
        ids.push_back(list.substr(0, end));
        list.remove_prefix(end);
    }
    return ids;
}

}  // namespace

bool Suppressions::Page(std::size_t rule) const {
    return std::find(pageRules.begin(), pageRules.end(), rule) != pageRules.end();
}

bool Suppressions::Line(std::size_t rule, std::size_t line) const {
    return std::any_of(lineRules.begin(), lineRules.end(), [&](const LineSuppression& entry) {
        return entry.rule == rule && entry.line == line;
    });
}

Suppressions ReadSuppressions(std::string_view pageText, std::string_view file) {
    Suppressions found;
    // Most pages have no such comment: the line index is only built for one that has.
    if (pageText.find(kPageMark) == std::string_view::npos) {
        return found;
    }
    const LineIndex lines(pageText, LineIndex::Unit::Bytes);
    for (std::size_t open = pageText.find("<!--"); open != std::string_view::npos;
         open = pageText.find("<!--", open + 4)) {
        const std::size_t close = pageText.find("-->", open + 4);
        const std::string_view body = Trimmed(pageText.substr(
            open + 4, (close == std::string_view::npos ? pageText.size() : close) - open - 4));
        const bool nextLine = body.starts_with(kLineMark);
        const std::string_view mark = nextLine ? kLineMark : kPageMark;
        if (!body.starts_with(mark) ||
            (body.size() > mark.size() && kBlanks.find(body[mark.size()]) == kBlanks.npos)) {
            continue;
        }
        const std::size_t line = lines.At(open).line;
        const std::size_t target =
            lines.At(close == std::string_view::npos ? open : close).line + 1;
        for (const std::string_view id : Ids(body.substr(mark.size()))) {
            const std::optional<std::size_t> rule = RuleIndexNamed(id);
            if (!rule) {
                found.warnings.push_back(std::string(file) + ":" + std::to_string(line) +
                                         ": unknown check '" + std::string(id) + "' in " +
                                         std::string(mark));
            } else if (nextLine) {
                found.lineRules.push_back({target, *rule});
            } else {
                found.pageRules.push_back(*rule);
            }
        }
        if (close == std::string_view::npos) {
            break;
        }
    }
    return found;
}

}  // namespace velmora::cli
