#include "pdf_text/to_unicode.h"

#include <algorithm>
#include <vector>

namespace bw {

namespace {

// Codes above this are never looked up (strings are decoded as one- or two-byte codes).
constexpr uint32_t kMaxCode = 0xFFFF;
// Bound on the work a single CMap may cause through its bfrange entries.
constexpr size_t kRangeBudget = 1u << 20;

struct Token {
    enum Kind { Hex, Word, ArrayOpen, ArrayClose, Other, End } kind = End;
    std::string text;  // decoded bytes for Hex, the word otherwise
};

class Lexer {
public:
    explicit Lexer(std::string_view s) : s_(s) {}

    Token next() {
        skip_space();
        Token t;
        if (i_ >= s_.size()) return t;
        char c = s_[i_];
        if (c == '<' && i_ + 1 < s_.size() && s_[i_ + 1] == '<') {
            i_ += 2;
            t.kind = Token::Other;
            return t;
        }
        if (c == '>' && i_ + 1 < s_.size() && s_[i_ + 1] == '>') {
            i_ += 2;
            t.kind = Token::Other;
            return t;
        }
        if (c == '<') {
            ++i_;
            t.kind = Token::Hex;
            int hi = -1;
            while (i_ < s_.size() && s_[i_] != '>') {
                int v = hex_value(s_[i_++]);
                if (v < 0) continue;  // white space (and junk) inside hex strings is ignored
                if (hi < 0) {
                    hi = v;
                } else {
                    t.text.push_back(static_cast<char>(hi * 16 + v));
                    hi = -1;
                }
            }
            if (hi >= 0) t.text.push_back(static_cast<char>(hi * 16));  // odd digit count: pad with 0
            if (i_ < s_.size()) ++i_;
            return t;
        }
        if (c == '[') {
            ++i_;
            t.kind = Token::ArrayOpen;
            return t;
        }
        if (c == ']') {
            ++i_;
            t.kind = Token::ArrayClose;
            return t;
        }
        if (c == '(') {
            skip_literal();
            t.kind = Token::Other;
            return t;
        }
        if (c == '/' || c == '{' || c == '}' || c == '>' || c == ')') {
            ++i_;
            if (c == '/') read_word();
            t.kind = Token::Other;
            return t;
        }
        t.kind = Token::Word;
        t.text = read_word();
        if (t.text.empty()) {  // a lone delimiter we do not know: step over it
            ++i_;
            t.kind = Token::Other;
        }
        return t;
    }

private:
    static int hex_value(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }
    static bool is_space(char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0';
    }
    static bool is_delim(char c) {
        return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' ||
               c == '}' || c == '/' || c == '%';
    }
    void skip_space() {
        while (i_ < s_.size()) {
            if (is_space(s_[i_])) {
                ++i_;
            } else if (s_[i_] == '%') {
                while (i_ < s_.size() && s_[i_] != '\n' && s_[i_] != '\r') ++i_;
            } else {
                break;
            }
        }
    }
    std::string read_word() {
        size_t start = i_;
        while (i_ < s_.size() && !is_space(s_[i_]) && !is_delim(s_[i_])) ++i_;
        return std::string(s_.substr(start, i_ - start));
    }
    void skip_literal() {
        int depth = 0;
        while (i_ < s_.size()) {
            char c = s_[i_++];
            if (c == '\\') {
                if (i_ < s_.size()) ++i_;
            } else if (c == '(') {
                ++depth;
            } else if (c == ')') {
                if (--depth == 0) return;
            }
        }
    }

