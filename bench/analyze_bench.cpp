// What velmora-cli analyze --json does for one page, in one process: load, review, the report
// with candidates and Auto's choice, and its JSON line. The page is read from a file, as the
// command reads it.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/hostile_pages.h"
#include "bench/page_generator.h"
#include "cli/json_report.h"
#include "cli/page_report.h"
#include "document/velmora_data.h"

namespace {

void BM_AnalyzePage(benchmark::State& state, std::string (*generate)()) {
    const std::string page = generate();
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("velmora-analyze-bench-" + std::to_string(::getpid()) + ".htm");
    std::ofstream(file, std::ios::binary) << page;
    const velmora::KelVelmoraOptions options;
    for (auto _ : state) {
        velmora::KelVelmoraData document(velmora::SystemLocalTime,
                                         velmora::KelVelmoraData::Analysis::Reported);
        document.Load(file.string(), options);
        const std::string line = velmora::cli::ToJsonLine(
            velmora::cli::BuildPageReport(file.string(), document));
        benchmark::DoNotOptimize(line.data());
    }
    std::filesystem::remove(file);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

std::string Page20K() {
    return velmora::bench::GeneratePage(20 * 1024);
}

std::string Page1M() {
    return velmora::bench::GeneratePage(1024 * 1024);
}

std::string ManyKeywords() {
    for (const auto& kind : velmora::bench::HostilePages()) {
        if (kind.name == "keywords-200k") {
            return kind.generate();
        }
    }
    return {};
}

BENCHMARK_CAPTURE(BM_AnalyzePage, page_20k, Page20K)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AnalyzePage, page_1m, Page1M)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AnalyzePage, keywords_200k, ManyKeywords)->Unit(benchmark::kMillisecond);

}  // namespace
