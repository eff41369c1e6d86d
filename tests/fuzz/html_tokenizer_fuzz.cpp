// The page-check tokenizer on arbitrary bytes: tokens cover the page exactly once, in order and
// in bounds; a second run gives the same tokens; on pages of up to 8 KB every element gumbo
// reads from a tag is a start tag of the same name at the same byte. Then every check runs.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "options/page_check_options.h"
#include "page_checks/html_tokenizer.h"
#include "page_checks/page_checks.h"
#include "page_checks/text_width.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/page_checks/gumbo_reference.h"

namespace {

using velmora::page_checks::HtmlTokenizer;
using velmora::page_checks::Token;

// gumbo's tree builder slows down on some long inputs; the tokenizer's own properties are
// checked at every length.
constexpr std::size_t kGumboLimit = 8 * 1024;

bool Within(std::string_view page, std::string_view part) {
    return part.empty() ||
           (part.data() >= page.data() && part.data() + part.size() <= page.data() + page.size());
}

std::vector<std::string> Tokenize(std::string_view page) {
    std::vector<std::string> shown;
    HtmlTokenizer tokenizer(page);
    Token token;
    std::size_t next = 0;
    while (tokenizer.Next(token)) {
        FUZZ_CHECK(token.begin == next);
        FUZZ_CHECK(token.begin < token.end && token.end <= page.size());
        next = token.end;
        if (token.kind == velmora::page_checks::TokenKind::Text) {
            FUZZ_CHECK(Within(page, token.text));
            FUZZ_CHECK(token.text.data() >= page.data() + token.begin);
            FUZZ_CHECK(token.text.data() + token.text.size() <= page.data() + token.end);
        }
        for (const auto& attribute : token.attributes) {
            FUZZ_CHECK(Within(page, attribute.value));
        }
        std::string line = std::to_string(static_cast<int>(token.kind)) + " " +
                           std::to_string(token.begin) + " " + std::string(token.text);
        for (const auto& attribute : token.attributes) {
            line.append(" ").append(attribute.name).append("=").append(attribute.value);
        }
        shown.push_back(std::move(line));
    }
    FUZZ_CHECK(next == page.size());
    return shown;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    FUZZ_CHECK(Tokenize(page) == Tokenize(page));

    if (size <= kGumboLimit) {
        const auto differences = velmora::page_checks::testing::CompareWithGumbo(
            page, {.attributes = false, .text = false});
        for (const std::string& difference : differences) {
            std::fprintf(stderr, "%s\n", difference.c_str());
        }
        FUZZ_CHECK(differences.empty());
    }

    // The meter is immutable once made and shared, as velmora-cli shares it between threads.
    static const velmora::page_checks::TextWidthMeter meter;
    const velmora::PageCheckOptions options;
    const auto report = velmora::page_checks::RunPageChecks(page, "fuzz-page.html", options, meter);
    // A redirect is judged by indexable alone; every other page by each check of one page, which
    // come before the checks that compare pages.
    const bool redirect = report.role == velmora::page_checks::PageRole::Redirect;
    const auto onePageChecks = static_cast<std::size_t>(velmora::CheckId::DuplicateTitle);
    FUZZ_CHECK(report.checks.size() == (redirect ? 1U : onePageChecks));
    return 0;
}
