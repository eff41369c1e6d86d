#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "analysis/candidate_keywords.h"
#include "analysis/keyword_ordering.h"
#include "analysis/keyword_tests.h"
#include "bench/page_generator.h"
#include "options/velmora_types.h"

namespace {

using velmora::KelVelmoraOptions;
using velmora::KeywordList;
using velmora::TCandidateKeywords;
using velmora::TextRules;
using velmora::WordForm;

TCandidateKeywords Candidates(const std::string& page, const KelVelmoraOptions& options) {
    return TCandidateKeywords(page,
                              options.KeywordCase == velmora::KeywordCaseMode::CaseInsensitiveLower,
                              &options.StopWords, TextRules::ForPage(page));
}

// The good candidates in their preferred forms, as the Change Keywords dialog lists them: every
// form is asked for its preferred form and count, each group is offered once.
KeywordList GoodCandidates(const TCandidateKeywords& candidates, const KelVelmoraOptions& options) {
    KeywordList good;
    const auto& forms = candidates.Words.Forms();
    for (std::size_t i = 0; i < forms.size(); ++i) {
        const std::string preferred =
            velmora::PreferredForm(forms[i].text, candidates.Words, options.KeywordCase);
        const std::int32_t count =
            velmora::CountOccurrences(forms[i].text, candidates.Words, options.KeywordCase);
        benchmark::DoNotOptimize(count);
        const bool startsGroup = i == 0 || forms[i].lower != forms[i - 1].lower;
        if (startsGroup &&
            velmora::IsGoodKeyword(preferred, candidates.WordCount, candidates.Words, options)) {
            good.push_back(preferred);
        }
    }
    return good;
}

void BM_CandidateKeywords(benchmark::State& state) {
    const std::string page = velmora::bench::GeneratePage(static_cast<std::size_t>(state.range(0)));
    KelVelmoraOptions options;
    options.KeywordCase = static_cast<velmora::KeywordCaseMode>(state.range(1));
    for (auto _ : state) {
        const TCandidateKeywords candidates = Candidates(page, options);
        benchmark::DoNotOptimize(candidates.WordCount);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
constexpr auto kMixed = static_cast<std::int64_t>(velmora::KeywordCaseMode::CaseInsensitiveMixed);
constexpr auto kLower = static_cast<std::int64_t>(velmora::KeywordCaseMode::CaseInsensitiveLower);

BENCHMARK(BM_CandidateKeywords)
    ->ArgNames({"bytes", "case"})
    ->Args({100 * 1024, kMixed})
    ->Args({1024 * 1024, kMixed})
    ->Args({1024 * 1024, kLower})
    ->Args({10 * 1024 * 1024, kMixed})
    ->Unit(benchmark::kMillisecond);

// The Change Keywords walk over an already scanned page: preferred form and count of every form,
// then the sort of the good candidates.
void BM_ChangeKeywordsWalk(benchmark::State& state) {
    const std::string page = velmora::bench::GeneratePage(static_cast<std::size_t>(state.range(0)));
    const KelVelmoraOptions options;
    const TCandidateKeywords candidates = Candidates(page, options);
    const std::string title = "Cheap web hosting and web design";
    std::size_t sortedCount = 0;
    for (auto _ : state) {
        const KeywordList sorted = velmora::SortByScore(GoodCandidates(candidates, options),
                                                        candidates.Words, title, nullptr, options);
        sortedCount = sorted.size();
        benchmark::DoNotOptimize(sorted.data());
    }
    state.counters["forms"] = static_cast<double>(candidates.Words.Forms().size());
    state.counters["good"] = static_cast<double>(sortedCount);
}
BENCHMARK(BM_ChangeKeywordsWalk)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);

}  // namespace
