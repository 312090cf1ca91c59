// Text lines of a ten-page questionnaire printed to PDF by Chromium.
#include <benchmark/benchmark.h>

#include <string>

#include "pdf_text/pdf_lines.h"

static void BM_PdfLines_TenPagePrintedQuestionnaire(benchmark::State &state) {
    const std::string path = std::string(BW_SOURCE_DIR) + "/engine/tests/fixtures/pdf_text/questionnaire_10p.pdf";
    size_t lines = 0;
    for (auto _ : state) {
        auto result = bw::pdf_lines(path);
        lines = result.size();
        benchmark::DoNotOptimize(result);
    }
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["pages_per_s"] = benchmark::Counter(10.0 * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PdfLines_TenPagePrintedQuestionnaire)->Unit(benchmark::kMillisecond);
