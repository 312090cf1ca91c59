#include "pdf_text/pdf_lines.h"

#include "lib/error.h"

namespace bw {

std::vector<std::string> pdf_lines(const std::string &) { throw Error("not available"); }

}  // namespace bw
