#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "analysis/reviewed_html.h"
#include "bench/hostile_pages.h"
#include "options/velmora_types.h"

namespace {

// A whole review of one hostile page, as the document runs it after a load.
void BM_HostileReview(benchmark::State& state, std::string (*generate)()) {
    const std::string page = generate();
    const velmora::KelVelmoraOptions options;
    for (auto _ : state) {
        velmora::TReviewedHtml review;
        review.Review(page, options);
        benchmark::DoNotOptimize(review.GetCheckList().Rating);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

const bool kRegistered = [] {
    for (const auto& kind : velmora::bench::HostilePages()) {
        benchmark::RegisterBenchmark(("BM_HostileReview/" + std::string(kind.name)).c_str(),
                                     BM_HostileReview, kind.generate)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
