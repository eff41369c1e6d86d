#include "options/velmora_types.h"

#include <algorithm>
#include <bit>

#include "core/byte_loads.h"
#include "core/kel_string_functions.h"
#include "core/text_rules.h"

namespace velmora {
namespace {

constexpr std::string_view kStopWords =
    "after all also am an and any are aren as at be because been before between big both but by "
    "can come did do does each etc far few fix for from get go got had has have he her hers hid "
    "him his how however ie if in into is it its just led less let many may me more most much "
    "must my near new next no none nor not now of off oh old on only onto or other out over per "
    "put same say since so some such than that the their them then there these they this those "
    "til to too try under unto up upon us very vs was way we were what when where whether which "
    "who why will with within without yet";

constexpr std::size_t LongestWord(std::string_view text) {
    std::size_t longest = 0;
    std::size_t current = 0;
    for (const char c : text) {
        current = c == ' ' ? 0 : current + 1;
        longest = std::max(longest, current);
    }
    return longest;
}

constexpr std::size_t kLongestStopWord = LongestWord(kStopWords);
static_assert(kLongestStopWord < 8);

std::uint64_t Byte(std::string_view word, std::size_t at) {
    return std::uint64_t{static_cast<unsigned char>(word[at])} << (8 * at);
}

// The one to seven bytes of word as a little-endian number, read without a loop: pieces that
// overlap hold the same bytes, so or-ing them is exact.
std::uint64_t LittleEndianBytes(std::string_view word) {
    const std::size_t n = word.size();
    if (n < 4) {
        return Byte(word, 0) | Byte(word, n / 2) | Byte(word, n - 1);
    }
    auto low = LoadBytes<std::uint32_t>(word.data());
    auto high = LoadBytes<std::uint32_t>(word.data() + n - 4);
    if constexpr (std::endian::native == std::endian::big) {
        low = __builtin_bswap32(low);
        high = __builtin_bswap32(high);
    }
    return std::uint64_t{low} | (std::uint64_t{high} << (8 * (n - 4)));
}

// A word of one to seven bytes, lowered from A to Z, packed big-endian with its length into one
// number: two such words are equal ignoring ASCII case exactly when their keys are equal. The
// eight bytes are lowered at once: a byte is a capital when its low seven bits lie in A to Z and
// its top bit is clear.
std::uint64_t KeyOf(std::string_view word) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    const std::uint64_t bytes = LittleEndianBytes(word);
    const std::uint64_t low = bytes & (0x7F * kOnes);
    const std::uint64_t fromA = low + (0x80 - 'A') * kOnes;
    const std::uint64_t pastZ = low + (0x80 - 'Z' - 1) * kOnes;
    const std::uint64_t capitals = fromA & ~pastZ & ~bytes & (0x80 * kOnes);
    const std::uint64_t lowered = bytes | (capitals >> 2);
    const std::uint64_t packed = __builtin_bswap64(lowered) >> (8 * (8 - word.size()));
    return (packed << 8) | word.size();
}

// A key's place in the table of 256 slots: the top byte of a multiplicative hash. No key is 0,
// which marks a free slot, because every key holds its word's length.
std::size_t SlotOf(std::uint64_t key) {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15u) >> 56);
}

// Orders ignoring the case of A to Z: the stop words are plain ASCII, and callers hand in words
// already lower-cased by the page's rules.
int CompareIgnoringAsciiCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(AsciiLowerByte(a[i]));
        const auto y = static_cast<unsigned char>(AsciiLowerByte(b[i]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

StopWordList::StopWordList() {
    std::string remaining(kStopWords);
    while (!remaining.empty()) {
        std::string word = TextBefore(remaining, " ");
        const auto at = std::lower_bound(words_.begin(), words_.end(), word,
                                         [](const std::string& entry, const std::string& key) {
                                             return CompareIgnoringAsciiCase(entry, key) < 0;
                                         });
        words_.insert(at, std::move(word));
        remaining = TextAfter(remaining, " ");
    }
    for (const std::string& word : words_) {
        const std::uint64_t key = KeyOf(word);
        std::size_t slot = SlotOf(key);
        while (slots_[slot] != 0) {
            slot = (slot + 1) % slots_.size();
        }
        slots_[slot] = key;
    }
}

bool StopWordList::Contains(std::string_view word) const {
    if (word.empty() || word.size() > kLongestStopWord) {
        return false;
    }
    const std::uint64_t key = KeyOf(word);
    for (std::size_t slot = SlotOf(key);; slot = (slot + 1) % slots_.size()) {
        if (slots_[slot] == key) {
            return true;
        }
        if (slots_[slot] == 0) {
            return false;
        }
    }
}

void KelVelmoraOptions::Assign(const KelVelmoraOptions& source) {
    MinimumKeywordCount = source.MinimumKeywordCount;
    MaximumKeywordCount = source.MaximumKeywordCount;
    KeywordOneInEvery = source.KeywordOneInEvery;
    MinimumRecommendedTags = source.MinimumRecommendedTags;
    MaximumRecommendedTags = source.MaximumRecommendedTags;
    KeywordCountBeforeSpamming = source.KeywordCountBeforeSpamming;
    KeywordCase = source.KeywordCase;
    CompressionEnabled = source.CompressionEnabled;
    WarnBeforeCompressing = source.WarnBeforeCompressing;
}

KeywordCaseMode CaseModeOf(KeywordCaseMode keywordCase) {
    switch (keywordCase) {
        case KeywordCaseMode::CaseInsensitiveMixed:
        case KeywordCaseMode::CaseInsensitiveLower:
            return keywordCase;
        default:
            return KeywordCaseMode::CaseSensitive;
    }
}

KeywordCaseMode KelVelmoraOptions::CaseMode() const {
    return CaseModeOf(KeywordCase);
}

}  // namespace velmora
