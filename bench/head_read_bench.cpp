#include <benchmark/benchmark.h>

#include <string>

#include "bench/page_generator.h"
#include "core/html_functions_read.h"

namespace velmora {
namespace {

void ReadHead(benchmark::State& state, const std::string& page) {
    for (auto _ : state) {
        std::string title = GetTitle(page);
        std::string description = GetDescription(page);
        std::string keywords = GetMetaKeywords(page);
        benchmark::DoNotOptimize(title);
        benchmark::DoNotOptimize(description);
        benchmark::DoNotOptimize(keywords);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

void BM_ReadHead(benchmark::State& state) {
    static const std::string page = bench::GeneratePage(10 << 20);
    ReadHead(state, page);
}

// Without the three elements every search runs to the end of the page.
void BM_ReadHeadAbsent(benchmark::State& state) {
    static const std::string page = [] {
        const std::string generated = bench::GeneratePage(10 << 20);
        return "<html>\r\n<head>\r\n</head>\r\n" + generated.substr(generated.find("<body>"));
    }();
    ReadHead(state, page);
}

BENCHMARK(BM_ReadHead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadHeadAbsent)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora
