#pragma once

// The settings that steer the keyword analysis and the white-space compression.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// Case mode of every keyword comparison. A stored value outside 1 to 3 is kept in the record
// but every test treats it as CaseSensitive (see KelVelmoraOptions::CaseMode).
enum class KeywordCaseMode : std::uint8_t {
    CaseSensitive = 1,
    CaseInsensitiveMixed = 2,
    CaseInsensitiveLower = 3,
};

inline constexpr std::uint8_t CaseSensitive = 1;
inline constexpr std::uint8_t CaseInsensitiveMixed = 2;
inline constexpr std::uint8_t CaseInsensitiveLower = 3;

// The mode a stored KeywordCase value stands for: values outside 1 to 3 act as CaseSensitive.
KeywordCaseMode CaseModeOf(std::uint8_t keywordCase);

// The 130 stop words, sorted; looked up ignoring letter case by halving.
class StopWordList {
public:
    StopWordList();
    bool Contains(std::string_view word) const;
    const std::vector<std::string>& Words() const { return words_; }
    std::size_t size() const { return words_.size(); }

private:
    std::vector<std::string> words_;
    std::vector<std::uint64_t> keys_;  // each word packed into one number, for a fast lookup
};

class KelVelmoraOptions {
public:
    std::int32_t KeywordCountBeforeSpamming = 3;
    std::int32_t MinimumKeywordCount = 2;
    std::int32_t MaximumKeywordCount = 10;
    std::int32_t KeywordOneInEvery = 10;
    std::int32_t MinimumRecommendedTags = 2;
    std::int32_t MaximumRecommendedTags = 20;
    std::uint8_t KeywordCase = CaseInsensitiveMixed;
    StopWordList StopWords;
    bool CompressionEnabled = true;
    bool WarnBeforeCompressing = true;

    KelVelmoraOptions() = default;
    virtual ~KelVelmoraOptions() = default;
    KelVelmoraOptions(const KelVelmoraOptions&) = default;
    KelVelmoraOptions& operator=(const KelVelmoraOptions&) = default;

    // Copies the nine settings; each record keeps its own stop words.
    void Assign(const KelVelmoraOptions& source);

    // The mode the analysis applies: values outside 1 to 3 act as CaseSensitive.
    KeywordCaseMode CaseMode() const;
};

}  // namespace velmora
