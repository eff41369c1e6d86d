#include "cli/compact_report.h"

#include "cli/count_text.h"
#include "cli/escaped_text.h"
#include "cli/report_rules.h"
#include "cli/state_colors.h"

namespace velmora::cli {

std::string ToCompactLines(const PageReport& report, ResultLevel minimum, bool color) {
    const std::string file = EscapeControls(report.file);
    std::string out;
    for (const ReportResult& result : PageResults(report)) {
        if (!AtLeast(result.level, minimum)) {
            continue;
        }
        std::string_view id = ReportRules()[result.rule].id;
        if (id.starts_with("check/")) {
            id.remove_prefix(6);
        }
        const std::string_view state = LevelStateName(result.level);
        out += file;
        if (result.position) {
            out.append(":").append(std::to_string(result.position->line));
            out.append(":").append(std::to_string(result.position->column));
        }
        out += ": " + Colored(state, state, color) + " ";
        out.append(id).append(": ").append(EscapeControls(result.message)).append("\n");
    }
    return out;
}

std::string CompactSummary(std::size_t problems, std::size_t improve, std::size_t info,
                           std::size_t pages) {
    return std::to_string(problems) + " problem, " + std::to_string(improve) + " improve, " +
           std::to_string(info) + " info in " + CountText(pages, "page", "pages") + "\n";
}

}  // namespace velmora::cli
