// The C interface. (Operations are connected as they land.)
#include "bramwick_engine.h"

#include <cstdlib>
#include <cstring>

namespace {
char *answer(const char *text) {
    size_t n = std::strlen(text);
    char *p = static_cast<char *>(std::malloc(n + 1));
    if (p) std::memcpy(p, text, n + 1);
    return p;
}
}  // namespace

extern "C" {
char *bw_dump(const char *) { return answer("{\"error\":\"not available\"}"); }
char *bw_schema(const char *) { return answer("{\"error\":\"not available\"}"); }
char *bw_fill(const char *, const char *, const char *) { return answer("{\"error\":\"not available\"}"); }
char *bw_validate(const char *) { return answer("{\"error\":\"not available\"}"); }
char *bw_pdf_lines(const char *) { return answer("{\"error\":\"not available\"}"); }
char *bw_work_location_lov(const char *) { return answer("{\"error\":\"not available\"}"); }
void bw_free(char *p) { std::free(p); }
}
