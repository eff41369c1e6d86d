#pragma once

// The duplicate test of one keyword against those before it; HasDuplicateKeywords answers it
// for a whole list in one pass.

#include <cstddef>

#include "analysis/candidate_keywords.h"
#include "core/text_rules.h"
#include "options/velmora_types.h"

namespace velmora::detail {

bool IsDuplicateKeyword(std::size_t index, const KeywordList& keywords, KeywordCaseMode keywordCase,
                        const TextRules& rules);

}  // namespace velmora::detail
