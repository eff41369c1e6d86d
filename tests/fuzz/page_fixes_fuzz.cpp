// The page fixes on arbitrary pages: what follows the head is untouched (the tokens from the
// first body element on are the same), and fixing the fixed page again changes nothing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "page_checks/html_tokenizer.h"
#include "page_checks/page_fixes.h"
#include "page_checks/tag_name.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using namespace velmora::page_checks;

// Each token's kind and bytes from the first one that ends the head on. A later <html> tag
// may gain the language, which browsers give the root element, so its attributes are left out.
std::vector<std::string> BodyTokens(std::string_view page) {
    std::vector<std::string> tokens;
    HtmlTokenizer tokenizer(page);
    Token token;
    bool inHead = true;
    while (tokenizer.Next(token)) {
        if (token.kind == TokenKind::StartTag) {
            inHead = inHead && !token.inSvgOrMath && BelongsInHead(token.tag);
        }
        if (inHead) {
            continue;
        }
        const bool htmlTag = token.kind == TokenKind::StartTag && token.tag == PackTagName("html");
        tokens.push_back(
            std::to_string(static_cast<int>(token.kind)) + ":" +
            std::string(htmlTag ? "<html>" : page.substr(token.begin, token.end - token.begin)));
    }
    return tokens;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    const FixSettings settings{"page.html", "en", "https://example.org/a\xC3\xA9.png",
                               "https://example.org/page.html"};
    const FixPlan plan = PlanPageFixes(page, settings, {});
    const std::string fixed = ApplyPageFixes(page, plan);
    FUZZ_CHECK(plan.Changes() || fixed == page);
    FUZZ_CHECK(!PlanPageFixes(fixed, settings, {}).Changes());
    FUZZ_CHECK(BodyTokens(fixed) == BodyTokens(page));
    return 0;
}
