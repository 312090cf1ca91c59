#include "lib/work_location_lov.h"

#include "lib/error.h"

namespace bw {

WorkLocationLov work_location_lov(const std::string &) { throw Error("not available"); }

}  // namespace bw
