// Validation of the real IMM 5257, blank and filled, beside the fill of the same form; the
// per-unit counters show where the time goes (script compilation is most of "libs").
#include <filesystem>
#include <string>
#include <unistd.h>

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include "acrobat/validate.h"
#include "lib/fill.h"
#include "lib/loaded_form.h"

namespace {

const std::string kImm5257 = std::string(BW_FORMS_DIR) + "/imm5257e.pdf";

nlohmann::json personalData() {
    const std::string pd = "form1.Page1.PersonalDetails.";
    const std::string pp = "form1.Page2.MaritalStatus.SectionA.Passport.";
    nlohmann::json f = {{pd + "Name.FamilyName", "WANG"},
                        {pd + "Name.GivenName", "LEI"},
                        {pd + "Sex.Sex", "Female"},
                        {pd + "DOBYear", "1990"},
                        {pd + "DOBMonth", "07"},
                        {pd + "DOBDay", "15"},
                        {pd + "PlaceBirthCity", "Shanghai"},
                        {pd + "PlaceBirthCountry", "202"},
                        {pd + "Citizenship.Citizenship", "202"},
                        {pp + "PassportNum.PassportNum", "E12345678"},
                        {pp + "CountryofIssue.CountryofIssue", "202"},
                        {pp + "IssueDate.IssueDate", "2019-03-01"},
                        {pp + "ExpiryDate", "2029-02-28"}};
    return {{"fields", f}};
}

std::string tempPdf(const char *name) {
    return (std::filesystem::temp_directory_path() / (std::string(name) + std::to_string(getpid()) + ".pdf"))
        .string();
}

void addUnitCounters(benchmark::State &state, const bw::ValidationResult &r) {
    for (const auto &[unit, ms] : r.unit_ms) state.counters[unit + "_ms"] = ms;
}

void validate(benchmark::State &state, const std::string &pdf) {
    bw::ValidationResult last;
    for (auto _ : state) {
        last = bw::acrobat_validate(pdf, false);
        benchmark::DoNotOptimize(bw::acrobat_report(last, false));
    }
    addUnitCounters(state, last);
    state.counters["missing"] = double(last.missing.size());
}

void BM_Validate_Imm5257Blank(benchmark::State &state) { validate(state, kImm5257); }
BENCHMARK(BM_Validate_Imm5257Blank)->Unit(benchmark::kMillisecond);

void BM_Validate_Imm5257Filled(benchmark::State &state) {
    const std::string out = tempPdf("bw_validate_bench_filled");
    try {
        bw::fill_data(kImm5257, out, personalData());
    } catch (const std::exception &e) {
        state.SkipWithError(e.what());
        return;
    }
    validate(state, out);
    std::filesystem::remove(out);
}
BENCHMARK(BM_Validate_Imm5257Filled)->Unit(benchmark::kMillisecond);

// The fill of the same form, the measure the validation is compared with.
void BM_Validate_FillReference_Imm5257(benchmark::State &state) {
    const std::string out = tempPdf("bw_validate_bench_fill");
    const nlohmann::json data = personalData();
    for (auto _ : state) {
        try {
            bw::fill_data(kImm5257, out, data);
        } catch (const std::exception &e) {
            state.SkipWithError(e.what());
            break;
        }
    }
    std::filesystem::remove(out);
}
BENCHMARK(BM_Validate_FillReference_Imm5257)->Unit(benchmark::kMillisecond);

}  // namespace
