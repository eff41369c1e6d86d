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
#include "core/html_functions_write_detail.h"
#include "core/kel_string_functions.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using velmora::PositionIgnoringAsciiCase;

std::size_t CommonPrefix(std::string_view a, std::string_view b) {
    const std::size_t limit = std::min(a.size(), b.size());
    std::size_t n = 0;
    while (n < limit && a[n] == b[n]) {
        ++n;
    }
    return n;
}

std::size_t CommonSuffix(std::string_view a, std::string_view b) {
    const std::size_t limit = std::min(a.size(), b.size());
    std::size_t n = 0;
    while (n < limit && a[a.size() - 1 - n] == b[b.size() - 1 - n]) {
        ++n;
    }
    return n;
}

// True when after == before[0, a) + something + before[b, end) for some lo <= a <= b <= hi
// (0-based), that is when nothing outside [lo, hi) of the old text changed.
bool ChangedOnlyWithin(std::string_view before, std::string_view after, std::size_t lo,
                       std::size_t hi) {
    // The widest choice a = lo, b = hi is the most permissive one.
    const std::size_t n = before.size();
    return lo <= hi && hi <= n && CommonPrefix(before, after) >= lo &&
           CommonSuffix(before, after) >= n - hi && lo + (n - hi) <= after.size();
}

bool IsInsertion(std::string_view before, std::string_view after) {
    return after.size() >= before.size() &&
           CommonPrefix(before, after) + CommonSuffix(before, after) >= before.size();
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

// An edit of the meta tag `name` touches only that tag, or only inserts.
bool WithinMetaTag(std::string_view before, std::string_view after, std::string_view name) {
    if (IsInsertion(before, after)) {
        return true;
    }
    const auto tag = velmora::FindMetaTag(before, name);
    if (!tag.found) {
        return false;
    }
    // A tag without a closing ">" ends at its line; allow the whole rest of the line.
    const std::size_t lineEnd = before.find_first_of("\r\n", tag.TagStart - 1);
    const std::size_t end = std::max<std::size_t>(
        tag.TagEnd, lineEnd == std::string_view::npos ? before.size() : lineEnd);
    return ChangedOnlyWithin(before, after, tag.TagStart - 1, end);
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
            const std::size_t start = PositionIgnoringAsciiCase("<title>", page);
            const std::size_t end = PositionIgnoringAsciiCase("</title>", page);
            const bool hadTitle = !velmora::GetTitle(page).empty();
            if (hadTitle) {
                FUZZ_CHECK(ChangedOnlyWithin(page, result, start - 1 + 7, end - 1));
            } else {
                FUZZ_CHECK(IsInsertion(page, result));
            }
            if (readable && (hadTitle || (start == 0 && end == 0))) {
                FUZZ_CHECK(velmora::GetTitle(result) == value);
            }
            break;
        }
        case 1: {
            const std::string result = velmora::SetDescription(page, value);
            FUZZ_CHECK(WithinMetaTag(page, result, "description"));
            if (readable && CountNamePatterns(page, "description") <= 1) {
                FUZZ_CHECK(velmora::GetDescription(result) == value);
            }
            break;
        }
        case 2: {
            const std::vector<std::string> keywords = velmora::SplitKeywords(value);
            const std::string result = velmora::SetKeywords(page, keywords);
            FUZZ_CHECK(WithinMetaTag(page, result, "keywords"));
            if (readable && CountNamePatterns(page, "keywords") <= 1) {
                FUZZ_CHECK(velmora::SplitKeywords(velmora::GetMetaKeywords(result)) == keywords);
            }
            break;
        }
        default: {
            const std::string result = velmora::InsertIntoHead(page, value);
            FUZZ_CHECK(result.size() >= page.size() + value.size());
            FUZZ_CHECK(IsInsertion(page, result));
            const std::string removed = velmora::detail::RemoveMetaTag(page, "keywords");
            FUZZ_CHECK(removed.size() <= page.size());
            FUZZ_CHECK(WithinMetaTag(page, removed, "keywords"));
            break;
        }
    }
    return 0;
}