    std::string_view s_;
    size_t i_ = 0;
};

uint32_t code_of(const std::string &bytes) {
    uint32_t v = 0;
    for (unsigned char b : bytes) v = (v << 8) | b;
    return v;
}

bool is_end(const Token &t, const char *word) { return t.kind == Token::Word && t.text == word; }

// The destination of code lo + offset in a bfrange whose first destination is `dst`:
// the last byte of the destination is incremented (carrying into the byte before).
std::string advance(std::string dst, uint32_t offset) {
    for (size_t k = dst.size(); k > 0 && offset > 0; --k) {
        uint32_t v = static_cast<unsigned char>(dst[k - 1]) + offset;
        dst[k - 1] = static_cast<char>(v & 0xFF);
        offset = v >> 8;
    }
    return dst;
}

}  // namespace

void append_utf8(std::string &out, uint32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string utf16be_to_utf8(std::string_view bytes) {
    std::string out;
    size_t n = bytes.size() / 2;
    auto unit = [&](size_t k) {
        return static_cast<uint32_t>((static_cast<unsigned char>(bytes[2 * k]) << 8) |
                                     static_cast<unsigned char>(bytes[2 * k + 1]));
    };
    for (size_t k = 0; k < n; ++k) {
        uint32_t u = unit(k);
        if (u >= 0xD800 && u <= 0xDBFF && k + 1 < n) {
            uint32_t low = unit(k + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                append_utf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++k;
                continue;
            }
        }
        append_utf8(out, u);
    }
    if (bytes.size() == 1) append_utf8(out, static_cast<unsigned char>(bytes[0]));
    return out;
}

ToUnicodeMap ToUnicodeMap::parse(std::string_view cmap) {
    ToUnicodeMap map;
    Lexer lex(cmap);
    size_t budget = kRangeBudget;
    for (Token t = lex.next(); t.kind != Token::End; t = lex.next()) {
        if (is_end(t, "beginbfchar")) {
            for (;;) {
                Token src = lex.next();
                if (src.kind == Token::End || is_end(src, "endbfchar")) break;
                if (src.kind != Token::Hex) continue;
                Token dst = lex.next();
                if (dst.kind == Token::End || is_end(dst, "endbfchar")) break;
                if (dst.kind != Token::Hex || src.text.empty() || src.text.size() > 4) continue;
                uint32_t code = code_of(src.text);
                if (code <= kMaxCode) map.set(code, utf16be_to_utf8(dst.text));
            }
        } else if (is_end(t, "beginbfrange")) {
            for (;;) {
                Token lo = lex.next();
                if (lo.kind == Token::End || is_end(lo, "endbfrange")) break;
                if (lo.kind != Token::Hex) continue;
                Token hi = lex.next();
                if (hi.kind == Token::End || is_end(hi, "endbfrange")) break;
                if (hi.kind != Token::Hex) continue;
                Token dst = lex.next();
                if (dst.kind == Token::End || is_end(dst, "endbfrange")) break;
                std::vector<std::string> list;
                if (dst.kind == Token::ArrayOpen) {
                    for (Token e = lex.next(); e.kind != Token::ArrayClose && e.kind != Token::End;
                         e = lex.next()) {
                        if (e.kind == Token::Hex) list.push_back(e.text);
                    }
                } else if (dst.kind != Token::Hex) {
                    continue;
                }
                if (lo.text.empty() || lo.text.size() > 4 || hi.text.size() > 4) continue;
                uint32_t first = code_of(lo.text);
                uint32_t last = std::min(code_of(hi.text), kMaxCode);
                for (uint32_t code = first; code <= last && budget > 0; ++code, --budget) {
                    uint32_t off = code - first;
                    if (dst.kind == Token::ArrayOpen) {
                        if (off >= list.size()) break;
                        map.set(code, utf16be_to_utf8(list[off]));
                    } else {
                        map.set(code, utf16be_to_utf8(advance(dst.text, off)));
                    }
                }
            }
        }
    }
    return map;
}

std::string decode_shown_string(std::string_view bytes, const ToUnicodeMap *map) {
    std::string out;
    if (map == nullptr) {
        for (unsigned char b : bytes) append_utf8(out, b);
        return out;
    }
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        uint32_t code = (static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 8) |
                        static_cast<unsigned char>(bytes[i + 1]);
        if (const std::string *t = map->find(code)) out += *t;
    }
    if (!out.empty()) return out;
    for (unsigned char b : bytes) {
        if (const std::string *t = map->find(b)) out += *t;
    }
    return out;
}

const std::string *ToUnicodeMap::find(uint32_t code) const {
    auto it = entries_.find(code);
    return it == entries_.end() ? nullptr : &it->second;
}

}  // namespace bw
