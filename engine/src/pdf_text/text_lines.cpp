#include "pdf_text/text_lines.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace bw {

namespace {

bool is_unicode_space(uint32_t cp) {
    return (cp >= 0x09 && cp <= 0x0D) || cp == 0x20 || cp == 0x85 || cp == 0xA0 || cp == 0x1680 ||
           (cp >= 0x2000 && cp <= 0x200A) || cp == 0x2028 || cp == 0x2029 || cp == 0x202F ||
           cp == 0x205F || cp == 0x3000;
}

bool is_continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Decodes the code point starting at byte i (the text is UTF-8 we built ourselves).
uint32_t decode_at(const std::string &s, size_t i, size_t &len) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (i + len > s.size()) {
        len = 1;
        return c;
    }
    uint32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    return cp;
}

}  // namespace

std::string trim_unicode_space(const std::string &text) {
    size_t begin = 0;
    while (begin < text.size()) {
        size_t len;
        if (!is_unicode_space(decode_at(text, begin, len))) break;
        begin += len;
    }
    size_t end = text.size();
    while (end > begin) {
        size_t start = end - 1;
        while (start > begin && is_continuation(static_cast<unsigned char>(text[start]))) --start;
        size_t len;
        if (!is_unicode_space(decode_at(text, start, len))) break;
        end = start;
    }
    return text.substr(begin, end - begin);
}

void append_lines(std::vector<TextPiece> pieces, std::vector<std::string> &out) {
    // A position that is not a number (from a degenerate matrix) would break the ordering of the
    // sorts below; such pieces go to the end of the page, and to the end of their line.
    for (TextPiece &p : pieces) {
        if (std::isnan(p.y)) p.y = -INFINITY;
        if (std::isnan(p.x)) p.x = INFINITY;
    }
    std::stable_sort(pieces.begin(), pieces.end(),
                     [](const TextPiece &a, const TextPiece &b) { return a.y > b.y; });
    size_t i = 0;
    while (i < pieces.size()) {
        size_t j = i + 1;
        while (j < pieces.size() && std::fabs(pieces[j].y - pieces[i].y) < kLineTolerance) ++j;
        std::stable_sort(pieces.begin() + i, pieces.begin() + j,
                         [](const TextPiece &a, const TextPiece &b) { return a.x < b.x; });
        std::string line;
        for (size_t k = i; k < j; ++k) line += pieces[k].text;
        line = trim_unicode_space(line);
        if (!line.empty()) out.push_back(std::move(line));
        i = j;
    }
}

}  // namespace bw
