// Compression removes only blanks, tabs, CR and LF, keeps every other byte in order, grows the
// text only by the line feed it adds after a lone carriage return, and gives what the scanner
// written byte by byte gives.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/compressed_html.h"
#include "tests/analysis/compression_by_bytes.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

bool IsWhite(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string WithoutWhiteSpace(std::string_view text) {
    std::string out;
    std::copy_if(text.begin(), text.end(), std::back_inserter(out),
                 [](char c) { return !IsWhite(c); });
    return out;
}

std::size_t LoneCarriageReturns(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) {
            ++count;
        }
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string compressed = velmora::CompressHtml(text);

    FUZZ_CHECK(WithoutWhiteSpace(compressed) == WithoutWhiteSpace(text));
    FUZZ_CHECK(compressed.size() <= size + LoneCarriageReturns(text));
    FUZZ_CHECK(compressed.find('\t') == std::string::npos || text.find('\t') != std::string::npos);
    FUZZ_CHECK(velmora::CompressHtml(text) == compressed);
    FUZZ_CHECK(velmora::reference::CompressByteByByte(text) == compressed);
    return 0;
}
