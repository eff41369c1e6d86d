#include "analysis/candidate_keywords.h"

#include <gtest/gtest.h>

#include <map>

#include "analysis/candidate_keywords_detail.h"

namespace velmora {
namespace {

using detail::AddWordAndParts;
using detail::IsWordInList;
using detail::kWordPartBudget;

using Entries = std::map<std::string, std::int32_t>;

Entries EntriesOf(const WordList& words) {
    Entries entries;
    for (const WordForm& form : words.Forms()) {
        entries[std::string(form.text)] += form.count;
    }
    return entries;
}

TCandidateKeywords Scan(std::string_view text, bool lowerCase = false,
                        const StopWordList* stopWords = nullptr) {
    return TCandidateKeywords(text, lowerCase, stopWords, TextRules::ForPage(text));
}

Entries EntriesOf(std::string_view text, bool lowerCase = false,
                  const StopWordList* stopWords = nullptr) {
    return EntriesOf(Scan(text, lowerCase, stopWords).Words);
}

TEST(CandidateKeywords, RecordsWordsAndPhrasesOfUpToFourWords) {
    const TCandidateKeywords four = Scan("cheap red web hosting.");
    EXPECT_EQ(four.WordCount, 4);
    EXPECT_EQ(EntriesOf(four.Words), (Entries{{"cheap", 1},
                                              {"red", 1},
                                              {"web", 1},
                                              {"hosting", 1},
                                              {"cheap red", 1},
                                              {"red web", 1},
                                              {"cheap red web", 1},
                                              {"web hosting", 1},
                                              {"red web hosting", 1},
                                              {"cheap red web hosting", 1}}));

    Entries five = EntriesOf("cheap red web hosting plans.");
    EXPECT_EQ(five.size(), 14u);
    EXPECT_EQ(five["hosting plans"], 1);
    EXPECT_EQ(five["web hosting plans"], 1);
    EXPECT_EQ(five["red web hosting plans"], 1);
    EXPECT_EQ(five.count("cheap red web hosting plans"), 0u);
}

TEST(CandidateKeywords, OpenTokenAtTheEndAndEmptyTextRecordNothing) {
    const TCandidateKeywords empty = Scan("");
    EXPECT_EQ(empty.WordCount, 0);
    EXPECT_TRUE(empty.Words.empty());

    const TCandidateKeywords open = Scan("web hosting");
    EXPECT_EQ(open.WordCount, 1);
    EXPECT_EQ(EntriesOf(open.Words), (Entries{{"web", 1}}));
}

TEST(CandidateKeywords, StopWordsAreCountedNotRecordedAndBreakPhrases) {
    const StopWordList stopWords;
    const TCandidateKeywords theWeb = Scan("The web ", false, &stopWords);
    EXPECT_EQ(theWeb.WordCount, 2);
    EXPECT_EQ(EntriesOf(theWeb.Words), (Entries{{"web", 1}}));

    EXPECT_EQ(EntriesOf("web for hosting ", false, &stopWords),
              (Entries{{"web", 1}, {"hosting", 1}}));
    EXPECT_EQ(EntriesOf("the web ", false, nullptr),
              (Entries{{"the", 1}, {"web", 1}, {"the web", 1}}));
    // Slash parts are recorded even when they are stop words.
    EXPECT_EQ(EntriesOf("and/or ", false, &stopWords),
              (Entries{{"and/or", 1}, {"and", 1}, {"or", 1}}));
}

TEST(CandidateKeywords, StopWordsIgnoreLetterCaseInBothEncodings) {
    const StopWordList stopWords;
    // Windows-1252: capitals are stop words; an accented letter makes another word.
    EXPECT_EQ(EntriesOf("THE web Th\xC9 ", false, &stopWords),
              (Entries{{"web", 1}, {"Th\xC9", 1}, {"web Th\xC9", 1}}));
    EXPECT_EQ(EntriesOf("THE web Th\xC9 ", true, &stopWords),
              (Entries{{"web", 1}, {"th\xE9", 1}, {"web th\xE9", 1}}));
    // UTF-8: a capital I with a dot lower-cases to a plain i, so the word is "if".
    EXPECT_EQ(EntriesOf("\xC4\xB0"
                        "F web caf\xC3\xA9 ",
                        false, &stopWords),
              (Entries{{"web", 1}, {"caf\xC3\xA9", 1}, {"web caf\xC3\xA9", 1}}));
}

TEST(CandidateKeywords, TagsAndPunctuationBreakPhrasesEntitiesAndBlanksDoNot) {
    EXPECT_EQ(EntriesOf("<b>cheap</b> hosting "), (Entries{{"cheap", 1}, {"hosting", 1}}));
    EXPECT_EQ(EntriesOf("<a href=\"web hosting\" title='x y'>site</a> "), (Entries{{"site", 1}}));
    EXPECT_EQ(EntriesOf("rock &amp; roll "), (Entries{{"rock", 1}, {"roll", 1}, {"rock roll", 1}}));
    EXPECT_EQ(EntriesOf("web,hosting "), (Entries{{"web", 1}, {"hosting", 1}}));
    EXPECT_EQ(EntriesOf("web  %\\hosting "),
              (Entries{{"web", 1}, {"hosting", 1}, {"web hosting", 1}}));
    // One-character words are not counted and do not break phrases.
    const TCandidateKeywords single = Scan("web a hosting ");
    EXPECT_EQ(single.WordCount, 2);
    EXPECT_EQ(EntriesOf(single.Words), (Entries{{"web", 1}, {"hosting", 1}, {"web hosting", 1}}));
}

TEST(CandidateKeywords, UnclosedTagOrEntitySkipsAhead) {
    EXPECT_EQ(EntriesOf("web <b hosting design. "), (Entries{{"web", 1}}));
    EXPECT_EQ(EntriesOf("web &x <p>hosting; design "),
              (Entries{{"web", 1}, {"design", 1}, {"web design", 1}}));
}

TEST(CandidateKeywords, LineBreaksAndTabsBreakPhrases) {
    EXPECT_EQ(EntriesOf("web\r\nhosting "), (Entries{{"web", 1}, {"hosting", 1}}));
    EXPECT_EQ(EntriesOf("web\nhosting "), (Entries{{"web", 1}, {"hosting", 1}}));
    EXPECT_EQ(EntriesOf("web\thosting "), (Entries{{"web", 1}, {"hosting", 1}}));
}

TEST(CandidateKeywords, TrimsHyphensAndSlashesAtTheEnds) {
    EXPECT_EQ(EntriesOf("e-mail "), (Entries{{"e-mail", 1}}));
    EXPECT_EQ(EntriesOf("-web- "), (Entries{{"web", 1}}));
    EXPECT_EQ(EntriesOf("/web/ "), (Entries{{"web", 1}}));
    const TCandidateKeywords dashes = Scan("-- web ");
    EXPECT_EQ(dashes.WordCount, 1);
}

TEST(CandidateKeywords, SlashAndDigitParts) {
    EXPECT_EQ(EntriesOf("3d "), (Entries{{"3d", 1}, {"3", 1}, {"d", 1}}));
    EXPECT_EQ(EntriesOf("12/34 "), (Entries{{"12/34", 1}, {"12", 2}, {"34", 2}, {"/34", 1}}));
    EXPECT_EQ(EntriesOf("2024 "), (Entries{{"2024", 1}}));
    EXPECT_EQ(EntriesOf("a//b "), (Entries{{"a//b", 1}, {"a", 1}, {"b", 1}}));
}

TEST(CandidateKeywords, LongWordsAreCountedAndJoinPhrasesButAreNotRecorded) {
    const std::string word65(65, 'x');
    const TCandidateKeywords long65 = Scan(word65 + " web ");
    EXPECT_EQ(long65.WordCount, 2);
    EXPECT_EQ(EntriesOf(long65.Words), (Entries{{"web", 1}, {word65 + " web", 1}}));

    const std::string word64(64, 'x');
    EXPECT_EQ(EntriesOf(word64 + " "), (Entries{{word64, 1}}));

    const std::string parted = std::string(250, 'y') + "/ab";
    EXPECT_EQ(EntriesOf(parted + " "), (Entries{{"ab", 1}}));

    const std::string tooLong = std::string(253, 'y') + "/ab";
    const TCandidateKeywords huge = Scan(tooLong + " web ");
    EXPECT_EQ(huge.WordCount, 2);
    EXPECT_EQ(EntriesOf(huge.Words), (Entries{{"web", 1}, {tooLong + " web", 1}}));
}

TEST(CandidateKeywords, LowerCaseModeMergesWrittenForms) {
    const Entries lowered = EntriesOf("Web Design. web design. ", true);
    EXPECT_EQ(lowered, (Entries{{"web", 2}, {"design", 2}, {"web design", 2}}));

    const TCandidateKeywords mixed = Scan("web Web. ");
    ASSERT_EQ(mixed.Words.Forms().size(), 3u);
    EXPECT_EQ(mixed.Words.Forms()[0].text, "Web");
    EXPECT_EQ(mixed.Words.Forms()[1].text, "web");
    EXPECT_EQ(mixed.Words.Forms()[2].text, "web Web");

    // Windows-1252 capitals are lowered too.
    EXPECT_EQ(EntriesOf("CAF\xC9 ", true), (Entries{{"caf\xE9", 1}}));
}

TEST(CandidateKeywords, Utf8PagesCountCharacters) {
    // A single accented character is one character: not a word, and no phrase break.
    const TCandidateKeywords accents = Scan("caf\xC3\xA9 \xC3\xA9 cr\xC3\xA8me. ");
    EXPECT_EQ(accents.WordCount, 2);
    EXPECT_EQ(EntriesOf(accents.Words),
              (Entries{{"caf\xC3\xA9", 1}, {"cr\xC3\xA8me", 1}, {"caf\xC3\xA9 cr\xC3\xA8me", 1}}));

    std::string word64;
    for (int i = 0; i < 64; ++i) {
        word64 += "\xC3\xA9";
    }
    EXPECT_EQ(EntriesOf(word64 + " "), (Entries{{word64, 1}}));
    EXPECT_EQ(EntriesOf(word64 + "\xC3\xA9 "), Entries{});

    // Lower-casing a UTF-8 page keeps every sequence whole.
    EXPECT_EQ(
        EntriesOf("CAF\xC3\x89 \xC3\x89T\xC3\x89. ", true),
        (Entries{
            {"caf\xC3\xA9", 1}, {"\xC3\xA9t\xC3\xA9", 1}, {"caf\xC3\xA9 \xC3\xA9t\xC3\xA9", 1}}));
}

TEST(CandidateKeywords, SlashAndDigitPartsAreBudgeted) {
    std::string word = "1";
    for (int i = 0; i < 59; ++i) {
        word += "/1";
    }
    ASSERT_EQ(word.size(), 119u);
    const TCandidateKeywords scanned = Scan(word + " ");
    EXPECT_EQ(scanned.WordCount, 1);
    // 256 calls, less the 28 on the tails of 65 characters or more (65, 67, ..., 119 bytes),
    // which are all met before the budget runs out.
    EXPECT_EQ(scanned.Words.OccurrenceCount(), 228u);
    for (const WordForm& form : scanned.Words.Forms()) {
        EXPECT_LE(form.text.size(), 64u);
        EXPECT_EQ(form.text.find("//"), std::string::npos);
    }

    OccurrenceCounter occurrences;
    int budget = 3;
    AddWordAndParts("12/34", TextRules(), occurrences, budget);
    EXPECT_EQ(budget, 0);
    EXPECT_EQ(EntriesOf(WordList::FromCounter(occurrences, TextRules())),
              (Entries{{"12/34", 1}, {"12", 1}, {"34", 1}}));
}

TEST(CandidateKeywords, IsWordInListFollowsTheCaseMode) {
    const TextRules rules;
    const KeywordList list = {"Web hosting", "CAF\xC9"};
    EXPECT_TRUE(IsWordInList("Web hosting", list, KeywordCaseMode::CaseSensitive, rules));
    EXPECT_FALSE(IsWordInList("web hosting", list, KeywordCaseMode::CaseSensitive, rules));
    EXPECT_TRUE(IsWordInList("web hosting", list, KeywordCaseMode::CaseInsensitiveMixed, rules));
    EXPECT_TRUE(IsWordInList("caf\xE9", list, KeywordCaseMode::CaseInsensitiveLower, rules));
    EXPECT_FALSE(IsWordInList("web", list, KeywordCaseMode::CaseInsensitiveMixed, rules));
    EXPECT_FALSE(IsWordInList("web hosting", list, KeywordCaseMode{9}, rules));
    EXPECT_FALSE(IsWordInList("web", {}, KeywordCaseMode::CaseInsensitiveMixed, rules));
}

}  // namespace
}  // namespace velmora
