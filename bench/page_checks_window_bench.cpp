// The desktop's Page Checks window on a 1 MB page, from nothing to drawn, and the width call the
// edit dialog's counter makes on each key.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>

#include "bench/page_generator.h"
#include "page_checks/text_width.h"
#include "ui/page_checks_window.h"

namespace {

void BM_OpenPageChecksWindowOnOneMegabytePage(benchmark::State& state) {
    const std::string page = velmora::bench::GeneratePage(1024 * 1024);
    const velmora::page_checks::TextWidthMeter meter;
    for (auto _ : state) {
        velmora::TPageChecksWindow window(meter);
        window.Refresh(page, QStringLiteral("/srv/www/index.htm"));
        window.show();
        benchmark::DoNotOptimize(window.grab());
    }
}
BENCHMARK(BM_OpenPageChecksWindowOnOneMegabytePage)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TitleWidthPerKey(benchmark::State& state) {
    const velmora::page_checks::TextWidthMeter meter;
    const std::string title = "Fresh sourdough bread, baked every morning in Brûlée Street";
    for (auto _ : state) {
        benchmark::DoNotOptimize(meter.Width(title, 20));
    }
}
BENCHMARK(BM_TitleWidthPerKey)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
