#include <benchmark/benchmark.h>

#include "analysis/compressed_html.h"
#include "bench/page_generator.h"

namespace {

void BM_CompressHtml(benchmark::State& state) {
    const std::string page = velmora::bench::GeneratePage(10 * 1024 * 1024);
    for (auto _ : state) {
        benchmark::DoNotOptimize(velmora::CompressHtml(page));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_CompressHtml)->Unit(benchmark::kMillisecond);

// The same page with each way of finding the stops: bytes one by one, SSE2 and AVX2.
void BM_CompressHtmlWithScan(benchmark::State& state) {
    const auto scan = static_cast<velmora::detail::StopScan>(state.range(0));
    if (!velmora::detail::Supports(scan)) {
        state.SkipWithError("this processor lacks the instructions");
        return;
    }
    const std::string page = velmora::bench::GeneratePage(10 * 1024 * 1024);
    for (auto _ : state) {
        benchmark::DoNotOptimize(velmora::detail::CompressHtml(page, scan));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_CompressHtmlWithScan)
    ->ArgName("scan")
    ->Arg(static_cast<int>(velmora::detail::StopScan::Bytes))
    ->Arg(static_cast<int>(velmora::detail::StopScan::Sse2))
    ->Arg(static_cast<int>(velmora::detail::StopScan::Avx2))
    ->Unit(benchmark::kMillisecond);

}  // namespace
