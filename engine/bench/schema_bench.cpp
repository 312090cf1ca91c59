// Describing a form: the schema of the real IMM 5257 beside the qpdf floor.
#include <string>

#include <benchmark/benchmark.h>

#include "acrobat/schema.h"
#include "floor.h"

namespace {

const std::string kSchemaForm = std::string(BW_FORMS_DIR) + "/imm5257e.pdf";

void BM_SchemaFloor_Imm5257(benchmark::State &state) {
    for (auto _ : state) bw_bench_floor(kSchemaForm);
}
BENCHMARK(BM_SchemaFloor_Imm5257)->Unit(benchmark::kMillisecond);

void BM_Schema_Imm5257(benchmark::State &state) {
    for (auto _ : state) benchmark::DoNotOptimize(bw::schema(kSchemaForm));
}
BENCHMARK(BM_Schema_Imm5257)->Unit(benchmark::kMillisecond);

}  // namespace
