#include "acrobat/schema.h"

#include "lib/error.h"

namespace bw {

std::vector<FieldSpec> schema(const std::string &) { throw Error("not available"); }

}  // namespace bw
