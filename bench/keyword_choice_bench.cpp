#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "analysis/keyword_choice.h"

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

}  // namespace
}  // namespace velmora
