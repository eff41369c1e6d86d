#include "analysis/keyword_choice.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <limits>
#include <span>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "analysis/keyword_choice_detail.h"
#include "analysis/keyword_ordering.h"
#include "analysis/keyword_tests.h"
#include "analysis/keyword_tests_detail.h"
#include "core/byte_loads.h"
#include "core/kel_string_functions.h"

namespace velmora {
namespace {

constexpr std::string_view kCountOpen = " {";

// The keyword list box's entries: count and marks as the dialog shows them.
// counts: the keywords' CountOccurrences; keys: their duplicate keys.
std::vector<ChoiceEntry> BuildKeywordEntries(const KeywordList& keywords,
                                             std::span<const std::int32_t> counts,
                                             std::int32_t wordCount, const TextRules& rules,
                                             const KeywordKeys& keys,
                                             const KelVelmoraOptions& options,
                                             const std::function<void(std::size_t)>& advance) {
    std::vector<ChoiceEntry> entries;
    entries.reserve(keywords.size());
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        const std::string& keyword = keywords[i];
        entries.push_back(detail::KeywordEntry(
            keyword, counts[i], !IsGoodKeyword(keyword, counts[i], wordCount, rules, options),
            keys.Repeats(i)));
        if (advance) {
            advance(1);
        }
    }
    detail::SortEntries(entries, rules);
    return entries;
}

// A walk's candidate: kept when good, and offered when it is not a keyword yet.
// count: the candidate's CountOccurrences.
void AddIfGood(std::string candidate, std::int32_t count, std::int32_t wordCount,
               const WordList& words, const KelVelmoraOptions& options,
               const KeywordKeys& keywordKeys, PrimedKeywordChoice& result) {
    if (!IsGoodKeyword(candidate, count, wordCount, words.Rules(), options)) {
        return;
    }
    if (!keywordKeys.Contains(candidate)) {
        result.Candidates.push_back(detail::CandidateEntry(candidate, count));
    }
    result.GoodCandidates.push_back(std::move(candidate));
    result.GoodCandidateCounts.push_back(count);
}

// Two sorted lists as one sorted list; among equal lines, those of the first list come first.
std::vector<ChoiceEntry> MergeEntries(std::vector<ChoiceEntry> first,
                                      std::vector<ChoiceEntry> second, const TextRules& rules) {
    std::vector<ChoiceEntry> merged;
    merged.reserve(first.size() + second.size());
    std::merge(std::make_move_iterator(first.begin()), std::make_move_iterator(first.end()),
               std::make_move_iterator(second.begin()), std::make_move_iterator(second.end()),
               std::back_inserter(merged), [&](const ChoiceEntry& a, const ChoiceEntry& b) {
                   return rules.Compare(a.line, b.line) < 0;
               });
    return merged;
}

// Auto's choice of entries, asked in list order: an entry is chosen when Auto ranked its text
// (ignoring case), unless an entry chosen before it holds the same keyword under the case mode,
// since the list must not come back with duplicates.
class EntryChooser {
public:
    EntryChooser(const KeywordList& ranked, KeywordCaseMode mode, const TextRules& rules)
        : mode_(mode), rules_(rules) {
        for (const std::string& text : ranked) {
            rankedLower_.insert(rules.LocaleLower(text));
        }
    }

    // Auto ranked the entry's text.
    bool Ranked(const ChoiceEntry& entry) {
        lowered_.clear();
        rules_.AppendLocaleLower(lowered_, entry.text);
        return rankedLower_.contains(lowered_);
    }

