#pragma once

// The tests that classify a page's keywords: good or bad, duplicates, spamming.

#include <cstdint>
#include <string>

#include "analysis/candidate_keywords.h"
#include "analysis/word_list.h"
#include "options/velmora_types.h"

namespace velmora {

bool IsGoodKeyword(std::string_view keyword, std::int32_t wordCount, const WordList& words,
                   const KelVelmoraOptions& options);
// IsGoodKeyword for a keyword whose CountOccurrences is known.
bool IsGoodKeyword(std::string_view keyword, std::int32_t occurrences, std::int32_t wordCount,
                   const TextRules& rules, const KelVelmoraOptions& options);

void ClassifyKeywords(const KeywordList& keywords, std::int32_t wordCount, const WordList& words,
                      std::int32_t& bad, std::int32_t& good, const KelVelmoraOptions& options);
std::int32_t CountGoodKeywords(const KeywordList& keywords, std::int32_t wordCount,
                               const WordList& words, const KelVelmoraOptions& options);
std::int32_t CountBadKeywords(const KeywordList& keywords, std::int32_t wordCount,
                              const WordList& words, const KelVelmoraOptions& options);

bool HasDuplicateKeywords(const KeywordList& keywords, KeywordCaseMode keywordCase,
                          const TextRules& rules);
// What two keywords are compared by under the case mode: equal keys are duplicates.
std::string KeywordKey(std::string_view keyword, KeywordCaseMode keywordCase,
                       const TextRules& rules);

// The first word found in `limit` later keywords; empty when none.
std::string FindSpammedWord(const KeywordList& keywords, std::int32_t limit);

}  // namespace velmora
