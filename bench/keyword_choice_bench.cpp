#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "analysis/keyword_choice.h"
#include "analysis/keyword_tests.h"

namespace velmora {
namespace {

constexpr int kCandidates = 3000;

// kCandidates distinct one- to three-word phrases over a small vocabulary, each occurring 2 to 9
// times, so that all are good candidates and many words are spammed across them.
WordList ManyGoodCandidates() {
    std::mt19937 random(7);
    std::vector<std::string> vocabulary;
    for (int i = 0; i < 150; ++i) {
        vocabulary.push_back("word" + std::to_string(i));
    }
    std::vector<std::string> occurrences;
    std::vector<std::string> seen;
    while (static_cast<int>(seen.size()) < kCandidates) {
        std::string phrase = vocabulary[random() % vocabulary.size()];
        for (int extra = static_cast<int>(random() % 3); extra > 0; --extra) {
            phrase += ' ' + vocabulary[random() % vocabulary.size()];
        }
        if (std::find(seen.begin(), seen.end(), phrase) != seen.end()) {
            continue;
        }
        seen.push_back(phrase);
        occurrences.insert(occurrences.end(), 2 + random() % 8, phrase);
    }
    return WordList::FromOccurrences(std::move(occurrences), TextRules());
}

void BM_AutoOnGoodCandidates(benchmark::State& state) {
    const WordList words = ManyGoodCandidates();
    KelVelmoraOptions options;
    const PrimedKeywordChoice primed =
        PrimeKeywordChoice({"word1", "word2 word3"}, 100000, words, "word4 word5", options);
    if (primed.GoodCandidates.size() != kCandidates) {
        state.SkipWithError("the page does not give the expected good candidates");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(AutoKeywords(primed, words, "word4 word5", options));
    }
}
BENCHMARK(BM_AutoOnGoodCandidates)->Unit(benchmark::kMillisecond);

void BM_PrimeOnGoodCandidates(benchmark::State& state) {
    const WordList words = ManyGoodCandidates();
    KelVelmoraOptions options;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            PrimeKeywordChoice({"word1", "word2 word3"}, 100000, words, "word4 word5", options));
    }
}
BENCHMARK(BM_PrimeOnGoodCandidates)->Unit(benchmark::kMillisecond);

// 200,000 keywords of one or two random words, as a hostile page's keywords tag holds them.
KeywordList ManyRandomKeywords() {
    std::mt19937 random(9);
    const auto word = [&] {
        std::string text;
        for (int i = 5 + static_cast<int>(random() % 4); i > 0; --i) {
            text += static_cast<char>('a' + random() % 26);
        }
        return text;
    };
    KeywordList keywords(200'000);
    for (std::string& keyword : keywords) {
        keyword = random() % 2 == 0 ? word() + ' ' + word() : word();
    }
    return keywords;
}

void BM_PrimeAndAutoOnManyKeywords(benchmark::State& state) {
    const WordList words = ManyGoodCandidates();
    const KeywordList keywords = ManyRandomKeywords();
    KelVelmoraOptions options;
    options.KeywordCase = static_cast<KeywordCaseMode>(state.range(0));
    for (auto _ : state) {
        const PrimedKeywordChoice primed =
            PrimeKeywordChoice(keywords, 100000, words, "word4 word5", options);
        benchmark::DoNotOptimize(AutoKeywords(primed, words, "word4 word5", options));
    }
}
BENCHMARK(BM_PrimeAndAutoOnManyKeywords)
    ->Arg(static_cast<int>(KeywordCaseMode::CaseSensitive))
    ->Arg(static_cast<int>(KeywordCaseMode::CaseInsensitiveMixed))
    ->Arg(static_cast<int>(KeywordCaseMode::CaseInsensitiveLower))
    ->Unit(benchmark::kMillisecond);

void BM_KeywordTestsOnManyKeywords(benchmark::State& state) {
    const KeywordList keywords = ManyRandomKeywords();
    const KelVelmoraOptions options;
    const TextRules rules;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindSpammedWord(keywords, options.KeywordCountBeforeSpamming));
        benchmark::DoNotOptimize(HasDuplicateKeywords(keywords, options.KeywordCase, rules));
    }
}
BENCHMARK(BM_KeywordTestsOnManyKeywords)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora
