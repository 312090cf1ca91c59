// bw_fill of the real blank IMM 1295 with fuzzed data JSON.
#include <string>

#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const std::string form = BW_FUZZ_FORM;
    std::string json(reinterpret_cast<const char *>(data), size);
    std::string out = fuzz_temp_path("out.pdf");
    bw_free(bw_fill(form.c_str(), out.c_str(), json.c_str()));
    std::remove(out.c_str());
    return 0;
}
