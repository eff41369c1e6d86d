#pragma once

// The tests that classify a page's keywords: good or bad, duplicates, spamming.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/candidate_keywords.h"
#include "analysis/text_ids.h"
#include "analysis/word_list.h"
#include "core/text_rules.h"
#include "options/velmora_types.h"

namespace velmora {

bool IsGoodKeyword(std::string_view keyword, std::int32_t wordCount, const WordList& words,
                   const KelVelmoraOptions& options);
// IsGoodKeyword for a keyword whose CountOccurrences is known.
bool IsGoodKeyword(std::string_view keyword, std::int32_t occurrences, std::int32_t wordCount,
                   const TextRules& rules, const KelVelmoraOptions& options);

void ClassifyKeywords(const KeywordList& keywords, std::int32_t wordCount, const WordList& words,
                      std::int32_t& bad, std::int32_t& good, const KelVelmoraOptions& options);
// The same, for keywords whose CountOccurrences are known: counts[i] belongs to keywords[i].
void ClassifyKeywords(const KeywordList& keywords, std::span<const std::int32_t> counts,
                      std::int32_t wordCount, const TextRules& rules, std::int32_t& bad,
                      std::int32_t& good, const KelVelmoraOptions& options);
std::int32_t CountGoodKeywords(const KeywordList& keywords, std::int32_t wordCount,
                               const WordList& words, const KelVelmoraOptions& options);
std::int32_t CountBadKeywords(const KeywordList& keywords, std::int32_t wordCount,
                              const WordList& words, const KelVelmoraOptions& options);

bool HasDuplicateKeywords(const KeywordList& keywords, KeywordCaseMode keywordCase,
                          const TextRules& rules);
// What two keywords are compared by under the case mode: equal keys are duplicates.
std::string KeywordKey(std::string_view keyword, KeywordCaseMode keywordCase,
                       const TextRules& rules);

// The KeywordKey of every keyword of a list, each lower-cased once: which keywords repeat an
// earlier one, and whether a text is one of the keywords under the case mode. The list must
// outlive it; it cannot be copied, as it points into itself.
class KeywordKeys {
public:
    KeywordKeys(const KeywordList& keywords, KeywordCaseMode keywordCase, const TextRules& rules);
    KeywordKeys(const KeywordKeys&) = delete;
    KeywordKeys& operator=(const KeywordKeys&) = delete;

    // An earlier keyword has the same key as keywords[i].
    bool Repeats(std::size_t i) const { return repeats_[i]; }
    bool AnyRepeats() const { return anyRepeats_; }
    // Some keyword has the same key as text.
    bool Contains(std::string_view text) const;

private:
    KeywordCaseMode keywordCase_;
    TextRules rules_;
    std::string lowered_;  // ignoring case: the keys end to end
    TextIds ids_;          // the distinct keys, pointing into lowered_ or the list
    std::vector<bool> repeats_;
    bool anyRepeats_ = false;
};

// The first word found in `limit` later keywords; empty when none.
std::string FindSpammedWord(const KeywordList& keywords, std::int32_t limit);

}  // namespace velmora
