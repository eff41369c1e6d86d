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

}  // namespace
