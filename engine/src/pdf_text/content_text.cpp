#include "pdf_text/content_text.h"

namespace bw {

namespace {

// Nesting of q without Q beyond this is not remembered (a malformed stream cannot grow memory
// without bound); the matching Q then has nothing to restore.
constexpr size_t kMaxSavedMatrices = 1u << 16;

bool numbers(std::vector<QPDFObjectHandle> &ops, size_t n, float *out) {
    if (ops.size() < n) return false;
    size_t base = ops.size() - n;
    for (size_t i = 0; i < n; ++i) {
        QPDFObjectHandle &h = ops[base + i];
        if (!h.isNumber()) return false;
        out[i] = static_cast<float>(h.getNumericValue());
    }
    return true;
}

}  // namespace

Matrix Matrix::product(const Matrix &m, const Matrix &n) {
    Matrix r;
    r.a = m.a * n.a + m.b * n.c;
    r.b = m.a * n.b + m.b * n.d;
    r.c = m.c * n.a + m.d * n.c;
    r.d = m.c * n.b + m.d * n.d;
    r.e = m.e * n.a + m.f * n.c + n.e;
    r.f = m.e * n.b + m.f * n.d + n.f;
    return r;
}

const ToUnicodeMap *TextInterpreter::current_map() const {
    if (!has_font_) return nullptr;
    auto it = fonts_.find(font_);
    return it == fonts_.end() ? nullptr : it->second.get();
}

void TextInterpreter::show(const std::string &text) {
    if (text.empty()) return;
    TextPiece p;
    p.x = ctm_.a * x_ + ctm_.c * y_ + ctm_.e;
    p.y = ctm_.b * x_ + ctm_.d * y_ + ctm_.f;
    p.text = text;
    pieces_.push_back(std::move(p));
}

void TextInterpreter::apply(const std::string &op, std::vector<QPDFObjectHandle> &operands) {
    float v[6];
    if (op == "q") {
        if (saved_.size() < kMaxSavedMatrices) saved_.push_back(ctm_);
    } else if (op == "Q") {
        if (!saved_.empty()) {
            ctm_ = saved_.back();
            saved_.pop_back();
        }
    } else if (op == "cm") {
        if (numbers(operands, 6, v)) ctm_ = Matrix::product(Matrix{v[0], v[1], v[2], v[3], v[4], v[5]}, ctm_);
    } else if (op == "BT") {
        x_ = 0;
        y_ = 0;
    } else if (op == "TL") {
        if (numbers(operands, 1, v)) leading_ = v[0];
    } else if (op == "Tf") {
        if (!operands.empty() && operands.front().isName()) {
            font_ = operands.front().getName();
            has_font_ = true;
        }
    } else if (op == "Td") {
        if (numbers(operands, 2, v)) {
            x_ += v[0];
            y_ += v[1];
        }
    } else if (op == "Tm") {
        if (numbers(operands, 6, v)) {
            x_ = v[4];
            y_ = v[5];
        }
    } else if (op == "T*") {
        y_ -= leading_;
    } else if (op == "Tj") {
        if (!operands.empty() && operands.back().isString()) {
            show(decode_shown_string(operands.back().getStringValue(), current_map()));
        }
    } else if (op == "TJ") {
        if (!operands.empty() && operands.back().isArray()) {
            const ToUnicodeMap *map = current_map();
            std::string joined;
            for (QPDFObjectHandle item : operands.back().getArrayAsVector()) {
                if (item.isString()) joined += decode_shown_string(item.getStringValue(), map);
            }
            show(joined);
        }
    }
}

}  // namespace bw
