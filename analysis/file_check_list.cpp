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

std::string_view FindingKindName(FindingKind kind) {
    switch (kind) {
        case FindingKind::NoTitle:
            return "no-title";
        case FindingKind::NoDescription:
            return "no-description";
        case FindingKind::NoKeywords:
            return "no-keywords";
        case FindingKind::LineBreakInDescription:
            return "line-break-in-description";
        case FindingKind::BadKeywords:
            return "bad-keywords";
        case FindingKind::TooFewKeywords:
            return "too-few-keywords";
        case FindingKind::TooManyKeywords:
            return "too-many-keywords";
        case FindingKind::DuplicateKeywords:
            return "duplicate-keywords";
        case FindingKind::KeywordSpamming:
            return "keyword-spamming";
        case FindingKind::KeywordOrder:
            return "keyword-order";
        case FindingKind::UnnecessarySpace:
            break;
    }
    return "unnecessary-space";
}

void TFileCheckList::Reset() {
    Rating = 0.0f;
    Findings.clear();
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
    TitleAt.reset();
    DescriptionAt.reset();
    KeywordsAt.reset();
}

void TFileCheckList::Evaluate() {
    Rating = 0.0f;
    Findings.clear();
    const auto finding = [this](FindingKind kind, std::string advice, std::string title,
                                const std::optional<TextPosition>& position) {
        Findings.push_back({kind, std::move(advice), std::move(title), position});
    };
    const std::int64_t keywords = KeywordCount;

    if (HasTitle) {
        Add(Rating, 30);
    } else {
        finding(FindingKind::NoTitle, "Add a title", "No title", TitleAt);
    }
    if (HasDescription) {
        Add(Rating, 30);
    } else {
        finding(FindingKind::NoDescription, "Add a description", "No description", DescriptionAt);
    }
    if (keywords <= 0) {
        finding(FindingKind::NoKeywords, "Add some keywords or phrases.", "No keywords",
                KeywordsAt);
    } else {
        Add(Rating, 40);
    }
    if (LineBreakInDescription) {
        finding(FindingKind::LineBreakInDescription, "Remove carriage return from description",
                "Line feed in description", DescriptionAt);
        Scale(Rating, kLineBreakFactor, 1);
    }
    if (BadKeywordCount > 0) {
        finding(FindingKind::BadKeywords, "Remove bad keywords",
                "Bad keyword" + PluralSuffix(BadKeywordCount, "s"), KeywordsAt);
        Scale(Rating, kBadKeywordFactor, std::int64_t{BadKeywordCount} + 1);
    }
    if (keywords > 0 && GoodKeywordCount < MinimumRecommendedTags) {
        finding(FindingKind::TooFewKeywords, "Not enough good keywords", "Too few keywords",
                KeywordsAt);
        if (MinimumRecommendedTags >= keywords) {
            Scale(Rating, kTooFewFactor, MinimumRecommendedTags - keywords + 1);
        }
    }
    if (keywords > MaximumRecommendedTags) {
        finding(FindingKind::TooManyKeywords, "Too many keywords", "Too many keywords", KeywordsAt);
        Scale(Rating, kTooManyFactor, keywords - MaximumRecommendedTags + 1);
    }
    if (keywords > 0 && DuplicateKeywords) {
        finding(FindingKind::DuplicateKeywords, "Remove duplicate keywords.", "Duplicate keywords",
                KeywordsAt);
        Scale(Rating, kDuplicateFactor, 1);
    }
    if (!SpammedWord.empty()) {
        finding(FindingKind::KeywordSpamming,
                "Keyword \"" + SpammedWord + "\" used too often, reduce usage (keyword spamming)",
                "Keyword spamming", KeywordsAt);
        Scale(Rating, kSpammingFactor, 1);
    }
    if (keywords > 0 && !OptimalOrder) {
        finding(FindingKind::KeywordOrder, "Keyword ordering not optimal",
                "Sub-optimal keyword ordering", KeywordsAt);
        Scale(Rating, kOrderFactor, 1);
    }
    if (SpaceToRemove > 0) {
        finding(FindingKind::UnnecessarySpace,
                "File contains " + std::to_string(SpaceToRemove) + " bytes of unnecessary space.",
                "Unnecessary space", std::nullopt);
        Scale(Rating, kSpaceFactor, 1);
    }
}

std::string TFileCheckList::GetRatingText() const {
    const auto whole = static_cast<long long>(std::floor(static_cast<double>(Rating) + 0.5));
    char text[32];
    std::snprintf(text, sizeof text, "%3lld%%", whole);
    return text;
}

std::vector<std::string> TFileCheckList::AdviceLines() const {
    std::vector<std::string> lines;
    lines.reserve(Findings.size());
    for (const Finding& finding : Findings) {
        lines.push_back(finding.advice);
    }
    return lines;
}

}  // namespace velmora
