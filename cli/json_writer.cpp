#include "cli/json_writer.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>

#include "cli/utf8_sequence.h"
#include "core/byte_loads.h"

namespace velmora::cli {
namespace {

// The rating is held as a 32-bit float, so that it is written with the fewest digits that read
// back to the same float.
using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool,
                                  std::int64_t, std::uint64_t, float>;

// True when one of the eight bytes of block needs a closer look: 0x80 or above (UTF-8 to check),
// below 0x20, a double quote or a backslash. Each test tells exactly whether some byte matches.
bool NeedsAttention(std::uint64_t block) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHigh = 0x8080808080808080;
    const auto anyBelow = [&](std::uint64_t v, std::uint64_t n) { return (v - kOnes * n) & ~v; };
    const auto anyZero = [&](std::uint64_t v) { return anyBelow(v, 1); };
    return ((block | anyBelow(block, 0x20) | anyZero(block ^ (kOnes * '"')) |
             anyZero(block ^ (kOnes * '\\'))) &
            kHigh) != 0;
}

// The first byte at or after i that may need an escape or a UTF-8 check; plain bytes are
// skipped eight at a time, since reports carry megabytes of keywords.
std::size_t SkipPlainBlocks(std::string_view text, std::size_t i) {
    while (i + 8 <= text.size()) {
        if (NeedsAttention(LoadBytes<std::uint64_t>(text.data() + i))) {
            break;
        }
        i += 8;
    }
    return i;
}

// Appends text with the library's escapes; false, with out partly written, at the first byte
// that is not part of valid UTF-8.
bool AppendEscaped(std::string& out, std::string_view text) {
    std::size_t copied = 0;
    for (std::size_t i = SkipPlainBlocks(text, 0); i < text.size();
         i = SkipPlainBlocks(text, i + 1)) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t length = Utf8SequenceLength(text, i);
            if (length == 0) {
                return false;
            }
            i += length - 1;
            continue;
        }
        if (c >= 0x20 && c != '"' && c != '\\') {
            continue;
        }
        out.append(text.substr(copied, i - copied));
        copied = i + 1;
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\r':
                out += "\\r";
                break;
            default: {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            }
        }
    }
    out.append(text.substr(copied));
    return true;
}

}  // namespace

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!empty_.empty()) {
        if (empty_.back() == 0) {
            out_ += ',';
        }
        empty_.back() = 0;
    }
}

JsonWriter& JsonWriter::BeginObject() {
    BeforeValue();
    out_ += '{';
    empty_.push_back(1);
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    out_ += '}';
    empty_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::BeginArray() {
    BeforeValue();
    out_ += '[';
    empty_.push_back(1);
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    out_ += ']';
    empty_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
    // Keys are the report's own ASCII names, which need no escapes. A report writes five for
    // each keyword, so the key is written in one piece.
    BeforeValue();
    const std::size_t at = out_.size();
    out_.resize(at + key.size() + 3);
    char* const written = out_.data() + at;
    written[0] = '"';
    std::memcpy(written + 1, key.data(), key.size());
    written[key.size() + 1] = '"';
    written[key.size() + 2] = ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
    BeforeValue();
    const std::size_t start = out_.size();
    out_ += '"';
    if (!AppendEscaped(out_, text)) {
        out_.resize(start);
        out_ += Json(std::string(text)).dump(-1, ' ', false, Json::error_handler_t::replace);
        return *this;
    }
    out_ += '"';
    return *this;
}

JsonWriter& JsonWriter::Integer(std::int64_t value) {
    BeforeValue();
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out_.append(digits, end);
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
    BeforeValue();
    out_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null() {
    BeforeValue();
    out_ += "null";
    return *this;
}

JsonWriter& JsonWriter::Float(float value) {
    BeforeValue();
    out_ += Json(value).dump();
    return *this;
}

JsonWriter& JsonWriter::Field(std::string_view key, const std::vector<std::string>& texts) {
    Key(key).BeginArray();
    for (const std::string& text : texts) {
        String(text);
    }
    return EndArray();
}

}  // namespace velmora::cli
