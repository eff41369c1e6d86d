// The head writer on arbitrary pages and values: it changes nothing outside the element it
// edits, and what it writes reads back.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/html_functions_read.h"
#include "core/html_functions_write.h"
#include "core/kel_string_functions.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using velmora::PositionIgnoringAsciiCase;

struct Change {
    std::size_t from = 0;  // first changed byte of the old text (0-based)
    std::size_t to = 0;    // one past the last changed byte of the old text
};

// The smallest stretch of the old text that the new text replaces.
Change ChangedStretch(std::string_view before, std::string_view after) {
    const std::size_t limit = std::min(before.size(), after.size());
    std::size_t prefix = 0;
    while (prefix < limit && before[prefix] == after[prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix < limit - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    return {prefix, before.size() - suffix};
}

// Occurrences of a meta tag's name pattern; the writer's result reads back only when the page
// has at most one tag of that name, since the reader takes the first.
std::size_t CountNamePatterns(std::string_view text, std::string_view name) {
    std::size_t count = 0;
    for (const std::string_view start : {"<meta name=\"", "<meta  name=\""}) {
        const std::string pattern = std::string(start) + std::string(name) + "\"";
        std::string_view rest = text;
        for (std::size_t p = PositionIgnoringAsciiCase(pattern, rest); p != 0;
             p = PositionIgnoringAsciiCase(pattern, rest)) {
            ++count;
            rest.remove_prefix(p);
        }
    }
    return count;
}

// The stretch an edit of the meta tag `name` may touch: the tag itself, or nothing (insertion).
bool WithinMetaTag(std::string_view text, std::string_view name, const Change& change) {
    if (change.from == change.to) {
        return true;
    }
    const auto tag = velmora::FindMetaTag(text, name);
    if (!tag.found) {
        return false;
    }
    // A tag without a closing ">" ends at its line; allow the whole rest of the line.
    std::size_t end = tag.TagEnd;
    const std::size_t lineEnd = text.find_first_of("\r\n", tag.TagStart - 1);
    end = std::max(end, lineEnd == std::string_view::npos ? text.size() : lineEnd);
    return change.from >= tag.TagStart - 1 && change.to <= end;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const int operation = data[0] % 4;
    const std::size_t valueLength = std::min<std::size_t>(data[1], size - 2);
    const std::string value(reinterpret_cast<const char*>(data + 2), valueLength);
    const std::string page(reinterpret_cast<const char*>(data + 2 + valueLength),
                           size - 2 - valueLength);
    // Values with "&" may hold references the reader decodes differently; they are checked
    // for locality only.
    const bool readable = value.find('&') == std::string::npos;

    switch (operation) {
        case 0: {
            const std::string result = velmora::SetTitle(page, value);
            const Change change = ChangedStretch(page, result);
            const std::size_t start = PositionIgnoringAsciiCase("<title>", page);
            const std::size_t end = PositionIgnoringAsciiCase("</title>", page);
            const bool hadTitle = !velmora::GetTitle(page).empty();
            if (hadTitle) {
                FUZZ_CHECK(change.from >= start - 1 + 7 && change.to <= end - 1);
            } else {
                FUZZ_CHECK(change.from == change.to);  // only an insertion
            }
            if (readable && (hadTitle || (start == 0 && end == 0))) {
                FUZZ_CHECK(velmora::GetTitle(result) == value);
            }
            break;
        }
        case 1: {
            const std::string result = velmora::SetDescription(page, value);
            FUZZ_CHECK(WithinMetaTag(page, "description", ChangedStretch(page, result)));
            if (readable && CountNamePatterns(page, "description") <= 1) {
                FUZZ_CHECK(velmora::GetDescription(result) == value);
            }
            break;
        }
        case 2: {
            const std::vector<std::string> keywords = velmora::SplitKeywords(value);
            const std::string result = velmora::SetKeywords(page, keywords);
            FUZZ_CHECK(WithinMetaTag(page, "keywords", ChangedStretch(page, result)));
            if (readable && CountNamePatterns(page, "keywords") <= 1) {
                FUZZ_CHECK(velmora::SplitKeywords(velmora::GetMetaKeywords(result)) == keywords);
            }
            break;
        }
        default: {
            const std::string result = velmora::InsertIntoHead(page, value);
            FUZZ_CHECK(result.size() >= page.size() + value.size());
            FUZZ_CHECK(ChangedStretch(page, result).from == ChangedStretch(page, result).to);
            const std::string removed = velmora::RemoveMetaTag(page, "keywords");
            const Change change = ChangedStretch(page, removed);
            FUZZ_CHECK(removed.size() <= page.size());
            FUZZ_CHECK(WithinMetaTag(page, "keywords", change));
            break;
        }
    }
    return 0;
}
