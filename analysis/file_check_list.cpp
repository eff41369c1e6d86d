#include "analysis/file_check_list.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

#include "core/kel_string_functions.h"

namespace velmora {
namespace {

// The rating is kept in 32 bits, but every step is computed in extended precision and stored
// back before the next one; the worked ratings (90.25, 85.7375, 69.3) depend on it.
constexpr long double kLineBreakFactor = 0.9L;
constexpr long double kBadKeywordFactor = 0.95L;
constexpr long double kTooFewFactor = 0.96L;
constexpr long double kTooManyFactor = 0.95L;
constexpr long double kDuplicateFactor = 0.9L;
constexpr long double kSpammingFactor = 0.9L;
constexpr long double kOrderFactor = 0.99L;
constexpr long double kSpaceFactor = 0.99L;

void Add(float& rating, int points) {
    rating = static_cast<float>(static_cast<long double>(rating) + points);
}

void Scale(float& rating, long double factor, std::int64_t times) {
    // Once a step leaves the rating unchanged (at 0 or the smallest float), every further step
    // would too, so huge counts end there.
    for (std::int64_t i = 0; i < times; ++i) {
        const float next = static_cast<float>(static_cast<long double>(rating) * factor);
        if (next == rating) {
            return;
        }
        rating = next;
    }
}

}  // namespace

void TFileCheckList::Reset() {
    Rating = 0.0f;
    Advice.clear();
    Titles.clear();
    HasTitle = false;
    HasDescription = false;
    KeywordCount = 0;
    GoodKeywordCount = 0;
    MaximumRecommendedTags = 0;
    MinimumRecommendedTags = 0;
    BadKeywordCount = 0;
    OptimalOrder = false;
    DuplicateKeywords = false;
    SpaceToRemove = 0;
    SpammedWord.clear();
    LineBreakInDescription = false;
}

void TFileCheckList::Evaluate() {
    Rating = 0.0f;
    Advice.clear();
    Titles.clear();
    const auto finding = [this](std::string advice, std::string title) {
        Advice.push_back(std::move(advice));
        Titles.push_back(std::move(title));
    };
    const std::int64_t keywords = KeywordCount;

    if (HasTitle) {
        Add(Rating, 30);
    } else {
        finding("Add a title", "No title");
    }
    if (HasDescription) {
        Add(Rating, 30);
    } else {
        finding("Add a description", "No description");
    }
    if (keywords <= 0) {
        finding("Add some keywords or phrases.", "No keywords");
    } else {
        Add(Rating, 40);
    }
    if (LineBreakInDescription) {
        finding("Remove carriage return from description", "Line feed in description");
        Scale(Rating, kLineBreakFactor, 1);
    }
    if (BadKeywordCount > 0) {
        finding("Remove bad keywords", "Bad keyword" + PluralSuffix(BadKeywordCount, "s"));
        Scale(Rating, kBadKeywordFactor, std::int64_t{BadKeywordCount} + 1);
    }
    if (keywords > 0 && GoodKeywordCount < MinimumRecommendedTags) {
        finding("Not enough good keywords", "Too few keywords");
        if (MinimumRecommendedTags >= keywords) {
            Scale(Rating, kTooFewFactor, MinimumRecommendedTags - keywords + 1);
        }
    }
    if (keywords > MaximumRecommendedTags) {
        finding("Too many keywords", "Too many keywords");
        Scale(Rating, kTooManyFactor, keywords - MaximumRecommendedTags + 1);
    }
    if (keywords > 0 && DuplicateKeywords) {
        finding("Remove duplicate keywords.", "Duplicate keywords");
        Scale(Rating, kDuplicateFactor, 1);
    }
    if (!SpammedWord.empty()) {
        finding("Keyword \"" + SpammedWord + "\" used too often, reduce usage (keyword spamming)",
                "Keyword spamming");
        Scale(Rating, kSpammingFactor, 1);
    }
    if (keywords > 0 && !OptimalOrder) {
        finding("Keyword ordering not optimal", "Sub-optimal keyword ordering");
        Scale(Rating, kOrderFactor, 1);
    }
    if (SpaceToRemove > 0) {
        finding("File contains " + std::to_string(SpaceToRemove) + " bytes of unnecessary space.",
                "Unnecessary space");
        Scale(Rating, kSpaceFactor, 1);
    }
}

std::string TFileCheckList::GetRatingText() const {
    const auto whole = static_cast<long long>(std::floor(static_cast<double>(Rating) + 0.5));
    char text[32];
    std::snprintf(text, sizeof text, "%3lld%%", whole);
    return text;
}

}  // namespace velmora
