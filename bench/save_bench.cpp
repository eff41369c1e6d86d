#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "bench/page_generator.h"
#include "document/line_breaks.h"
#include "document/velmora_data.h"

namespace {

namespace fs = std::filesystem;

// A 10 MB page in Linux line breaks: what Load makes of its bytes and Save writes back.
std::string LfPage() {
    std::string page = velmora::bench::GeneratePage(10 * 1024 * 1024);
    std::erase(page, '\r');
    return page;
}

void BM_TextFromLfFileBytes(benchmark::State& state) {
    const std::string bytes = LfPage();
    for (auto _ : state) {
        benchmark::DoNotOptimize(velmora::TextFromFileBytes(bytes));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_TextFromLfFileBytes)->Unit(benchmark::kMillisecond);

void BM_LfFileBytesFromText(benchmark::State& state) {
    const std::string text = velmora::TextFromFileBytes(LfPage());
    const velmora::LineBreakStyle style{velmora::LineBreak::Lf, true};
    for (auto _ : state) {
        benchmark::DoNotOptimize(velmora::FileBytesFromText(text, style));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_LfFileBytesFromText)->Unit(benchmark::kMillisecond);

// A whole save of a 10 MB page: change check, exact backup, private temporary file, flush and
// rename. Real time, as most of it is the disk's.
void BM_SaveTenMegabytePage(benchmark::State& state) {
    std::string folder = (fs::temp_directory_path() / "velmora-save-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        state.SkipWithError("cannot make a temporary folder");
        return;
    }
    const char* oldTmpdir = std::getenv("TMPDIR");
    const std::string restored = oldTmpdir != nullptr ? oldTmpdir : "";
    ::setenv("TMPDIR", folder.c_str(), 1);
    const fs::path page = fs::path(folder) / "index.htm";
    std::ofstream(page, std::ios::binary) << LfPage();
    // Each save follows an edit, without the review an edit would start in the desktop.
    velmora::KelVelmoraData document(velmora::SystemLocalTime,
                                     velmora::KelVelmoraData::Analysis::WhenNeeded);
    const velmora::KelVelmoraOptions options;
    document.Load(page.string(), options);
    int edit = 0;
    for (auto _ : state) {
        document.EditTitle(std::to_string(++edit), options);
        document.Save();
        state.PauseTiming();
        fs::remove(document.LastBackupPath());
        state.ResumeTiming();
    }
    fs::remove_all(folder);
    if (oldTmpdir != nullptr) {
        ::setenv("TMPDIR", restored.c_str(), 1);
    } else {
        ::unsetenv("TMPDIR");
    }
}
BENCHMARK(BM_SaveTenMegabytePage)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
