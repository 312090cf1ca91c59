#pragma once
// Shared pieces of the C interface: argument checks and answer texts.
#include <string>

#include <nlohmann/json.hpp>

namespace bw::ffi {

// True when p is non-null and its bytes up to the NUL are well-formed UTF-8.
bool valid_utf8(const char *p);

// A newly allocated NUL-terminated copy of text (null when memory runs out).
char *copy_answer(const std::string &text);
// Compact JSON, keys in byte order, non-ASCII written as UTF-8.
char *json_answer(const nlohmann::json &answer);
// {"error": message}
char *error_answer(const std::string &message) noexcept;

// Runs op (which returns the success JSON) and turns every failure into the error envelope.
template <class Op>
char *guarded(Op &&op) noexcept {
    try {
        return json_answer(op());
    } catch (const std::bad_alloc &) {
        return error_answer("out of memory");
    } catch (const std::exception &e) {
        return error_answer(e.what());
    } catch (...) {
        return error_answer("unknown failure");
    }
}

}  // namespace bw::ffi
