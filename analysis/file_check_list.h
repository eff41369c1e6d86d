#pragma once

// The findings of one page check: advice lines, their short titles and the rating.

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

class TFileCheckList {
public:
    float Rating = 0.0f;
    std::vector<std::string> Advice;
    std::vector<std::string> Titles;
    bool HasTitle = false;
    bool HasDescription = false;
    std::int32_t KeywordCount = 0;
    std::int32_t GoodKeywordCount = 0;
    std::int32_t MaximumRecommendedTags = 0;
    std::int32_t MinimumRecommendedTags = 0;
    std::int32_t BadKeywordCount = 0;
    bool OptimalOrder = false;
    bool DuplicateKeywords = false;
    std::int32_t SpaceToRemove = 0;
    std::string SpammedWord;
    bool LineBreakInDescription = false;

    void Reset();
    void Evaluate();
    std::string GetRatingText() const;
};

}  // namespace velmora
