#include "analysis/text_ids.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velmora {
namespace {

TEST(TextIds, NumbersDistinctTextsInOrderOfFirstAppearance) {
    TextIds ids;
    EXPECT_EQ(ids.Find("web"), TextIds::kNone);
    const TextIds::Entry web = ids.Add("web");
    EXPECT_EQ(web.id, 0u);
    EXPECT_TRUE(web.added);
    EXPECT_EQ(ids.Add("").id, 1u);
    EXPECT_EQ(ids.Add(std::string_view("\0", 1)).id, 2u);
    const TextIds::Entry again = ids.Add("web");
    EXPECT_EQ(again.id, 0u);
    EXPECT_FALSE(again.added);
    EXPECT_EQ(ids.Find(""), 1u);
    EXPECT_EQ(ids.Find("Web"), TextIds::kNone);
    EXPECT_EQ(ids.size(), 3u);
    EXPECT_EQ(ids.Text(2), std::string_view("\0", 1));
}

// Many short texts from a small alphabet, so that they repeat and their hashes collide in the
// low bits; added one by one and in runs, through several growths of the table.
TEST(TextIds, AgreesWithAMapOnRandomTexts) {
    std::mt19937 random(31);
    std::deque<std::string> storage;  // keeps every text where the table's views point
    const auto randomText = [&] {
        std::string text;
        for (std::size_t n = random() % 4; n > 0; --n) {
            text.push_back("abcA\xE9"[random() % 5]);
        }
        return std::string_view(storage.emplace_back(std::move(text)));
    };
    for (int round = 0; round < 20; ++round) {
        TextIds ids(round % 3 == 0 ? 1000 : 0);
        std::unordered_map<std::string_view, std::uint32_t> expected;
        const auto check = [&](std::string_view text, TextIds::Entry entry) {
            const auto [at, added] =
                expected.try_emplace(text, static_cast<std::uint32_t>(expected.size()));
            ASSERT_EQ(entry.added, added) << text;
            ASSERT_EQ(entry.id, at->second) << text;
        };
        for (int step = 0; step < 200; ++step) {
            if (random() % 2 == 0) {
                const std::string_view text = randomText();
                check(text, ids.Add(text));
                continue;
            }
            std::vector<std::string_view> run(random() % 40);
            for (std::string_view& text : run) {
                text = randomText();
            }
            ids.AddEach(run, [&](std::size_t i, TextIds::Entry entry) { check(run[i], entry); });
        }
        ASSERT_EQ(ids.size(), expected.size());
        for (int probe = 0; probe < 100; ++probe) {
            const std::string_view text = randomText();
            const auto at = expected.find(text);
            ASSERT_EQ(ids.Find(text), at == expected.end() ? TextIds::kNone : at->second);
        }
        for (const auto& [text, id] : expected) {
            ASSERT_EQ(ids.Text(id), text);
        }
    }
}

}  // namespace
}  // namespace velmora
