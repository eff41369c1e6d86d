// The desktop's Page Checks window opened on a 1 MB page the program holds, until drawn (also on
// one with thousands of findings), the width call the edit dialog's counter makes on each key, and
// a key typed in the edit dialog until its counter and its search-result preview are drawn again.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>
#include <QPlainTextEdit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "bench/page_generator.h"
#include "document/velmora_data.h"
#include "page_checks/text_width.h"
#include "ui/edit_text_form.h"
#include "ui/length_counter.h"
#include "ui/page_checks_window.h"

namespace {

namespace fs = std::filesystem;

// The window opened as the program opens it again: on a document that keeps the page's checks,
// made when it read the page, and the fixes they ask for, planned when first shown.
void OpenWindowOnDocument(benchmark::State& state, const std::string& page,
                          const std::string& name) {
    const fs::path file = fs::temp_directory_path() / name;
    std::ofstream(file, std::ios::binary) << page;
    const velmora::page_checks::TextWidthMeter meter;
    velmora::KelVelmoraData document;
    document.KeepPageChecks({velmora::PageCheckOptions(), &meter, {}});
    document.Load(file.string(), velmora::KelVelmoraOptions());
    // Planned once, as when the window first showed them.
    benchmark::DoNotOptimize(document.PageFixes());
    const QString shownName = QString::fromStdString(file.string());
    for (auto _ : state) {
        velmora::TPageChecksWindow window(meter);
        window.ShowChecked(document.PageChecks(), document.PageFixes(), document.GetHtml(),
                           shownName);
        window.show();
        benchmark::DoNotOptimize(window.grab());
    }
    std::remove(file.c_str());
}

void BM_OpenPageChecksWindowOnOneMegabytePage(benchmark::State& state) {
    OpenWindowOnDocument(state, velmora::bench::GeneratePage(1024 * 1024),
                         "velmora-window-bench-index.htm");
}
BENCHMARK(BM_OpenPageChecksWindowOnOneMegabytePage)->Unit(benchmark::kMillisecond)->UseRealTime();

// The neglected example grown to 1 MB with thousands of generic links: a window with long lists
// of findings.
void BM_OpenPageChecksWindowOnOneMegabyteNeglectedPage(benchmark::State& state) {
    std::ifstream file(VELMORA_EXAMPLES "/neglected-page.htm", std::ios::binary);
    std::string page{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (page.empty()) {
        state.SkipWithError("examples/neglected-page.htm cannot be read");
        return;
    }
    std::string paragraphs;
    for (int i = 0; i < 1000; ++i) {
        paragraphs += "<p>Fresh bread <a href=\"/more\">more</a> and rolls.</p>\n";
    }
    while (page.size() < 1024 * 1024) {
        page.insert(page.rfind("</body>"), paragraphs);
    }
    OpenWindowOnDocument(state, page, "velmora-window-bench-neglected.htm");
}
BENCHMARK(BM_OpenPageChecksWindowOnOneMegabyteNeglectedPage)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_TitleWidthPerKey(benchmark::State& state) {
    const velmora::page_checks::TextWidthMeter meter;
    const std::string title = "Fresh sourdough bread, baked every morning in Brûlée Street";
    for (auto _ : state) {
        benchmark::DoNotOptimize(meter.Width(title, 20));
    }
}
BENCHMARK(BM_TitleWidthPerKey)->Unit(benchmark::kMicrosecond);

void BM_KeystrokeToPreviewOnOneMegabytePage(benchmark::State& state) {
    const std::string page = velmora::bench::GeneratePage(1024 * 1024);
    const velmora::page_checks::TextWidthMeter meter;
    const velmora::PageCheckOptions options;
    const QString file = QStringLiteral("/srv/www/index.htm");
    const auto report =
        velmora::page_checks::RunPageChecks(page, file.toStdString(), options, meter);
    velmora::TEditText dialog;
    dialog.Prime(QStringLiteral("Title"), QStringLiteral("Fresh sourdough bread baked every"), true,
                 velmora::TitleLimits(options),
                 velmora::LivePreview{velmora::PreviewPageOf(report, page, file), options,
                                      velmora::LivePreview::Field::Title});
    dialog.show();
    bool typed = false;
    for (auto _ : state) {
        // One key typed, the next one taken back, so the title keeps its length.
        if (typed) {
            dialog.EditWindow->textCursor().deletePreviousChar();
        } else {
            dialog.EditWindow->insertPlainText(QStringLiteral("m"));
        }
        typed = !typed;
        benchmark::DoNotOptimize(dialog.grab());
    }
}
BENCHMARK(BM_KeystrokeToPreviewOnOneMegabytePage)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
