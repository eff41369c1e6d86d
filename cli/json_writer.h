#pragma once

// Compact JSON written straight into one string, byte for byte as the JSON library's compact
// dump writes the same values (UTF-8 kept as it is, control characters escaped), without
// building a tree of values first: the report of a page with 200,000 keywords is one line.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::cli {

class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // key: plain ASCII that needs no escapes.
    JsonWriter& Key(std::string_view key);
    // Text that is not valid UTF-8 (a file name) gets the library's replacement characters.
    JsonWriter& String(std::string_view text);
    JsonWriter& Integer(std::int64_t value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();
    // The fewest digits that read back to the same 32-bit float.
    JsonWriter& Float(float value);

    JsonWriter& Field(std::string_view key, std::string_view text) { return Key(key).String(text); }
    JsonWriter& Field(std::string_view key, std::int64_t value) { return Key(key).Integer(value); }
    JsonWriter& Field(std::string_view key, bool value) { return Key(key).Bool(value); }
    JsonWriter& Field(std::string_view key, const std::vector<std::string>& texts);

    std::string Take() { return std::move(out_); }

private:
    // A comma before every value but the first of its object or array, and none after a key.
    void BeforeValue();

    std::string out_;
    std::string empty_;  // per open object or array: 1 while it holds no value yet
    bool afterKey_ = false;
};

}  // namespace velmora::cli
