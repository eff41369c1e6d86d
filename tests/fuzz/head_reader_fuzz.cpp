// The head reader on arbitrary bytes: results stay inside the text and keep their invariants.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/html_functions_read.h"
#include "core/html_functions_read_detail.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    for (const std::string_view name : {"description", "keywords"}) {
        const auto tag = velmora::FindMetaTag(text, name);
        if (tag.found) {
            FUZZ_CHECK(tag.TagStart >= 1 && tag.TagStart <= tag.TagEnd && tag.TagEnd <= size);
        }
        const auto value = velmora::detail::FindMetaContent(text, name);
        if (value.found) {
            FUZZ_CHECK(tag.found);
            FUZZ_CHECK(value.ValueStart > tag.TagStart);
            FUZZ_CHECK(value.ValueStart + value.ValueLength <= tag.TagEnd + 1);
        }
    }

    const std::string keywords = velmora::GetMetaKeywords(text);
    for (const std::string& keyword : velmora::SplitKeywords(keywords)) {
        FUZZ_CHECK(!keyword.empty());
        FUZZ_CHECK(keyword.find(',') == std::string::npos);
        FUZZ_CHECK(static_cast<unsigned char>(keyword.front()) > 32);
        FUZZ_CHECK(static_cast<unsigned char>(keyword.back()) > 32);
    }

    // Decoding only ever shortens a text: every entity is longer than its character.
    FUZZ_CHECK(velmora::GetTitle(text).size() <= size);
    FUZZ_CHECK(velmora::GetDescription(text).size() <= size);
    FUZZ_CHECK(velmora::detail::DecodeEntities(text).size() <= size);
    return 0;
}
