#include "lib/loaded_form.h"

#include "lib/error.h"

namespace bw {

LoadedForm load_form(const std::string &) { throw Error("not available"); }

}  // namespace bw
