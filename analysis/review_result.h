#pragma once

// Everything one review derives from a page, as one value that the reports, the file window
// and the Change Keywords dialog read instead of working any of it out again.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/candidate_keywords.h"
#include "analysis/file_check_list.h"
#include "core/text_rules.h"

namespace velmora {

// One keyword of the page's list, as the analysis judged it.
struct KeywordResult {
    std::int32_t occurrences = 0;  // CountOccurrences in the candidate list
    bool good = false;
    bool duplicate = false;  // an earlier keyword is the same under the case mode
    std::int32_t score = 0;  // the ordering score, bounded to 32 bits

    bool operator==(const KeywordResult&) const = default;
};

// A good candidate in its preferred written form (in the page's bytes), with its count.
struct CandidateResult {
    std::string text;
    std::int32_t occurrences = 0;
    bool isKeyword = false;  // the page's keyword list already holds it under the case mode

    bool operator==(const CandidateResult&) const = default;
};

// The walk over the whole candidate list: what only a report or the Change Keywords dialog
// needs, so a review derives it only when asked to.
struct CandidateChoice {
    std::vector<CandidateResult> candidates;  // every distinct good candidate, in walk order
    KeywordList autoKeywords;                 // what Auto, then Done, would write into the page
};

// Built by the review; nothing changes it afterwards, and a new review replaces it whole.
struct ReviewResult {
    TextRules rules;  // the page's encoding and lower-casing
    std::string title;
    std::string description;
    std::string keywordsText;                   // the keywords meta tag's content
    KeywordList keywords;                       // keywordsText split, in the tag's order
    std::vector<KeywordResult> keywordResults;  // keywordResults[i] belongs to keywords[i]
    std::int32_t wordCount = 0;
    std::int32_t spaceToRemove = 0;  // counted whether or not compression is enabled
    TFileCheckList checks;           // the findings with their positions, and the rating
    std::string ratingText;
    std::optional<CandidateChoice> choice;  // present when the review was asked for it
};

}  // namespace velmora
