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

bool IsAsciiByte(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

// Whether token holds two characters or more; two leading ASCII bytes settle it without a count.
bool HasTwoCharacters(std::string_view token, const TextRules& rules) {
    if (token.size() < 2) {
        return false;
    }
    return (IsAsciiByte(token[0]) && IsAsciiByte(token[1])) || rules.CharacterCount(token) >= 2;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The place of the first separator at or after `from`, or text.size(). A loop of its own, so that
// the bounds stay in registers rather than being read again for every byte of a word.
std::size_t NextSeparator(std::string_view text, std::size_t from) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* at = begin + from;
    while (at != end && !In(kIsSeparator, *at)) {
        ++at;
    }
    return static_cast<std::size_t>(at - begin);
}

// The last few recorded words of the running phrase, oldest first, joined by blanks in one
// reused buffer: every phrase that ends with the newest word is then a suffix of the buffer and
// is counted without being built.
class RecentWords {
public:
    void Clear() {
        count_ = 0;
        joined_.clear();
    }

    void Push(std::string_view word) {
        if (count_ == kMaximumPhraseWords) {
            const std::size_t dropped = starts_[1];
            joined_.erase(0, dropped);
            for (std::size_t k = 0; k + 1 < kMaximumPhraseWords; ++k) {
                starts_[k] = starts_[k + 1] - dropped;
            }
            --count_;
        }
        if (count_ > 0) {
            joined_.push_back(' ');
        }
        starts_[count_++] = joined_.size();
        joined_.append(word);
    }

    // Every phrase that ends with the newest word, shortest first.
    void RecordPhrases(OccurrenceCounter& occurrences) const {
        for (std::size_t length = 2; length <= count_; ++length) {
            occurrences.Add(std::string_view(joined_).substr(starts_[count_ - length]));
        }
    }

private:
    std::string joined_;
    std::array<std::size_t, kMaximumPhraseWords> starts_{};
    std::size_t count_ = 0;
};

class Scanner {
public:
    Scanner(bool lowerCase, const StopWordList* stopWords, const TextRules& rules)
        : lowerCase_(lowerCase), stopWords_(stopWords), rules_(rules) {}

    void Scan(std::string_view text) {
        std::size_t tokenStart = 0;
        for (std::size_t i = NextSeparator(text, 0); i < text.size();
             i = NextSeparator(text, i + 1)) {
            const char c = text[i];
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
        if (!HasTwoCharacters(token, rules_)) {
            return;
        }
        ++wordCount_;
        // The stop words are ASCII and their test ignores the case of A to Z; Windows-1252
        // lower-casing changes nothing else that could matter to it (it never turns a byte of
        // 128 or more into ASCII), so such a page's words, and any ASCII word, are tested as
        // they are. A UTF-8 capital can lower to ASCII, so those words are lower-cased first.
        const bool lowered =
            lowerCase_ || (rules_.encoding() != Encoding::Windows1252 && !IsAscii(token));
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
        recent_.RecordPhrases(occurrences_);
    }

    bool lowerCase_;
    const StopWordList* stopWords_;
    const TextRules& rules_;
    OccurrenceCounter occurrences_;
    RecentWords recent_;
    std::int32_t wordCount_ = 0;
    std::string lower_;
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
    // A word of no more bytes than the recording limit has no more characters either.
    const std::size_t length =
        word.size() <= kMaximumRecordedLength ? word.size() : rules.CharacterCount(word);
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
