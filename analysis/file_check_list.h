#pragma once

// The findings of one page check: advice lines, their short titles and the rating.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/line_index.h"

namespace velmora {

// What a finding is about, in the order Evaluate tests them.
enum class FindingKind : std::uint8_t {
    NoTitle,
    NoDescription,
    NoKeywords,
    LineBreakInDescription,
    BadKeywords,
    TooFewKeywords,
    TooManyKeywords,
    DuplicateKeywords,
    KeywordSpamming,
    KeywordOrder,
    UnnecessarySpace,
};

// A stable lower-case name for reports: "no-title", "bad-keywords", ...
std::string_view FindingKindName(FindingKind kind);

struct Finding {
    FindingKind kind = FindingKind::NoTitle;
    std::string advice;  // the line that is shown
    std::string title;   // its short title
    // The head element it concerns; none for a finding about the whole page.
    std::optional<TextPosition> position;

    bool operator==(const Finding&) const = default;
};

class TFileCheckList {
public:
    float Rating = 0.0f;
    std::vector<Finding> Findings;
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
    // Where the head reader found the title element and the two meta tags; the findings about
    // them point there.
    std::optional<TextPosition> TitleAt;
    std::optional<TextPosition> DescriptionAt;
    std::optional<TextPosition> KeywordsAt;

    void Reset();
    void Evaluate();
    std::string GetRatingText() const;
    // The advice lines of the findings, in order.
    std::vector<std::string> AdviceLines() const;
};

}  // namespace velmora
