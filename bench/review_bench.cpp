#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "analysis/reviewed_html.h"
#include "bench/page_generator.h"
#include "options/velmora_types.h"

namespace {

// A whole review as the document runs it after a load: candidates, compression, keywords, check.
void BM_Review(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(state.range(0));
    const std::string page = velmora::bench::GeneratePage(bytes);
    const velmora::KelVelmoraOptions options;
    for (auto _ : state) {
        velmora::TReviewedHtml review;
        review.Review(page, options);
        benchmark::DoNotOptimize(review.GetCheckList().Rating);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_Review)
    ->Arg(100 * 1024)
    ->Arg(1024 * 1024)
    ->Arg(10 * 1024 * 1024)
    ->Unit(benchmark::kMillisecond);

// The check the file window repeats on every refresh, without a new scan.
void BM_CheckPage(benchmark::State& state) {
    const std::string page = velmora::bench::GeneratePage(static_cast<std::size_t>(state.range(0)));
    const velmora::KelVelmoraOptions options;
    velmora::TReviewedHtml review;
    review.Review(page, options);
    for (auto _ : state) {
        review.CheckPage(options);
        benchmark::DoNotOptimize(review.GetCheckList().Rating);
    }
}
BENCHMARK(BM_CheckPage)->Arg(1024 * 1024)->Unit(benchmark::kMicrosecond);

}  // namespace
