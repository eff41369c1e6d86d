#pragma once

// The keyword choice's steps that only the analysis and its tests use.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/candidate_keywords.h"
#include "core/text_rules.h"

namespace velmora::detail {

// "fish {3 times, bad keyword, duplicate keyword}"
std::string KeywordLine(std::string_view keyword, std::int32_t count, bool bad, bool duplicate);
// "web design {4 times}"
std::string CandidateLine(std::string_view candidate, std::int32_t count);
// The text before the last " {" of a line (the whole line when it has none).
std::string_view KeywordTextView(std::string_view line);
// Sorts lines into the text rules' order of whole lines.
void SortLines(std::vector<std::string>& lines, const TextRules& rules);
// Inserts line into lines, keeping the text rules' order of whole lines.
void InsertLineSorted(std::vector<std::string>& lines, std::string line, const TextRules& rules);

// Auto's spamming pass: while the list spams a word (FindSpammedWord with limit), deletes the
// lowest-ranked entry that holds that word, ASCII lower-cased, as a whole word.
void RemoveSpammedEntries(KeywordList& ranked, std::int32_t limit);

}  // namespace velmora::detail
