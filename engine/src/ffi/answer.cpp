#include "ffi/answer.h"

#include <cstdlib>
#include <cstring>

namespace bw::ffi {

bool valid_utf8(const char *p) {
    if (!p) return false;
    auto s = reinterpret_cast<const unsigned char *>(p);
    while (*s) {
        unsigned c = *s;
        if (c < 0x80) {
            ++s;
            continue;
        }
        int extra;
        unsigned cp, min;
        if (c >= 0xc2 && c <= 0xdf) {
            extra = 1, cp = c & 0x1f, min = 0x80;
        } else if (c >= 0xe0 && c <= 0xef) {
            extra = 2, cp = c & 0x0f, min = 0x800;
        } else if (c >= 0xf0 && c <= 0xf4) {
            extra = 3, cp = c & 0x07, min = 0x10000;
        } else {
            return false;
        }
        for (int i = 1; i <= extra; ++i) {
            if ((s[i] & 0xc0) != 0x80) return false;  // also stops at the NUL
            cp = (cp << 6) | (s[i] & 0x3f);
        }
        if (cp < min || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff)) return false;
        s += extra + 1;
    }
    return true;
}

char *copy_answer(const std::string &text) {
    char *p = static_cast<char *>(std::malloc(text.size() + 1));
    if (p) std::memcpy(p, text.c_str(), text.size() + 1);
    return p;
}

char *json_answer(const nlohmann::json &answer) {
    return copy_answer(answer.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

char *error_answer(const std::string &message) noexcept {
    try {
        nlohmann::json e = nlohmann::json::object();
        e["error"] = message;
        return json_answer(e);
    } catch (...) {
        return copy_answer("{\"error\":\"out of memory\"}");
    }
}

}  // namespace bw::ffi
