#include "page_checks/json_ld.h"

#include <nlohmann/json.hpp>

namespace velmora::page_checks {
namespace {

// "@context" and "@type" at the top, or "@type" in each "@graph" item with "@context" above or
// in the item; a top-level array must hold only such objects.
bool IsComplete(const nlohmann::json& node, bool hasContext) {
    if (node.is_array()) {
        return !node.empty() && std::all_of(node.begin(), node.end(), [&](const auto& item) {
            return IsComplete(item, hasContext);
        });
    }
    if (!node.is_object()) {
        return false;
    }
    const bool context = hasContext || node.contains("@context");
    if (node.contains("@type")) {
        return context;
    }
    const auto graph = node.find("@graph");
    if (graph == node.end()) {
        return false;
    }
    if (graph->is_object()) {
        return IsComplete(*graph, context);
    }
    return graph->is_array() && !graph->empty() &&
           std::all_of(graph->begin(), graph->end(), [&](const auto& item) {
               return item.is_object() && IsComplete(item, context);
           });
}

// The parser's message without its exception id: "parse error at line 1, column 9: …".
std::string ParserMessage(const nlohmann::json::parse_error& error) {
    std::string message = error.what();
    const auto idEnd = message.find("] ");
    if (message.starts_with("[json.exception.") && idEnd != std::string::npos) {
        message.erase(0, idEnd + 2);
    }
    return message;
}

// The subject and verb of the message for incomplete blocks: "The structured data block lacks"
// for a page's only block, "1 of 3 structured data blocks lack" among several.
std::string IncompleteBlocksText(std::size_t incomplete, std::size_t blocks) {
    if (blocks == 1) {
        return "The structured data block lacks";
    }
    return std::to_string(incomplete) + " of " + std::to_string(blocks) +
           " structured data blocks lack";
}

}  // namespace

std::size_t JsonDepth(std::string_view json) {
    std::size_t depth = 0;
    std::size_t deepest = 0;
    bool inString = false;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
            if (deepest > kMaximumJsonDepth) {
                return deepest;
            }
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return deepest;
}

CheckResult CheckStructuredData(const std::vector<ElementText>& blocks) {
    CheckResult result;
    result.id = CheckId::StructuredData;
    result.values.push_back({"count", blocks.size()});
    if (blocks.empty()) {
        result.state = CheckState::Info;
        result.message = "The page has no structured data (JSON-LD).";
        return result;
    }
    std::size_t incomplete = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const std::string& block = blocks[i].text;
        const CheckedElement element{blocks[i].at, {}, block};
        if (JsonDepth(block) > kMaximumJsonDepth) {
            result.element = element;
            result.state = CheckState::Problem;
            result.message = "Structured data block " + std::to_string(i + 1) +
                             " is nested more than " + std::to_string(kMaximumJsonDepth) +
                             " levels deep and was not read.";
            result.values.push_back({"block", i + 1});
            return result;
        }
        try {
            // Strict JSON: no comments, no trailing commas, no NaN.
            const nlohmann::json json = nlohmann::json::parse(block, nullptr, true, false);
            if (!IsComplete(json, false) && incomplete++ == 0) {
                result.element = element;
            }
        } catch (const nlohmann::json::parse_error& error) {
            result.element = element;
            result.state = CheckState::Problem;
            result.message = "Structured data block " + std::to_string(i + 1) +
                             " is not valid JSON: " + ParserMessage(error) + ".";
            result.values.push_back({"block", i + 1});
            result.values.push_back({"position", error.byte});
            result.values.push_back({"error", ParserMessage(error)});
            return result;
        }
    }
    if (incomplete > 0) {
        result.state = CheckState::Improve;
        result.message = IncompleteBlocksText(incomplete, blocks.size()) +
                         " \"@context\" or \"@type\"; add both.";
        result.values.push_back({"incomplete", incomplete});
        return result;
    }
    result.state = CheckState::Good;
    result.message = "Structured data parses and names its @context and @type.";
    return result;
}

}  // namespace velmora::page_checks
