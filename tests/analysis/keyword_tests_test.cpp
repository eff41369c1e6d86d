#include "analysis/keyword_tests.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "analysis/candidate_keywords.h"
#include "analysis/keyword_tests_detail.h"
#include "core/kel_string_functions.h"
#include "core/text_rules.h"
#include "options/velmora_types.h"

namespace velmora {
namespace {

using detail::IsDuplicateKeyword;

const TextRules kAnsi(Encoding::Windows1252);
const TextRules kUtf8(Encoding::Utf8);

WordList Occurrences(std::vector<std::string> entries, TextRules rules = kAnsi) {
    return WordList::FromOccurrences(std::move(entries), rules);
}

std::vector<std::string> Repeat(const std::string& text, int times) {
    return std::vector<std::string>(static_cast<std::size_t>(times), text);
}

TEST(IsGoodKeyword, OccurrenceLimits) {
    KelVelmoraOptions options;
    std::vector<std::string> entries = Repeat("once", 1);
    for (const auto& [word, times] : {std::pair{"twice", 2}, {"ten", 10}, {"eleven", 11}}) {
        const auto more = Repeat(word, times);
        entries.insert(entries.end(), more.begin(), more.end());
    }
    const WordList words = Occurrences(entries);
    EXPECT_FALSE(IsGoodKeyword("once", 50, words, options));
    EXPECT_TRUE(IsGoodKeyword("twice", 50, words, options));
    EXPECT_TRUE(IsGoodKeyword("ten", 50, words, options));
    EXPECT_FALSE(IsGoodKeyword("eleven", 50, words, options));
    EXPECT_FALSE(IsGoodKeyword("absent", 50, words, options));
    // One word in every ten of a 110-word page raises the upper limit to 11.
    EXPECT_TRUE(IsGoodKeyword("eleven", 110, words, options));
    EXPECT_FALSE(IsGoodKeyword("eleven", 109, words, options));

    // A zero divisor, which the options never hold, falls back to the maximum count.
    options.KeywordOneInEvery = 0;
    EXPECT_FALSE(IsGoodKeyword("eleven", 1000, words, options));
    EXPECT_TRUE(IsGoodKeyword("ten", 1000, words, options));
}

TEST(IsGoodKeyword, OneCharacterKeywordIsBad) {
    const KelVelmoraOptions options;
    EXPECT_FALSE(IsGoodKeyword("x", 100, Occurrences(Repeat("x", 5)), options));
    EXPECT_TRUE(IsGoodKeyword("xy", 100, Occurrences(Repeat("xy", 5)), options));
    // On a UTF-8 page an accented letter is one character of two bytes.
    EXPECT_FALSE(
        IsGoodKeyword("\xC3\xA9", 100, Occurrences(Repeat("\xC3\xA9", 5), kUtf8), options));
    EXPECT_TRUE(IsGoodKeyword("\xC3\xA9t\xC3\xA9", 100,
                              Occurrences(Repeat("\xC3\xA9t\xC3\xA9", 5), kUtf8), options));
}

TEST(IsGoodKeyword, KeywordsTheCandidatesCannotHoldAreBad) {
    const KelVelmoraOptions options;
    const TCandidateKeywords page(
        "vitamin c for the skin. vitamin c for the skin. one two three four five. "
        "one two three four five. hot  dog. hot dog. red, wine. red, wine.",
        false, &options.StopWords, kAnsi);
    EXPECT_TRUE(IsGoodKeyword("vitamin", page.WordCount, page.Words, options));
    EXPECT_FALSE(IsGoodKeyword("vitamin c", page.WordCount, page.Words, options));
    EXPECT_FALSE(IsGoodKeyword("for the skin", page.WordCount, page.Words, options));
    EXPECT_TRUE(IsGoodKeyword("one two three four", page.WordCount, page.Words, options));
    EXPECT_FALSE(IsGoodKeyword("one two three four five", page.WordCount, page.Words, options));
    EXPECT_TRUE(IsGoodKeyword("hot dog", page.WordCount, page.Words, options));
    EXPECT_FALSE(IsGoodKeyword("hot  dog", page.WordCount, page.Words, options));
    EXPECT_TRUE(IsGoodKeyword("wine", page.WordCount, page.Words, options));
    EXPECT_FALSE(IsGoodKeyword("red, wine", page.WordCount, page.Words, options));
}

TEST(IsGoodKeyword, CaseModeOutsideRangeIsCaseSensitive) {
    KelVelmoraOptions options;
    const WordList words = Occurrences({"Web", "Web", "web"});
    options.KeywordCase = KeywordCaseMode::CaseInsensitiveMixed;
    EXPECT_TRUE(IsGoodKeyword("web", 100, words, options));
    for (const KeywordCaseMode mode :
         {KeywordCaseMode::CaseSensitive, KeywordCaseMode{0}, KeywordCaseMode{7}}) {
        options.KeywordCase = mode;
        EXPECT_FALSE(IsGoodKeyword("web", 100, words, options)) << static_cast<int>(mode);
        EXPECT_TRUE(IsGoodKeyword("Web", 100, words, options)) << static_cast<int>(mode);
    }
}

TEST(ClassifyKeywords, CountsBothKinds) {
    const KelVelmoraOptions options;
    const WordList words = Occurrences({"web", "web", "shop", "shop", "shop", "x", "x"});
    const KeywordList keywords{"web", "x", "shop", "absent", "web"};
    std::int32_t bad = -1;
    std::int32_t good = -1;
    ClassifyKeywords(keywords, 100, words, bad, good, options);
    EXPECT_EQ(good, 3);
    EXPECT_EQ(bad, 2);
    EXPECT_EQ(CountGoodKeywords(keywords, 100, words, options), 3);
    EXPECT_EQ(CountBadKeywords(keywords, 100, words, options), 2);
    ClassifyKeywords({}, 100, words, bad, good, options);
    EXPECT_EQ(good + bad, 0);

    // With the counts known: an absent keyword counted twice becomes good; one letter stays bad.
    ClassifyKeywords(keywords, std::vector<std::int32_t>{2, 2, 3, 2, 2}, 100, kAnsi, bad, good,
                     options);
    EXPECT_EQ(good, 4);
    EXPECT_EQ(bad, 1);
}

TEST(DuplicateKeywords, WebAndWebPerCaseMode) {
    const KeywordList keywords{"Web", "shop", "web"};
    EXPECT_FALSE(IsDuplicateKeyword(0, keywords, KeywordCaseMode::CaseInsensitiveMixed, kAnsi));
    EXPECT_FALSE(IsDuplicateKeyword(1, keywords, KeywordCaseMode::CaseInsensitiveMixed, kAnsi));
    EXPECT_TRUE(IsDuplicateKeyword(2, keywords, KeywordCaseMode::CaseInsensitiveMixed, kAnsi));
    EXPECT_TRUE(IsDuplicateKeyword(2, keywords, KeywordCaseMode::CaseInsensitiveLower, kAnsi));
    EXPECT_TRUE(HasDuplicateKeywords(keywords, KeywordCaseMode::CaseInsensitiveMixed, kAnsi));
    EXPECT_TRUE(HasDuplicateKeywords(keywords, KeywordCaseMode::CaseInsensitiveLower, kAnsi));
    for (const KeywordCaseMode mode :
         {KeywordCaseMode::CaseSensitive, KeywordCaseMode{0}, KeywordCaseMode{4}}) {
        EXPECT_FALSE(IsDuplicateKeyword(2, keywords, mode, kAnsi)) << static_cast<int>(mode);
        EXPECT_FALSE(HasDuplicateKeywords(keywords, mode, kAnsi)) << static_cast<int>(mode);
    }
    EXPECT_TRUE(
        HasDuplicateKeywords({"web", "shop", "web"}, KeywordCaseMode::CaseSensitive, kAnsi));
    EXPECT_FALSE(IsDuplicateKeyword(3, keywords, KeywordCaseMode::CaseInsensitiveMixed, kAnsi));
    EXPECT_FALSE(HasDuplicateKeywords({"web"}, KeywordCaseMode::CaseInsensitiveMixed, kAnsi));
    EXPECT_FALSE(HasDuplicateKeywords({}, KeywordCaseMode::CaseInsensitiveMixed, kAnsi));
}

TEST(DuplicateKeywords, AccentedLettersFollowThePageEncoding) {
    // "Été" and "été" in Windows-1252 and in UTF-8.
    EXPECT_TRUE(HasDuplicateKeywords({"\xC9t\xE9", "\xE9t\xE9"},
                                     KeywordCaseMode::CaseInsensitiveMixed, kAnsi));
    EXPECT_TRUE(HasDuplicateKeywords({"\xC3\x89t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},
                                     KeywordCaseMode::CaseInsensitiveMixed, kUtf8));
    EXPECT_TRUE(IsDuplicateKeyword(1, {"\xC3\x89t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},
                                   KeywordCaseMode::CaseInsensitiveLower, kUtf8));
    EXPECT_FALSE(
        HasDuplicateKeywords({"\xC9t\xE9", "\xE9t\xE9"}, KeywordCaseMode::CaseSensitive, kAnsi));
}

// Random keywords from letters that lower-case alike or not, in Windows-1252 and in UTF-8, with
// invalid UTF-8 bytes and empty keywords.
std::string RandomKeyword(std::mt19937& random) {
    static const std::vector<std::string> pieces{"a",        "A",    "b",    "B",    " ",
                                                 "\xC9",     "\xE9", "\x8A", "\x9A", "\xC3\x89",
                                                 "\xC3\xA9", "\xC3", "\xFF"};
    std::string keyword;
    for (std::size_t n = random() % 4; n > 0; --n) {
        keyword += pieces[random() % pieces.size()];
    }
    return keyword;
}

TEST(KeywordKeys, AgreeWithComparingEveryPair) {
    const std::vector<KeywordCaseMode> modes{
        KeywordCaseMode::CaseSensitive, KeywordCaseMode::CaseInsensitiveMixed,
        KeywordCaseMode::CaseInsensitiveLower, KeywordCaseMode{7}};
    std::mt19937 random(5);
    int repeats = 0;
    for (int round = 0; round < 2000; ++round) {
        const TextRules& rules = round % 2 == 0 ? kAnsi : kUtf8;
        const KeywordCaseMode mode = modes[random() % modes.size()];
        const bool ignoreCase = CaseModeOf(mode) != KeywordCaseMode::CaseSensitive;
        KeywordList keywords(random() % 12);
        for (std::string& keyword : keywords) {
            keyword = RandomKeyword(random);
        }
        const KeywordKeys keys(keywords, mode, rules);
        bool any = false;
        for (std::size_t i = 0; i < keywords.size(); ++i) {
            const bool duplicate = IsDuplicateKeyword(i, keywords, mode, rules);
            ASSERT_EQ(keys.Repeats(i), duplicate) << "round " << round << ", keyword " << i;
            any = any || duplicate;
        }
        ASSERT_EQ(keys.AnyRepeats(), any) << "round " << round;
        ASSERT_EQ(HasDuplicateKeywords(keywords, mode, rules), any) << "round " << round;
        repeats += any ? 1 : 0;
        for (int probe = 0; probe < 4; ++probe) {
            const std::string text = RandomKeyword(random);
            const bool held = std::any_of(keywords.begin(), keywords.end(), [&](const auto& k) {
                return ignoreCase ? rules.EqualIgnoringCase(k, text) : k == text;
            });
            ASSERT_EQ(keys.Contains(text), held) << "round " << round << ", probe " << text;
        }
    }
    EXPECT_GT(repeats, 500);
    EXPECT_LT(repeats, 1800);
}

TEST(FindSpammedWord, WebDesignExample) {
    const KeywordList keywords{"web design", "web hosting", "web shop", "cheap web space"};
    EXPECT_EQ(FindSpammedWord(keywords, 3), "web");
    EXPECT_EQ(FindSpammedWord({keywords.begin(), keywords.begin() + 3}, 3), "");
    EXPECT_EQ(FindSpammedWord(keywords, 4), "");
    EXPECT_EQ(FindSpammedWord(keywords, 2), "web");
    EXPECT_EQ(FindSpammedWord({"web"}, 1), "");
    EXPECT_EQ(FindSpammedWord({}, 1), "");
}

TEST(FindSpammedWord, SpelledAsFirstMetAndMatchedIgnoringAsciiCase) {
    EXPECT_EQ(FindSpammedWord({"cheap Web design", "WEB hosting", "web shop", "Web\tspace"}, 3),
              "Web");
    // Only A to Z are lowered: "É" and "é" are different words.
    EXPECT_EQ(FindSpammedWord({"\xC9t\xE9", "\xE9t\xE9 a", "\xE9t\xE9 b", "\xE9t\xE9 c"}, 3), "");
}

TEST(FindSpammedWord, WholeWordsCountedOncePerLaterKeyword) {
    // Repeats inside one keyword, and inside the source keyword, do not add hits.
    EXPECT_EQ(FindSpammedWord({"web web web web", "web web web", "shop"}, 2), "");
    // Hyphens stay inside words: "e-mail" is not "mail".
    EXPECT_EQ(FindSpammedWord({"mail", "e-mail", "mail-box", "emails"}, 1), "");
    EXPECT_EQ(FindSpammedWord({"mail", "e-mail", "mail box"}, 1), "mail");
    // The first word to reach the limit, in keyword order, wins.
    EXPECT_EQ(FindSpammedWord({"red shop", "blue shop", "red car", "shop red"}, 2), "red");
    EXPECT_EQ(FindSpammedWord({"blue car", "red shop", "red car", "shop red"}, 2), "red");
    // A keyword of blanks holds no word to report.
    EXPECT_EQ(FindSpammedWord({" ", " ", " ", "web", "web"}, 1), "web");
}

// The spamming test as first written, one scan of the later keywords per word: the reference
// that the indexed search must agree with.
std::string SpammedWordByScanning(const KeywordList& keywords, std::int32_t limit) {
    for (std::size_t i = 0; i + 1 < keywords.size(); ++i) {
        std::string rest = keywords[i];
        while (!rest.empty()) {
            const std::string word = TakeFirstWord(rest);
            if (word.empty()) {
                continue;
            }
            std::int32_t hits = 0;
            for (std::size_t j = i + 1; j < keywords.size(); ++j) {
                if (WordIndex(AsciiLower(word), AsciiLower(keywords[j])) > 0 && ++hits >= limit) {
                    return word;
                }
            }
        }
    }
    return {};
}

TEST(FindSpammedWord, AgreesWithAScanOfTheLaterKeywordsOnRandomLists) {
    // Few words, so that they repeat; letter case, separators and empty keywords vary.
    const std::vector<std::string> words{"web",     "Web", "WEB", "shop", "e-mail", "caf\xE9",
                                         "CAF\xC9", "a",   "x/y", "3d",   "fish",   "Fish"};
    const std::vector<std::string> gaps{" ", "  ", "\t", "\r\n", " \t "};
    std::mt19937 random(11);
    const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    int spammed = 0;
    for (int round = 0; round < 3000; ++round) {
        KeywordList keywords(pick(12));
        for (std::string& keyword : keywords) {
            if (pick(6) == 0) {
                keyword = pick(2) == 0 ? "" : gaps[pick(gaps.size())];
                continue;
            }
            for (std::size_t w = 0, n = 1 + pick(4); w < n; ++w) {
                if (w > 0 || pick(5) == 0) {
                    keyword += gaps[pick(gaps.size())];
                }
                keyword += words[pick(words.size())];
            }
        }
        const auto limit = static_cast<std::int32_t>(pick(6)) - 1;
        const std::string expected = SpammedWordByScanning(keywords, limit);
        spammed += expected.empty() ? 0 : 1;
        ASSERT_EQ(FindSpammedWord(keywords, limit), expected)
            << "round " << round << ", limit " << limit;
    }
    EXPECT_GT(spammed, 1000);  // both answers were well exercised
    EXPECT_LT(spammed, 2500);
}

}  // namespace
}  // namespace velmora
