#include <benchmark/benchmark.h>
#include <gumbo.h>

#include <cstdint>
#include <string>

#include "bench/page_generator.h"
#include "options/page_check_options.h"
#include "page_checks/page_checks.h"
#include "page_checks/text_width.h"

namespace {

// Every page check on `page`, with the default settings, as velmora-cli runs them.
void TimePageChecks(benchmark::State& state, const std::string& page) {
    const velmora::PageCheckOptions options;
    const velmora::page_checks::TextWidthMeter meter;
    for (auto _ : state) {
        const auto report = velmora::page_checks::RunPageChecks(page, "page.html", options, meter);
        benchmark::DoNotOptimize(report.summary);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

// Every page check on a generated page, as velmora-cli runs them after the review.
void BM_PageChecks(benchmark::State& state) {
    const std::string page = velmora::bench::GeneratePage(static_cast<std::size_t>(state.range(0)));
    TimePageChecks(state, page);
}
BENCHMARK(BM_PageChecks)->Arg(20 * 1024)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);

// The worst case of the head reader's agreement: its text search misses the page's own title
// and lands on one in a script at the very end, so the page is read a second time up to there.
void BM_PageChecksMisreadTitle(benchmark::State& state) {
    std::string page = velmora::bench::GeneratePage(static_cast<std::size_t>(state.range(0)));
    page.replace(page.find("<title>"), 7, "<title id=\"t\">");
    page += "<script>document.title = '<title>';</script>";
    TimePageChecks(state, page);
}
BENCHMARK(BM_PageChecksMisreadTitle)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);

// A page that is nearly all tags: short elements with attributes, headings, images and links.
std::string TagHeavyPage(std::size_t bytes) {
    std::string page =
        "<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\"><title>Tags</title>"
        "</head><body>";
    for (std::uint32_t i = 0; page.size() < bytes; ++i) {
        page += "<div class=\"row r" + std::to_string(i % 97) +
                "\" data-x='1'><h2>Part &amp; parcel</h2><a href=\"/p" + std::to_string(i) +
                "\">read more</a><img src=\"i.png\" alt=\"\"><span>word &eacute;t&eacute;</span>"
                "</div>\n";
    }
    return page + "</body></html>";
}

void BM_PageChecksTagHeavy(benchmark::State& state) {
    const std::string page = TagHeavyPage(static_cast<std::size_t>(state.range(0)));
    TimePageChecks(state, page);
}
BENCHMARK(BM_PageChecksTagHeavy)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);

// A whole HTML5 parse by gumbo, the reference parser of the tokenizer tests, on the same page:
// the figure the page checks' own tokenizer was written to beat.
void BM_GumboParse(benchmark::State& state) {
    const std::string page = velmora::bench::GeneratePage(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        GumboOutput* output =
            gumbo_parse_with_options(&kGumboDefaultOptions, page.data(), page.size());
        benchmark::DoNotOptimize(output->root);
        gumbo_destroy_output(&kGumboDefaultOptions, output);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_GumboParse)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);

}  // namespace
