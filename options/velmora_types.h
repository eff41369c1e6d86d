#pragma once

// The settings that steer the keyword analysis and the white-space compression.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// Case mode of every keyword comparison; the numbers are the ones the settings store keeps. A
// stored value outside 1 to 3 is kept in the record, and written back, but every test treats it
// as CaseSensitive (see CaseModeOf).
enum class KeywordCaseMode : std::uint8_t {
    CaseSensitive = 1,
    CaseInsensitiveMixed = 2,
    CaseInsensitiveLower = 3,
};

// The mode a stored value acts as: values outside 1 to 3 act as CaseSensitive.
KeywordCaseMode CaseModeOf(KeywordCaseMode keywordCase);

// The 130 stop words, sorted; looked up ignoring letter case by halving.
class StopWordList {
public:
    StopWordList();
    bool Contains(std::string_view word) const;
    const std::vector<std::string>& Words() const { return words_; }
    std::size_t size() const { return words_.size(); }

private:
    std::vector<std::string> words_;
    // Each word packed into one number, in an open-addressed table: the review asks about every
    // word of the page, and one or two probes answer.
    std::array<std::uint64_t, 256> slots_{};
};

class KelVelmoraOptions {
public:
    std::int32_t KeywordCountBeforeSpamming = 3;
    std::int32_t MinimumKeywordCount = 2;
    std::int32_t MaximumKeywordCount = 10;
    std::int32_t KeywordOneInEvery = 10;
    std::int32_t MinimumRecommendedTags = 2;
    std::int32_t MaximumRecommendedTags = 20;
    KeywordCaseMode KeywordCase = KeywordCaseMode::CaseInsensitiveMixed;
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
