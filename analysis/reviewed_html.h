#pragma once

// The analysed page: its text and everything the analysis derives from it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/candidate_keywords.h"
#include "analysis/file_check_list.h"
#include "core/text_rules.h"
#include "options/velmora_types.h"

namespace velmora {

class TReviewedHtml {
public:
    TReviewedHtml() = default;
    virtual ~TReviewedHtml() = default;

    // Makes text the current text and analyses it completely.
    void Review(std::string text, const KelVelmoraOptions& options);
    // Rebuilds the findings from the current state, without a new scan.
    void CheckPage(const KelVelmoraOptions& options);
    std::string CompressedHtml() const;

    const WordList& GetCandidateList() const;
    std::int32_t GetWordCount() const;
    const std::vector<Finding>& GetFindings() const { return CheckList.Findings; }
    std::vector<std::string> GetAdvice() const { return CheckList.AdviceLines(); }
    std::string GetRatingText() const { return CheckList.GetRatingText(); }
    std::int32_t GetGoodKeywordCount() const { return CheckList.GoodKeywordCount; }
    std::int32_t GetBadKeywordCount() const { return CheckList.BadKeywordCount; }
    bool HasSpaceToRemove() const { return SpaceToRemove > 0; }
    // The encoding and lower-casing of the current text, decided at the last Review.
    const TextRules& Rules() const { return Rules_; }

    std::string Html;
    // The keywords meta tag's content (GetMetaKeywords) at the last Review, split into Keywords.
    std::string KeywordsText;
    KeywordList Keywords;
    std::optional<TCandidateKeywords> Candidates;
    std::int32_t SpaceToRemove = 0;
    TFileCheckList CheckList;

protected:
    TextRules Rules_;
};

}  // namespace velmora
