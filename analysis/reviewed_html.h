#pragma once

// The analysed page: its text and everything the analysis derives from it.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/candidate_keywords.h"
#include "analysis/file_check_list.h"
#include "analysis/review_result.h"
#include "core/text_rules.h"
#include "options/velmora_types.h"

namespace velmora {

// How far a review goes: the findings are always derived; the good candidates and Auto's
// choice walk the whole candidate list, so only a caller that shows them asks for them.
enum class ReviewScope { Findings, WithCandidateChoice };

class TReviewedHtml {
public:
    TReviewedHtml();

    // Makes text the current text and analyses it completely.
    void Review(std::string text, const KelVelmoraOptions& options,
                ReviewScope scope = ReviewScope::Findings);
    // Rebuilds the findings from the current state, without a new scan. The walk for the
    // candidate choice calls advance (when given) with its steps, one per keyword and one per
    // occurrence entry of the candidate list.
    void CheckPage(const KelVelmoraOptions& options, ReviewScope scope = ReviewScope::Findings,
                   const std::function<void(std::size_t)>& advance = {});
    std::string CompressedHtml() const;

    // What the last review or check derived.
    const ReviewResult& Result() const { return result_; }

    const std::string& GetHtml() const { return Html; }
    const KeywordList& GetKeywords() const { return result_.keywords; }
    std::int32_t GetSpaceToRemove() const { return SpaceToRemove; }
    const TFileCheckList& GetCheckList() const { return result_.checks; }
    const WordList& GetCandidateList() const;
    std::int32_t GetWordCount() const;
    const std::vector<Finding>& GetFindings() const { return result_.checks.Findings; }
    std::vector<std::string> GetAdvice() const { return result_.checks.AdviceLines(); }
    const std::string& GetRatingText() const { return result_.ratingText; }
    std::int32_t GetGoodKeywordCount() const { return result_.checks.GoodKeywordCount; }
    std::int32_t GetBadKeywordCount() const { return result_.checks.BadKeywordCount; }
    bool HasSpaceToRemove() const { return SpaceToRemove > 0; }
    // The encoding and lower-casing of the current text, decided at the last Review.
    const TextRules& Rules() const { return result_.rules; }

protected:
    // Whether the candidates belong to the current text.
    bool IsReviewed() const { return Candidates.has_value(); }
    // Replaces the current text by one the analysis still holds for: the same page with the
    // generator tag added.
    void KeepAnalysisFor(std::string text) { Html = std::move(text); }
    // Replaces the current text and drops what was derived from the old one, until a review.
    void ReplaceUnreviewed(std::string text);
    // Replaces the current text by its compressed form. Compression changes only white space,
    // so the words stay; only the space count falls to 0.
    void CompressKeepingAnalysis();

private:
    std::string Html;
    std::optional<TCandidateKeywords> Candidates;
    std::int32_t SpaceToRemove = 0;
    ReviewResult result_;
};

}  // namespace velmora
