#include "analysis/candidate_keywords.h"

#include <algorithm>
#include <array>
#include <utility>

#include "analysis/candidate_keywords_detail.h"

namespace velmora {
namespace {

// The first 19 separators also break phrases; blank, '&', '%' and backslash only end a word.
constexpr std::string_view kPhraseBreakers = ",.=:()<>?\"';[]{}\n\r\t";
constexpr std::string_view kWordOnlySeparators = " &%\\";
constexpr std::string_view kTrimCharacters = "/\\- <>";

constexpr std::size_t kMaximumRecordedLength = 64;
constexpr std::size_t kMaximumPartedLength = 254;
constexpr std::size_t kMaximumPhraseWords = 4;
// A small page has about one distinct word, part or phrase for every four bytes of its text; the
// table of a large page grows as it needs to.
constexpr std::size_t kBytesPerForm = 4;
constexpr std::size_t kMostReservedForms = std::size_t{1} << 14;

constexpr std::array<bool, 256> MakeTable(std::string_view a, std::string_view b = {}) {
    std::array<bool, 256> table{};
    for (const char c : a) {
        table[static_cast<unsigned char>(c)] = true;
    }
    for (const char c : b) {
        table[static_cast<unsigned char>(c)] = true;
    }
    return table;
}

constexpr std::array<bool, 256> kIsSeparator = MakeTable(kPhraseBreakers, kWordOnlySeparators);
constexpr std::array<bool, 256> kIsPhraseBreaker = MakeTable(kPhraseBreakers);
constexpr std::array<bool, 256> kIsTrimCharacter = MakeTable(kTrimCharacters);

bool In(const std::array<bool, 256>& table, char c) {
    return table[static_cast<unsigned char>(c)];
}

std::string_view Trimmed(std::string_view token) {
    while (!token.empty() && In(kIsTrimCharacter, token.front())) {
        token.remove_prefix(1);
    }
    while (!token.empty() && In(kIsTrimCharacter, token.back())) {
        token.remove_suffix(1);
    }
    return token;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The last few recorded words of the running phrase, oldest first, in reused buffers.
class RecentWords {
public:
    void Clear() { count_ = 0; }

    void Push(std::string_view word) {
        if (count_ == kMaximumPhraseWords) {
            first_ = (first_ + 1) % kMaximumPhraseWords;
            --count_;
        }
        words_[(first_ + count_) % kMaximumPhraseWords].assign(word);
        ++count_;
    }

    // Every phrase that ends with the newest word, shortest first.
    void RecordPhrases(OccurrenceCounter& occurrences, std::string& phrase) const {
        for (std::size_t length = 2; length <= count_; ++length) {
            phrase.clear();
            for (std::size_t k = count_ - length; k < count_; ++k) {
                if (k > count_ - length) {
                    phrase.push_back(' ');
                }
                phrase.append(At(k));
            }
            occurrences.Add(phrase);
        }
    }

private:
    const std::string& At(std::size_t k) const {
        return words_[(first_ + k) % kMaximumPhraseWords];
    }

    std::array<std::string, kMaximumPhraseWords> words_;
    std::size_t first_ = 0;
    std::size_t count_ = 0;
};

class Scanner {
public:
    Scanner(bool lowerCase, const StopWordList* stopWords, const TextRules& rules)
        : lowerCase_(lowerCase), stopWords_(stopWords), rules_(rules) {}

    void Scan(std::string_view text) {
        std::size_t tokenStart = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (!In(kIsSeparator, c)) {
                continue;
            }
            EndToken(text.substr(tokenStart, i - tokenStart));
            if (In(kIsPhraseBreaker, c)) {
                recent_.Clear();
            }
            if (c == '<' || c == '&') {
                // A tag runs to its '>' and an entity to its ';', whatever lies between.
                i = text.find(c == '<' ? '>' : ';', i + 1);
                if (i == std::string_view::npos) {
                    return;
                }
            }
            tokenStart = i + 1;
        }
    }

    void Reserve(std::size_t forms) { occurrences_.Reserve(forms); }
    std::int32_t WordCount() const { return wordCount_; }
    OccurrenceCounter TakeOccurrences() { return std::move(occurrences_); }

private:
    void EndToken(std::string_view token) {
        token = Trimmed(token);
        if (rules_.CharacterCount(token) <= 1) {
            return;
        }
        ++wordCount_;
        // The stop words are ASCII and their test ignores the case of A to Z; Windows-1252
        // lower-casing changes nothing else that could matter to it (it never turns a byte of
        // 128 or more into ASCII), so such a page's words are tested as they are. A UTF-8 capital
        // can lower to ASCII, so those are lower-cased first.
        const bool lowered = lowerCase_ || rules_.encoding() != Encoding::Windows1252;
        if (lowered) {
            lower_.clear();
            rules_.AppendLocaleLower(lower_, token);
        }
        if (stopWords_ != nullptr &&
            stopWords_->Contains(lowered ? std::string_view(lower_) : token)) {
            recent_.Clear();
            return;
        }
        const std::string_view word = lowerCase_ ? std::string_view(lower_) : token;
        int budget = detail::kWordPartBudget;
        detail::AddWordAndParts(word, rules_, occurrences_, budget);
        recent_.Push(word);
        recent_.RecordPhrases(occurrences_, phrase_);
    }

    bool lowerCase_;
    const StopWordList* stopWords_;
    const TextRules& rules_;
    OccurrenceCounter occurrences_;
    RecentWords recent_;
    std::int32_t wordCount_ = 0;
    std::string lower_;
    std::string phrase_;
};

}  // namespace

TCandidateKeywords::TCandidateKeywords(std::string_view text, bool lowerCase,
                                       const StopWordList* stopWords, TextRules rules) {
    Scanner scanner(lowerCase, stopWords, rules);
    scanner.Reserve(std::min(text.size() / kBytesPerForm, kMostReservedForms));
    scanner.Scan(text);
    WordCount = scanner.WordCount();
    Words = WordList::FromCounter(scanner.TakeOccurrences(), rules);
}

void detail::AddWordAndParts(std::string_view word, const TextRules& rules,
                             OccurrenceCounter& occurrences, int& budget) {
    if (budget <= 0) {
        return;
    }
    --budget;
    const std::size_t length = rules.CharacterCount(word);
    if (length > kMaximumPartedLength) {
        return;
    }
    if (length <= kMaximumRecordedLength) {
        occurrences.Add(word);
    }
    if (const std::size_t slash = word.find('/'); slash != std::string_view::npos) {
        const std::string_view before = word.substr(0, slash);
        if (!before.empty()) {
            AddWordAndParts(before, rules, occurrences, budget);
        }
        std::string_view after = word.substr(slash + 1);
        while (!after.empty() && after.front() == '/') {
            after.remove_prefix(1);
        }
        if (!after.empty()) {
            AddWordAndParts(after, rules, occurrences, budget);
        }
    }
    std::size_t digits = 0;
    while (digits < word.size() && IsDigit(word[digits])) {
        ++digits;
    }
    if (digits > 0 && digits < word.size()) {
        AddWordAndParts(word.substr(0, digits), rules, occurrences, budget);
        AddWordAndParts(word.substr(digits), rules, occurrences, budget);
    }
}

bool detail::IsWordInList(std::string_view word, const KeywordList& list,
                          KeywordCaseMode keywordCase, const TextRules& rules) {
    if (CaseModeOf(keywordCase) == KeywordCaseMode::CaseSensitive) {
        return std::find(list.begin(), list.end(), word) != list.end();
    }
    return std::any_of(list.begin(), list.end(), [&](const std::string& entry) {
        return rules.EqualIgnoringCase(entry, word);
    });
}

}  // namespace velmora
