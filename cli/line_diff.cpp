#include "cli/line_diff.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace velmora::cli {
namespace {

constexpr std::size_t kContext = 3;
// Past this many line pairs in the changed middle, it is shown as removed and added whole
// rather than matched line by line.
constexpr std::size_t kMatchedPairs = 4'000'000;

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find('\n', at), text.size() - 1) + 1;
        lines.push_back(text.substr(at, end - at));
        at = end;
    }
    return lines;
}

enum class Op : char { Same = ' ', Removed = '-', Added = '+' };

struct Step {
    Op op;
    std::size_t line;  // in the old text for Same and Removed, the new one for Added
};

// The steps from a to b over their changed middle: the longest common subsequence of lines.
void MatchMiddle(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b,
                 std::size_t begin, std::size_t endA, std::size_t endB, std::vector<Step>& steps) {
    const std::size_t n = endA - begin;
    const std::size_t m = endB - begin;
    if (n * m > kMatchedPairs) {
        for (std::size_t i = begin; i < endA; ++i) {
            steps.push_back({Op::Removed, i});
        }
        for (std::size_t j = begin; j < endB; ++j) {
            steps.push_back({Op::Added, j});
        }
        return;
    }
    // common[i][j]: the longest common run of a[i..] and b[j..], in one flat table.
    std::vector<std::size_t> common((n + 1) * (m + 1), 0);
    const auto at = [&](std::size_t i, std::size_t j) -> std::size_t& {
        return common[i * (m + 1) + j];
    };
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;) {
            at(i, j) = a[begin + i] == b[begin + j] ? at(i + 1, j + 1) + 1
                                                    : std::max(at(i + 1, j), at(i, j + 1));
        }
    }
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && a[begin + i] == b[begin + j]) {
            steps.push_back({Op::Same, begin + i});
            ++i;
            ++j;
        } else if (i < n && (j == m || at(i + 1, j) >= at(i, j + 1))) {
            // Removed lines first, as diff prints a changed line.
            steps.push_back({Op::Removed, begin + i});
            ++i;
        } else {
            steps.push_back({Op::Added, begin + j});
            ++j;
        }
    }
}

std::string Range(std::size_t start, std::size_t count) {
    // An empty range names the line before it, as diff does.
    const std::size_t first = count == 0 ? start : start + 1;
    std::string range = std::to_string(first);
    if (count != 1) {
        range.append(",").append(std::to_string(count));
    }
    return range;
}

}  // namespace

std::string UnifiedDiff(std::string_view before, std::string_view after, std::string_view name) {
    if (before == after) {
        return {};
    }
    const std::vector<std::string_view> a = Lines(before);
    const std::vector<std::string_view> b = Lines(after);
    std::size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix]) {
        ++suffix;
    }
    std::vector<Step> steps;
    for (std::size_t i = 0; i < prefix; ++i) {
        steps.push_back({Op::Same, i});
    }
    MatchMiddle(a, b, prefix, a.size() - suffix, b.size() - suffix, steps);
    for (std::size_t i = a.size() - suffix; i < a.size(); ++i) {
        steps.push_back({Op::Same, i});
    }

    std::string out = "--- a/" + std::string(name) + "\n+++ b/" + std::string(name) + "\n";
    // Lines of each text before each step.
    std::vector<std::size_t> oldBefore(steps.size() + 1, 0);
    std::vector<std::size_t> newBefore(steps.size() + 1, 0);
    std::vector<std::size_t> changes;
    for (std::size_t k = 0; k < steps.size(); ++k) {
        oldBefore[k + 1] = oldBefore[k] + (steps[k].op != Op::Added ? 1 : 0);
        newBefore[k + 1] = newBefore[k] + (steps[k].op != Op::Removed ? 1 : 0);
        if (steps[k].op != Op::Same) {
            changes.push_back(k);
        }
    }
    for (std::size_t c = 0; c < changes.size();) {
        // Changes closer than twice the context share a hunk.
        std::size_t last = c;
        while (last + 1 < changes.size() && changes[last + 1] - changes[last] <= 2 * kContext + 1) {
            ++last;
        }
        const std::size_t begin = changes[c] - std::min(changes[c], kContext);
        const std::size_t end = std::min(changes[last] + 1 + kContext, steps.size());
        out += "@@ -" + Range(oldBefore[begin], oldBefore[end] - oldBefore[begin]) + " +" +
               Range(newBefore[begin], newBefore[end] - newBefore[begin]) + " @@\n";
        for (std::size_t k = begin; k < end; ++k) {
            const Step step = steps[k];
            const std::string_view line = step.op == Op::Added ? b[step.line] : a[step.line];
            out.push_back(static_cast<char>(step.op));
            out.append(line);
            if (!line.ends_with('\n')) {
                out.append("\n\\ No newline at end of file\n");
            }
        }
        c = last + 1;
    }
    return out;
}

}  // namespace velmora::cli