    bool Choose(const ChoiceEntry& entry) {
        return Ranked(entry) && chosen_.insert(KeywordKey(entry.text, mode_, rules_)).second;
    }

private:
    KeywordCaseMode mode_;
    const TextRules& rules_;
    std::unordered_set<std::string> rankedLower_;
    std::unordered_set<std::string> chosen_;
    std::string lowered_;  // reused, so that asking costs no allocation
};

// Auto's choice from the good candidates already sorted by score: spammed entries removed, cut to
// the recommended maximum.
KeywordList RankScored(KeywordList ranked, const KelVelmoraOptions& options) {
    detail::RemoveSpammedEntries(ranked, options.KeywordCountBeforeSpamming);
    const std::size_t maximum = options.MaximumRecommendedTags < 0
                                    ? 0
                                    : static_cast<std::size_t>(options.MaximumRecommendedTags);
    if (ranked.size() > maximum) {
        ranked.resize(maximum);
    }
    return ranked;
}

}  // namespace

std::string detail::KeywordLine(std::string_view keyword, std::int32_t count, bool bad,
                                bool duplicate) {
    constexpr std::string_view kTimes = " times";
    constexpr std::string_view kBad = ", bad keyword";
    constexpr std::string_view kDuplicate = ", duplicate keyword";
    char digits[12];
    const std::string_view number(digits, std::to_chars(digits, digits + sizeof digits, count).ptr);
    std::string line;
    line.reserve(keyword.size() + kCountOpen.size() + number.size() + kTimes.size() + kBad.size() +
                 kDuplicate.size() + 1);
    line.append(keyword).append(kCountOpen).append(number).append(kTimes);
    if (bad) {
        line.append(kBad);
    }
    if (duplicate) {
        line.append(kDuplicate);
    }
    line.push_back('}');
    return line;
}

std::string detail::CandidateLine(std::string_view candidate, std::int32_t count) {
    return KeywordLine(candidate, count, false, false);
}

ChoiceEntry detail::KeywordEntry(std::string_view keyword, std::int32_t count, bool bad,
                                 bool duplicate) {
    return {std::string(keyword), KeywordLine(keyword, count, bad, duplicate)};
}

ChoiceEntry detail::CandidateEntry(std::string_view candidate, std::int32_t count) {
    return {std::string(candidate), CandidateLine(candidate, count)};
}

void detail::SortEntries(std::vector<ChoiceEntry>& entries, const TextRules& rules) {
    // Compare orders by the locale lower-casings, then by the bytes. Each line is lowered once
    // here, and the first eight lowered bytes settle most comparisons without reading further.
    // Lines that compare equal are the same bytes, so no stable sort is needed.
    struct Entry {
        std::uint64_t head;
        std::size_t start;  // of the lower-casing in lowered
        std::size_t length;
        std::size_t line;
    };
    std::string lowered;
    std::vector<Entry> order;
    order.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t start = lowered.size();
        rules.AppendLocaleLower(lowered, entries[i].line);
        order.push_back({0, start, lowered.size() - start, i});
    }
    const std::string_view all = lowered;
    for (Entry& entry : order) {
        entry.head = BigEndianBytes(all.substr(entry.start, entry.length), 0);
    }
    std::sort(order.begin(), order.end(), [&](const Entry& a, const Entry& b) {
        if (a.head != b.head) {
            return a.head < b.head;
        }
        const int lower = all.substr(a.start, a.length).compare(all.substr(b.start, b.length));
        return lower != 0 ? lower < 0 : entries[a.line].line < entries[b.line].line;
    });
    std::vector<ChoiceEntry> sorted;
    sorted.reserve(entries.size());
    for (const Entry& entry : order) {
        sorted.push_back(std::move(entries[entry.line]));
    }
    entries = std::move(sorted);
}

