// bw_fill with a fuzzed input PDF and a fixed, realistic data JSON.
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string in = fuzz_write("in.pdf", data, size);
    std::string out = fuzz_temp_path("out.pdf");
    const char *json =
        "{\"fields\":{\"form1.Page1.PersonalDetails.Name.FamilyName\":\"Li\","
        "\"form1.Page1.PersonalDetails.Name.GivenName\":\"Wei\"}}";
    bw_free(bw_fill(in.c_str(), out.c_str(), json));
    std::remove(in.c_str());
    std::remove(out.c_str());
    return 0;
}
