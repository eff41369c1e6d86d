#include "analysis/keyword_choice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "analysis/candidate_keywords_detail.h"
#include "analysis/keyword_choice_detail.h"
#include "analysis/keyword_ordering.h"
#include "analysis/keyword_tests.h"
#include "analysis/keyword_tests_detail.h"
#include "core/kel_string_functions.h"

namespace velmora {
namespace {

using detail::CandidateEntry;
using detail::CandidateLine;
using detail::InsertEntrySorted;
using detail::IsDuplicateKeyword;
using detail::IsWordInList;
using detail::KeywordEntry;
using detail::KeywordLine;
using detail::RemoveSpammedEntries;
using detail::SortEntries;

using Lines = std::vector<std::string>;
using Entries = std::vector<ChoiceEntry>;

// The lines of entries, as the dialog shows them.
Lines LinesOf(const Entries& entries) {
    Lines lines;
    for (const ChoiceEntry& entry : entries) {
        lines.push_back(entry.line);
    }
    return lines;
}

// Entries whose text is their whole line, for the order of lines alone.
Entries EntriesOfLines(const Lines& lines) {
    Entries entries;
    for (const std::string& line : lines) {
        entries.push_back({line, line});
    }
    return entries;
}

// A word list holding each (text, count) pair as that many occurrences.
WordList MakeWords(const std::vector<std::pair<std::string, int>>& forms) {
    std::vector<std::string> occurrences;
    for (const auto& [text, count] : forms) {
        occurrences.insert(occurrences.end(), static_cast<std::size_t>(count), text);
    }
    return WordList::FromOccurrences(std::move(occurrences), TextRules());
}

// About two thirds of the vocabulary, each word one to five times.
WordList RandomWords(const std::vector<std::string>& vocabulary, std::mt19937& random) {
    std::vector<std::pair<std::string, int>> forms;
    for (const std::string& word : vocabulary) {
        if (random() % 3 != 0) {
            forms.emplace_back(word, 1 + static_cast<int>(random() % 5));
        }
    }
    return MakeWords(forms);
}

KelVelmoraOptions WithCase(KeywordCaseMode keywordCase) {
    KelVelmoraOptions options;
    options.KeywordCase = keywordCase;
    return options;
}

// Auto's spamming pass exactly as described: recompute the spammed word after every deletion.
KeywordList NaiveSpamPass(KeywordList ranked, std::int32_t limit) {
    for (std::string spammed = FindSpammedWord(ranked, limit); !spammed.empty();
         spammed = FindSpammedWord(ranked, limit)) {
        const std::string lower = AsciiLower(spammed);
        bool deleted = false;
        for (std::size_t k = ranked.size(); k-- > 0;) {
            if (WordIndex(lower, AsciiLower(ranked[k])) > 0) {
                ranked.erase(ranked.begin() + static_cast<std::ptrdiff_t>(k));
                deleted = true;
                break;
            }
        }
        if (!deleted) {
            break;
        }
    }
    return ranked;
}

TEST(KeywordChoiceLines, FormatsAndKeepsTheTextBesideTheLine) {
    EXPECT_EQ(KeywordLine("fish", 3, true, true), "fish {3 times, bad keyword, duplicate keyword}");
    EXPECT_EQ(KeywordLine("fish", 0, false, true), "fish {0 times, duplicate keyword}");
    EXPECT_EQ(KeywordLine("fish", 12, false, false), "fish {12 times}");
    EXPECT_EQ(CandidateLine("web design", 4), "web design {4 times}");

    // A text that looks like marks stays the text: nothing is read back from the line.
    EXPECT_EQ(KeywordEntry("a {b", 0, true, false),
              (ChoiceEntry{"a {b", "a {b {0 times, bad keyword}"}));
    EXPECT_EQ(CandidateEntry(" {1 times}", 2).text, " {1 times}");

    const TextRules rules;
    Entries entries;
    for (const char* line : {"fish {2 times}", "Banana {3 times}", "Fish {1 times}", "apple"}) {
        InsertEntrySorted(entries, {line, line}, rules);
    }
    EXPECT_EQ(LinesOf(entries),
              (Lines{"apple", "Banana {3 times}", "Fish {1 times}", "fish {2 times}"}));
}

TEST(SortEntries, SameOrderAsAStableSortOfTheLinesByTheTextRules) {
    // Pieces that lower-case alike or not in either encoding, invalid UTF-8, NUL bytes, and a
    // long shared beginning, so that the first eight bytes often tie.
    const std::vector<std::string> pieces{"a",
                                          "A",
                                          "b",
                                          "{",
                                          " {",
                                          "1",
                                          "\xC9",
                                          "\xE9",
                                          "\xC3\x89",
                                          "\xC3\xA9",
                                          "\xC3",
                                          "\xFF",
                                          std::string(1, '\0'),
                                          "same start "};
    std::mt19937 random(17);
    for (int round = 0; round < 600; ++round) {
        const TextRules rules(round % 2 == 0 ? Encoding::Windows1252 : Encoding::Utf8);
        Lines lines(random() % 40);
        for (std::string& line : lines) {
            for (std::size_t n = random() % 6; n > 0; --n) {
                line += pieces[random() % pieces.size()];
            }
        }
        Lines expected = lines;
        std::stable_sort(expected.begin(), expected.end(),
                         [&](const auto& a, const auto& b) { return rules.Compare(a, b) < 0; });
        Entries entries = EntriesOfLines(lines);
        SortEntries(entries, rules);
        ASSERT_EQ(LinesOf(entries), expected) << "round " << round;
    }
}

TEST(PrimeKeywordChoice, FillsBothListsAndCountsEveryStep) {
    const WordList words = MakeWords(
        {{"Web", 3}, {"web", 2}, {"shop", 4}, {"rare", 1}, {"hosting", 2}, {"web hosting", 2}});
    const KelVelmoraOptions options = WithCase(KeywordCaseMode::CaseInsensitiveMixed);
    const KeywordList keywords{"rare", "shop", "SHOP"};

    std::size_t steps = 0;
    const PrimedKeywordChoice primed =
        PrimeKeywordChoice(keywords, 100, words, "", options, [&](std::size_t n) { steps += n; });

    EXPECT_EQ(steps, keywords.size() + words.OccurrenceCount());
    // Only the second of two equal keywords is marked; a rare keyword is bad.
    EXPECT_EQ(LinesOf(primed.Keywords),
              (Lines{"rare {1 times, bad keyword}", "SHOP {4 times, duplicate keyword}",
                     "shop {4 times}"}));
    EXPECT_EQ(primed.Keywords[1].text, "SHOP");
    // Web and web make one candidate in the form used most; shop is good but already a keyword.
    EXPECT_EQ(LinesOf(primed.Candidates),
              (Lines{"hosting {2 times}", "web hosting {2 times}", "Web {5 times}"}));
    EXPECT_EQ(primed.GoodCandidates, (KeywordList{"hosting", "shop", "Web", "web hosting"}));
    EXPECT_FALSE(primed.OrderOptimal);

    const PrimedKeywordChoice sensitive =
        PrimeKeywordChoice({"shop"}, 100, words, "", WithCase(KeywordCaseMode::CaseSensitive));
    EXPECT_EQ(LinesOf(sensitive.Candidates), (Lines{"hosting {2 times}", "web hosting {2 times}",
                                                    "web {2 times}", "Web {3 times}"}));
    EXPECT_TRUE(sensitive.OrderOptimal);

    const PrimedKeywordChoice empty = PrimeKeywordChoice({}, 0, WordList(), "", options);
    EXPECT_TRUE(empty.Keywords.empty());
    EXPECT_TRUE(empty.Candidates.empty());
    EXPECT_TRUE(empty.OrderOptimal);
}

// The walk as described: one step per occurrence entry, a lookup whenever the entry changes.
PrimedKeywordChoice NaivePrime(const KeywordList& keywords, std::int32_t wordCount,
                               const WordList& words, const KelVelmoraOptions& options) {
    const KeywordCaseMode mode = options.CaseMode();
    PrimedKeywordChoice result;
    std::string previousEntry;
    std::string previous;
    std::string current;
    bool first = true;
    for (const WordForm& form : words.Forms()) {
        for (int n = 0; n < form.count; ++n) {
            if (first || form.text != previousEntry) {
                current = PreferredForm(form.text, words, mode);
            }
            if (current != previous && IsGoodKeyword(current, wordCount, words, options)) {
                result.GoodCandidates.push_back(current);
                if (!IsWordInList(current, keywords, mode, words.Rules())) {
                    InsertEntrySorted(
                        result.Candidates,
                        CandidateEntry(current, CountOccurrences(current, words, mode)),
                        words.Rules());
                }
            }
            previous = current;
            previousEntry = form.text;
            first = false;
        }
    }
    return result;
}

TEST(PrimeKeywordChoice, SameCandidatesAsTheEntryByEntryWalk) {
    const std::vector<std::string> vocabulary{"web",       "Web",       "WEB",      "shop", "Shop",
                                              "x",         "web shop",  "Web Shop", "ab",   "Ab",
                                              "\xC9t\xE9", "\xE9t\xE9", "\xE9T\xC9"};
    std::mt19937 random(99);
    int roundsWithCandidates = 0;
    for (int round = 0; round < 150; ++round) {
        const WordList words = RandomWords(vocabulary, random);
        KelVelmoraOptions options = WithCase(static_cast<KeywordCaseMode>(1 + random() % 4));
        options.MinimumKeywordCount = 1 + static_cast<std::int32_t>(random() % 3);
        options.MaximumKeywordCount = 2 + static_cast<std::int32_t>(random() % 5);
        const KeywordList keywords{vocabulary[random() % vocabulary.size()]};
        const PrimedKeywordChoice fast = PrimeKeywordChoice(keywords, 10, words, "", options);
        const PrimedKeywordChoice naive = NaivePrime(keywords, 10, words, options);
        ASSERT_EQ(fast.GoodCandidates, naive.GoodCandidates) << "round " << round;
        ASSERT_EQ(fast.Candidates, naive.Candidates) << "round " << round;
        std::vector<std::int32_t> keywordCounts;
        for (const std::string& keyword : keywords) {
            keywordCounts.push_back(CountOccurrences(keyword, words, options.KeywordCase));
        }
        const PrimedKeywordChoice counted =
            PrimeKeywordChoice(keywords, keywordCounts, 10, words, "", options);
        ASSERT_EQ(counted.Keywords, fast.Keywords) << "round " << round;
        ASSERT_EQ(counted.GoodCandidates, fast.GoodCandidates) << "round " << round;
        ASSERT_EQ(fast.GoodCandidateCounts.size(), fast.GoodCandidates.size());
        for (std::size_t i = 0; i < fast.GoodCandidates.size(); ++i) {
            ASSERT_EQ(fast.GoodCandidateCounts[i],
                      CountOccurrences(fast.GoodCandidates[i], words, options.KeywordCase))
                << "round " << round << ", " << fast.GoodCandidates[i];
        }
        roundsWithCandidates += fast.GoodCandidates.size() > 2 ? 1 : 0;
    }
    EXPECT_GT(roundsWithCandidates, 50);
}

// The keyword entries as described: each keyword's entry inserted in order, with its duplicate
// mark from a comparison with every keyword before it.
Entries NaiveKeywordEntries(const KeywordList& keywords, std::int32_t wordCount,
                            const WordList& words, const KelVelmoraOptions& options) {
    Entries entries;
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        InsertEntrySorted(
            entries,
            KeywordEntry(
                keywords[i], CountOccurrences(keywords[i], words, options.KeywordCase),
                !IsGoodKeyword(keywords[i], wordCount, words, options),
                detail::IsDuplicateKeyword(i, keywords, options.KeywordCase, words.Rules())),
            words.Rules());
    }
    return entries;
}

TEST(PrimeKeywordChoice, ManyKeywordsAsTheDialogFillsItsLists) {
    const std::vector<std::string> vocabulary{"web",  "Web", "WEB",       "shop",
                                              "Shop", "x",   "a {b",      "web shop",
                                              "ab",   "Ab",  "\xC9t\xE9", "\xE9t\xE9"};
    std::mt19937 random(23);
    int withDuplicates = 0;
    for (int round = 0; round < 200; ++round) {
        const WordList words = RandomWords(vocabulary, random);
        KelVelmoraOptions options =
            WithCase(KeywordCaseMode{static_cast<std::uint8_t>(1 + random() % 4)});
        options.MaximumRecommendedTags = 1 + static_cast<std::int32_t>(random() % 6);
        KeywordList keywords(random() % 10);
        for (std::string& keyword : keywords) {
            keyword = vocabulary[random() % vocabulary.size()];
        }
        const std::string title = random() % 2 == 0 ? "Web shop" : "";
        const PrimedKeywordChoice primed = PrimeKeywordChoice(keywords, 10, words, title, options);
        const PrimedKeywordChoice naive = NaivePrime(keywords, 10, words, options);
        ASSERT_EQ(primed.Keywords, NaiveKeywordEntries(keywords, 10, words, options))
            << "round " << round;
        ASSERT_EQ(primed.Candidates, naive.Candidates) << "round " << round;
        ASSERT_EQ(primed.OrderOptimal, IsOrderOptimal(keywords, words, title, options));
        withDuplicates += HasDuplicateKeywords(keywords, options.KeywordCase, words.Rules());

        // Auto merges only the entries it ranked, and must choose as ApplyAutoChoice does.
        const KeywordList ranked =
            RankAutoKeywords(primed.GoodCandidates, words, title, options, nullptr);
        const ChoiceLists lists =
            ApplyAutoChoice({primed.Candidates, primed.Keywords}, ranked, options, words.Rules());
        ASSERT_EQ(AutoKeywords(primed, words, title, options),
                  KeywordsFromEntries(lists.Keywords, words, title, options))
            << "round " << round;
    }
    EXPECT_GT(withDuplicates, 50);
}

TEST(ApplyAutoChoice, CaseVariantsSelectedOnlyWhenTheModeTellsThemApart) {
    const TextRules rules;
    const ChoiceLists lists{
        {CandidateEntry("Fish", 2), CandidateEntry("fish", 2), CandidateEntry("other", 2)},
        {CandidateEntry("shop", 4)}};

    const ChoiceLists sensitive =
        ApplyAutoChoice(lists, {"fish"}, WithCase(KeywordCaseMode::CaseSensitive), rules);
    EXPECT_EQ(LinesOf(sensitive.Keywords), (Lines{"Fish {2 times}", "fish {2 times}"}));
    EXPECT_EQ(LinesOf(sensitive.Candidates), (Lines{"other {2 times}", "shop {4 times}"}));

    for (const KeywordCaseMode mode :
         {KeywordCaseMode::CaseInsensitiveMixed, KeywordCaseMode::CaseInsensitiveLower}) {
        const ChoiceLists chosen = ApplyAutoChoice(lists, {"FISH"}, WithCase(mode), rules);
        EXPECT_EQ(LinesOf(chosen.Keywords), (Lines{"Fish {2 times}"}));
        EXPECT_EQ(LinesOf(chosen.Candidates),
                  (Lines{"fish {2 times}", "other {2 times}", "shop {4 times}"}));
    }

    // A keyword listed twice comes back once.
    const ChoiceLists twice{{}, {KeywordEntry("shop", 4, false, true), CandidateEntry("shop", 4)}};
    EXPECT_EQ(
        LinesOf(ApplyAutoChoice(twice, {"shop"}, WithCase(KeywordCaseMode::CaseSensitive), rules)
                    .Keywords),
        (Lines{"shop {4 times, duplicate keyword}"}));

    // A text that looks like a line's marks is chosen by its text.
    const ChoiceLists braces{{CandidateEntry("a {1 times}", 3)}, {}};
    EXPECT_EQ(
        ApplyAutoChoice(braces, {"a {1 times}"}, WithCase(KeywordCaseMode::CaseSensitive), rules)
            .Keywords.size(),
        1u);
}

TEST(RemoveSpammedEntries, DeletesLowestRankedHolderUntilNothingIsSpammed) {
    KeywordList ranked{"web design", "web hosting", "Web shop", "cheap WEB space", "design"};
    RemoveSpammedEntries(ranked, 3);
    EXPECT_EQ(ranked, (KeywordList{"web design", "web hosting", "Web shop", "design"}));

    KeywordList blanks{"   ", "a", "\t"};
    RemoveSpammedEntries(blanks, 1);
    EXPECT_EQ(blanks, (KeywordList{"   ", "a", "\t"}));
}

TEST(RemoveSpammedEntries, SameDeletionsAsRecomputingEveryTime) {
    const std::vector<std::string> vocabulary{"web",   "Web",    "WEB",    "shop", "hosting",
                                              "cheap", "Design", "design", "a",    "host-ing"};
    const std::vector<std::string> gaps{" ", "  ", "\t", " \r\n"};
    std::mt19937 random(20240611);
    int roundsWithDeletions = 0;
    for (int round = 0; round < 250; ++round) {
        KeywordList ranked(random() % 40);
        for (std::string& entry : ranked) {
            const int words = 1 + static_cast<int>(random() % 4);
            if (random() % 8 == 0) {
                entry += ' ';
            }
            for (int w = 0; w < words; ++w) {
                if (w > 0) {
                    entry += gaps[random() % gaps.size()];
                }
                entry += vocabulary[random() % vocabulary.size()];
            }
        }
        const auto limit = static_cast<std::int32_t>(random() % 6) - 1;
        KeywordList fast = ranked;
        RemoveSpammedEntries(fast, limit);
        ASSERT_EQ(fast, NaiveSpamPass(ranked, limit)) << "round " << round << " limit " << limit;
        roundsWithDeletions += fast.size() < ranked.size() ? 1 : 0;
    }
    EXPECT_GT(roundsWithDeletions, 100);
}

TEST(AutoKeywords, CutsToMaximumAndLeavesBadKeywordsAsCandidates) {
    std::vector<std::pair<std::string, int>> forms;
    KeywordList candidates;
    for (int i = 0; i < 35; ++i) {
        const std::string word = "word" + std::to_string(100 + i);
        forms.emplace_back(word, 2 + i % 8);
        candidates.push_back(word);
    }
    forms.emplace_back("rare", 1);
    const WordList words = MakeWords(forms);
    KelVelmoraOptions options = WithCase(KeywordCaseMode::CaseInsensitiveMixed);
    options.MaximumRecommendedTags = 20;

    EXPECT_EQ(RankAutoKeywords(candidates, words, "", options, nullptr).size(), 20u);

    const KeywordList keywords{"rare", "word100"};
    const PrimedKeywordChoice primed = PrimeKeywordChoice(keywords, 200, words, "", options);
    EXPECT_EQ(primed.GoodCandidates.size(), 35u);
    const KeywordList ranked = RankAutoKeywords(primed.GoodCandidates, words, "", options, nullptr);
    const ChoiceLists lists =
        ApplyAutoChoice({primed.Candidates, primed.Keywords}, ranked, options, words.Rules());
    EXPECT_EQ(lists.Keywords.size(), 20u);
    EXPECT_NE(std::find(lists.Candidates.begin(), lists.Candidates.end(),
                        KeywordEntry("rare", 1, true, false)),
              lists.Candidates.end());

    const KeywordList chosen = AutoKeywords(keywords, 200, words, "", options);
    EXPECT_EQ(chosen, KeywordsFromEntries(lists.Keywords, words, "", options));
    EXPECT_EQ(chosen.size(), 20u);
    EXPECT_EQ(std::count(chosen.begin(), chosen.end(), "rare"), 0);
    // Best first: the four words that occur 9 times lead.
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(CountOccurrences(chosen[i], words, KeywordCaseMode::CaseInsensitiveMixed), 9)
            << chosen[i];
    }
}

TEST(OrderKeywordsAsDialog, EqualScoresKeepTheListBoxOrder) {
    const WordList words = MakeWords({{"bbb", 2}, {"aaa", 2}, {"ccc", 5}, {"a {b", 1}});
    const KelVelmoraOptions options;
    EXPECT_EQ(OrderKeywordsAsDialog({"bbb", "aaa", "ccc", "a {b"}, 100, words, "", options),
              (KeywordList{"ccc", "aaa", "bbb", "a {b"}));
    EXPECT_EQ(OrderKeywordsAsDialog({"a {b", "aaa", "bbb", "ccc"}, 100, words, "", options),
              (KeywordList{"ccc", "aaa", "bbb", "a {b"}));
}

}  // namespace
}  // namespace velmora
