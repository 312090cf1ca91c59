#include "lib/xml_helpers.h"

#include <cstring>

#include "lib/error.h"

namespace bw::xml {

std::string_view local_name(const pugi::xml_node &node) {
    std::string_view name = node.name();
    auto colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node first_child(const pugi::xml_node &node, std::string_view name) {
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && local_name(c) == name) return c;
    return {};
}

std::optional<std::string> text(const pugi::xml_node &node) {
    std::optional<std::string> out;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
            if (!out) out.emplace();
            out->append(c.value());
        }
    }
    return out;
}

size_t space_length_at(std::string_view s, size_t i) {
    auto u = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char c = u(i);
    if (c == ' ' || (c >= 0x09 && c <= 0x0d)) return 1;
    if (c == 0xc2 && i + 1 < s.size() && (u(i + 1) == 0x85 || u(i + 1) == 0xa0)) return 2;
    if (i + 2 < s.size()) {
        unsigned b1 = u(i + 1), b2 = u(i + 2);
        if (c == 0xe1 && b1 == 0x9a && b2 == 0x80) return 3;                  // U+1680
        if (c == 0xe2 && b1 == 0x80 && (b2 <= 0x8a || b2 == 0xa8 || b2 == 0xa9 || b2 == 0xaf))
            return 3;                                                          // U+2000..200A, 2028, 2029, 202F
        if (c == 0xe2 && b1 == 0x81 && b2 == 0x9f) return 3;                  // U+205F
        if (c == 0xe3 && b1 == 0x80 && b2 == 0x80) return 3;                  // U+3000
    }
    return 0;
}

namespace {
// Length of a white-space character that ends at s[end-1] (0 when there is none).
size_t space_before(std::string_view s, size_t end) {
    for (size_t len = 1; len <= 3 && len <= end; ++len)
        if (space_length_at(s, end - len) == len) return len;
    return 0;
}
}  // namespace

std::string trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e) {
        size_t n = space_length_at(s, b);
        if (!n) break;
        b += n;
    }
    while (e > b) {
        size_t n = space_before(s, e);
        if (!n) break;
        e -= n;
    }
    return std::string(s.substr(b, e - b));
}

std::string trimmed_text(const pugi::xml_node &node) {
    auto t = text(node);
    return t ? trim(*t) : std::string();
}

void parse(pugi::xml_document &doc, const std::string &bytes) {
    auto r = doc.load_buffer(bytes.data(), bytes.size(),
                             pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_utf8);
    if (!r) throw Error(std::string("XML: ") + r.description() + " at offset " + std::to_string(r.offset));
}

}  // namespace bw::xml
