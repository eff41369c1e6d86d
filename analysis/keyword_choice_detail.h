#pragma once

// The keyword choice's steps that only the analysis and its tests use.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/candidate_keywords.h"
#include "analysis/keyword_choice.h"
#include "core/text_rules.h"

namespace velmora::detail {

// "fish {3 times, bad keyword, duplicate keyword}"
std::string KeywordLine(std::string_view keyword, std::int32_t count, bool bad, bool duplicate);
// "web design {4 times}"
std::string CandidateLine(std::string_view candidate, std::int32_t count);
// The entries of a keyword and of a candidate, with those lines.
ChoiceEntry KeywordEntry(std::string_view keyword, std::int32_t count, bool bad, bool duplicate);
ChoiceEntry CandidateEntry(std::string_view candidate, std::int32_t count);
// Sorts entries into the text rules' order of their lines.
void SortEntries(std::vector<ChoiceEntry>& entries, const TextRules& rules);
// Inserts entry into entries, keeping the text rules' order of their lines.
void InsertEntrySorted(std::vector<ChoiceEntry>& entries, ChoiceEntry entry,
                       const TextRules& rules);

// Auto's spamming pass: while the list spams a word (FindSpammedWord with limit), deletes the
// lowest-ranked entry that holds that word, ASCII lower-cased, as a whole word.
void RemoveSpammedEntries(KeywordList& ranked, std::int32_t limit);

}  // namespace velmora::detail
