#include "cli/json_writer.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

namespace velmora::cli {
namespace {

using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool,
                                  std::int64_t, std::uint64_t, float>;

std::string LibraryDump(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Strings made of pieces that every escaping rule and every kind of broken UTF-8 touches, with
// runs of plain bytes that end anywhere in or across blocks of eight.
TEST(JsonWriter, StringsAreWrittenAsTheLibraryWritesThem) {
    static constexpr std::array<std::string_view, 22> kPieces = {
        "plain run",
        "a longer plain run",
        "a",
        "\"",
        "\\",
        "\b",
        "\f",
        "\n",
        "\r",
        "\t",
        "\x01",
        "\x1F",
        "\x7F",
        "/",
        "\xC3\xA9",
        "\xE2\x82\xAC",
        "\xF0\x9F\x98\x80",
        "\xC3",
        "\x80",
        "\xED\xA0\x80",
        "\xC0\xAF",
        "\xF4\x90\x80\x80",
    };
    std::mt19937 random(5);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int n = static_cast<int>(random() % 12); n > 0; --n) {
            text += kPieces[random() % kPieces.size()];
        }
        JsonWriter writer;
        writer.String(text);
        ASSERT_EQ(writer.Take(), LibraryDump(Json(text))) << round;
    }
}

TEST(JsonWriter, NestingNumbersAndFloats) {
    JsonWriter writer;
    writer.BeginObject()
        .Field("n", std::int64_t{-12})
        .Field("b", true)
        .Key("unknown")
        .Null()
        .Field("list", std::vector<std::string>{"x", "y"})
        .Key("empty")
        .BeginArray()
        .EndArray()
        .Key("objects")
        .BeginArray();
    for (const float rating : {90.25f, 85.7375f, 100.0f, 0.0f, 1e-45f, 69.3f}) {
        writer.BeginObject().Key("rating").Float(rating).EndObject();
    }
    writer.EndArray().EndObject();

    Json expected = {{"n", -12},
                     {"b", true},
                     {"unknown", nullptr},
                     {"list", {"x", "y"}},
                     {"empty", Json::array()}};
    expected["objects"] = Json::array();
    for (const float rating : {90.25f, 85.7375f, 100.0f, 0.0f, 1e-45f, 69.3f}) {
        expected["objects"].push_back({{"rating", rating}});
    }
    EXPECT_EQ(writer.Take(), LibraryDump(expected));
}

}  // namespace
}  // namespace velmora::cli
