// Reading a form: the dump of the real IMM 5257 beside the qpdf floor.
#include <string>

#include <benchmark/benchmark.h>

#include "bramwick_engine.h"
#include "floor.h"
#include "lib/dump.h"

namespace {

const std::string kImm5257 = std::string(BW_FORMS_DIR) + "/imm5257e.pdf";

void BM_Floor_Imm5257(benchmark::State &state) {
    for (auto _ : state) bw_bench_floor(kImm5257);
}
BENCHMARK(BM_Floor_Imm5257)->Unit(benchmark::kMillisecond);

void BM_Dump_Imm5257(benchmark::State &state) {
    for (auto _ : state) benchmark::DoNotOptimize(bw::dump(kImm5257));
}
BENCHMARK(BM_Dump_Imm5257)->Unit(benchmark::kMillisecond);

// The same through the C interface, with the JSON answer.
void BM_BwDump_Imm5257(benchmark::State &state) {
    for (auto _ : state) bw_free(bw_dump(kImm5257.c_str()));
}
BENCHMARK(BM_BwDump_Imm5257)->Unit(benchmark::kMillisecond);

}  // namespace