std::size_t SortedLinePosition(std::size_t count,
                               const std::function<std::string(std::size_t)>& lineAt,
                               std::string_view line, const TextRules& rules) {
    std::size_t low = 0;
    std::size_t high = count;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (rules.Compare(lineAt(middle), line) <= 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

void detail::InsertEntrySorted(std::vector<ChoiceEntry>& entries, ChoiceEntry entry,
                               const TextRules& rules) {
    const std::size_t at = SortedLinePosition(
        entries.size(), [&](std::size_t i) { return entries[i].line; }, entry.line, rules);
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
}

namespace {

// The walk over the candidate word list: every good candidate, and as lines those that are not
// keywords yet.
void WalkCandidates(std::int32_t wordCount, const WordList& words, const KeywordKeys& keywordKeys,
                    const KelVelmoraOptions& options,
                    const std::function<void(std::size_t)>& advance, PrimedKeywordChoice& result) {
    const KeywordCaseMode mode = options.CaseMode();
    // Each form stands for `count` identical occurrence entries, and only an entry whose
    // preferred form differs from the one before it can give a candidate. Ignoring case, all
    // forms of a group (equal ignoring case) share one preferred form, so that is the group's
    // first entry; with case, every form's first entry. A group that occurs fewer times than the
    // minimum cannot hold a good keyword, so the lookups are spared for it.
    const WordList::FormRange forms = words.Forms();
    const bool ignoresCase = mode != KeywordCaseMode::CaseSensitive;
    std::size_t groupEnd = 0;
    for (std::size_t j = 0; j < forms.size(); ++j) {
        if (j == groupEnd) {
            std::int64_t occurrences = 0;
            do {
                occurrences += forms[groupEnd].count;
                ++groupEnd;
            } while (ignoresCase && groupEnd < forms.size() && !forms[groupEnd].startsGroup);
            if (occurrences >= options.MinimumKeywordCount &&
                mode == KeywordCaseMode::CaseInsensitiveLower) {
                std::string candidate = PreferredForm(forms[j].text, words, mode);
                const std::int32_t count = CountOccurrences(candidate, words, mode);
                AddIfGood(std::move(candidate), count, wordCount, words, options, keywordKeys,
                          result);
            } else if (occurrences >= options.MinimumKeywordCount) {
                // PreferredForm and CountOccurrences of the group's first form, read off the
                // group without a lookup: the most used written form (the first on a tie) and
                // the group's total; with case, the form itself and its own count.
                std::size_t best = j;
                for (std::size_t k = j + 1; k < groupEnd; ++k) {
                    if (forms[k].count > forms[best].count) {
                        best = k;
                    }
                }
                const auto count = static_cast<std::int32_t>(
                    std::min<std::int64_t>(occurrences, std::numeric_limits<std::int32_t>::max()));
                AddIfGood(std::string(forms[best].text), count, wordCount, words, options,
                          keywordKeys, result);
            }
        }
        if (advance) {
            advance(static_cast<std::size_t>(forms[j].count));
        }
    }
    detail::SortEntries(result.Candidates, words.Rules());
}

PrimedKeywordChoice Prime(const KeywordList& keywords, std::span<const std::int32_t> knownCounts,
                          std::int32_t wordCount, const WordList& words, std::string_view title,
                          const KelVelmoraOptions& options,
                          const std::function<void(std::size_t)>& advance) {
    const TextRules& rules = words.Rules();
    std::vector<std::int32_t> counted;
    if (knownCounts.empty() && !keywords.empty()) {
        counted = CountOccurrencesOfEach(keywords, words, options.CaseMode());
        knownCounts = counted;
    }
    // IsWordInList's equality and the duplicate marks, from one lower-casing of each keyword.
    const KeywordKeys keywordKeys(keywords, options.CaseMode(), rules);
    PrimedKeywordChoice result;
    result.Keywords =
        BuildKeywordEntries(keywords, knownCounts, wordCount, rules, keywordKeys, options, advance);
    WalkCandidates(wordCount, words, keywordKeys, options, advance, result);
    result.OrderOptimal = IsOrderOptimal(keywords, knownCounts, words, title, options);
    return result;
}

}  // namespace

PrimedKeywordChoice PrimeKeywordChoice(const KeywordList& keywords, std::int32_t wordCount,
                                       const WordList& words, std::string_view title,
                                       const KelVelmoraOptions& options,
                                       const std::function<void(std::size_t)>& advance) {
    return Prime(keywords, {}, wordCount, words, title, options, advance);
}

PrimedKeywordChoice PrimeKeywordChoice(const KeywordList& keywords,
                                       std::span<const std::int32_t> keywordCounts,
                                       std::int32_t wordCount, const WordList& words,
                                       std::string_view title, const KelVelmoraOptions& options,
                                       const std::function<void(std::size_t)>& advance) {
    return Prime(keywords, keywordCounts, wordCount, words, title, options, advance);
}

PrimedKeywordChoice PrimedFromReview(const ReviewResult& result) {
    PrimedKeywordChoice primed;
    primed.Keywords.reserve(result.keywords.size());
    for (std::size_t i = 0; i < result.keywords.size(); ++i) {
        const KeywordResult& judged = result.keywordResults[i];
        primed.Keywords.push_back(detail::KeywordEntry(result.keywords[i], judged.occurrences,
                                                       !judged.good, judged.duplicate));
    }
    detail::SortEntries(primed.Keywords, result.rules);
    if (result.choice) {
        for (const CandidateResult& candidate : result.choice->candidates) {
            if (!candidate.isKeyword) {
                primed.Candidates.push_back(
                    detail::CandidateEntry(candidate.text, candidate.occurrences));
            }
            primed.GoodCandidates.push_back(candidate.text);
            primed.GoodCandidateCounts.push_back(candidate.occurrences);
        }
        detail::SortEntries(primed.Candidates, result.rules);
    }
    // The check tests the order only of a page with keywords.
    primed.OrderOptimal = result.keywords.empty() || result.checks.OptimalOrder;
    return primed;
}

void detail::RemoveSpammedEntries(KeywordList& ranked, std::int32_t limit) {
    const std::size_t count = ranked.size();
    if (count < 2) {
        return;
    }
    // FindSpammedWord reports a word once `limit` later entries hold it, and one is the least.
    const std::size_t needed = limit < 1 ? 1 : static_cast<std::size_t>(limit);

    // Each entry's words numbered as FindSpammedWord splits them, and per word the ascending
    // indices of the live entries that hold it.
    const NumberedWords split(ranked);
    std::vector<std::vector<std::uint32_t>> holders(split.distinct);
    for (std::uint32_t i = 0; i < count; ++i) {
        for (std::size_t w = split.firstWord[i]; w < split.firstWord[i + 1]; ++w) {
            std::vector<std::uint32_t>& list = holders[split.ids[w]];
            if (list.empty() || list.back() != i) {
                list.push_back(i);
            }
        }
    }
    const auto wordsOf = [&](std::size_t i) {
        return std::span<const std::uint32_t>(split.ids).subspan(
            split.firstWord[i], split.firstWord[i + 1] - split.firstWord[i]);
    };

    // FindSpammedWord answers with the first (entry, word) pair, in list and word order, that
    // enough later entries hold. A deletion only lowers those counts, and it always removes an
    // entry after the reported one, so the next answer is never before the last: the scan goes
    // on from where it stopped instead of starting over.
    std::vector<bool> alive(count, true);
    std::size_t entry = 0;
    std::size_t wordPos = 0;
    while (entry + 1 < count) {
        if (!alive[entry] || wordPos >= wordsOf(entry).size()) {
            ++entry;
            wordPos = 0;
            continue;
        }
        std::vector<std::uint32_t>& list = holders[wordsOf(entry)[wordPos]];
        const auto later = static_cast<std::size_t>(
            std::distance(std::upper_bound(list.begin(), list.end(), entry), list.end()));
        if (later < needed) {
            ++wordPos;
            continue;
        }
        // The lowest-ranked live entry that holds the spammed word.
        const std::uint32_t victim = list.back();
        alive[victim] = false;
        for (const std::uint32_t id : wordsOf(victim)) {
            std::vector<std::uint32_t>& holding = holders[id];
            const auto at = std::lower_bound(holding.begin(), holding.end(), victim);
            if (at != holding.end() && *at == victim) {
                holding.erase(at);
            }
        }
    }

    KeywordList kept;
    kept.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (alive[i]) {
            kept.push_back(std::move(ranked[i]));
        }
    }
    ranked = std::move(kept);
}

KeywordList RankAutoKeywords(const KeywordList& goodCandidates, const WordList& words,
                             std::string_view title, const KelVelmoraOptions& options,
                             ProgressIndicator* progress) {
    return RankScored(SortByScore(goodCandidates, words, title, progress, options), options);
}

ChoiceLists ApplyAutoChoice(ChoiceLists lists, const KeywordList& ranked,
                            const KelVelmoraOptions& options, const TextRules& rules) {
    // Every keyword entry back to the candidates; both lists are sorted, so a merge keeps order.
    std::vector<ChoiceEntry> offered =
        MergeEntries(std::move(lists.Candidates), std::move(lists.Keywords), rules);
    EntryChooser chooser(ranked, options.CaseMode(), rules);
    ChoiceLists result;
    for (ChoiceEntry& entry : offered) {
        (chooser.Choose(entry) ? result.Keywords : result.Candidates).push_back(std::move(entry));
    }
    return result;
}

KeywordList KeywordsFromEntries(const std::vector<ChoiceEntry>& keywords, const WordList& words,
                                std::string_view title, const KelVelmoraOptions& options) {
    KeywordList texts;
    texts.reserve(keywords.size());
    for (const ChoiceEntry& entry : keywords) {
        texts.push_back(entry.text);
    }
    return SortByScore(texts, words, title, nullptr, options);
}

KeywordList AutoKeywords(const PrimedKeywordChoice& primed, const WordList& words,
                         std::string_view title, const KelVelmoraOptions& options) {
    // The walk counted every good candidate already.
    const KeywordScorer scorer(words, title, options);
    std::vector<std::int64_t> scores(primed.GoodCandidates.size());
    for (std::size_t i = 0; i < scores.size(); ++i) {
        scores[i] = scorer.Score(primed.GoodCandidates[i], primed.GoodCandidateCounts[i]);
    }
    const KeywordList ranked =
        RankScored(SortByScore(primed.GoodCandidates, scores, nullptr), options);
    // ApplyAutoChoice's keyword entries: only an entry whose text Auto ranked can be chosen, so
    // the others are left out before the merge.
    EntryChooser chooser(ranked, options.CaseMode(), words.Rules());
    const auto rankedOnly = [&](const std::vector<ChoiceEntry>& entries) {
        std::vector<ChoiceEntry> kept;
        std::copy_if(entries.begin(), entries.end(), std::back_inserter(kept),
                     [&](const ChoiceEntry& entry) { return chooser.Ranked(entry); });
        return kept;
    };
    std::vector<ChoiceEntry> chosen;
    for (ChoiceEntry& entry :
         MergeEntries(rankedOnly(primed.Candidates), rankedOnly(primed.Keywords), words.Rules())) {
        if (chooser.Choose(entry)) {
            chosen.push_back(std::move(entry));
        }
    }
    return KeywordsFromEntries(chosen, words, title, options);
}

KeywordList AutoKeywords(const KeywordList& keywords, std::int32_t wordCount, const WordList& words,
                         std::string_view title, const KelVelmoraOptions& options) {
    return AutoKeywords(PrimeKeywordChoice(keywords, wordCount, words, title, options), words,
                        title, options);
}

KeywordList OrderKeywordsAsDialog(const KeywordList& keywords, std::int32_t wordCount,
                                  const WordList& words, std::string_view title,
                                  const KelVelmoraOptions& options) {
    const std::vector<std::int32_t> counts =
        CountOccurrencesOfEach(keywords, words, options.CaseMode());
    const KeywordKeys keys(keywords, options.CaseMode(), words.Rules());
    return KeywordsFromEntries(
        BuildKeywordEntries(keywords, counts, wordCount, words.Rules(), keys, options, {}), words,
        title, options);
}

}  // namespace velmora
