#pragma once
// Follows the text-positioning operators of a page's content and collects the text pieces.
#ifndef POINTERHOLDER_TRANSITION
#define POINTERHOLDER_TRANSITION 4
#endif
#include <qpdf/QPDFObjectHandle.hh>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "pdf_text/text_lines.h"
#include "pdf_text/to_unicode.h"

namespace bw {

// A page's fonts: resource name (with its slash, "/F1") -> ToUnicode map (null: the font has none).
using FontTable = std::unordered_map<std::string, std::shared_ptr<const ToUnicodeMap>>;

// Affine matrix [a b c d e f] in PDF's row-vector convention.
struct Matrix {
    float a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    // The matrix that applies `first`, then `then` (PDF's `first × then`).
    static Matrix product(const Matrix &first, const Matrix &then);
};

class TextInterpreter {
public:
    explicit TextInterpreter(const FontTable &fonts) : fonts_(fonts) {}

    // One content operator with the operands that came before it. Operators that do not
    // position or show text, and operators with unusable operands, have no effect.
    void apply(const std::string &op, std::vector<QPDFObjectHandle> &operands);

    const std::vector<TextPiece> &pieces() const { return pieces_; }
    std::vector<TextPiece> take_pieces() { return std::move(pieces_); }

private:
    void show(const std::string &text);
    const ToUnicodeMap *current_map() const;

    const FontTable &fonts_;
    Matrix ctm_;
    std::vector<Matrix> saved_;
    float x_ = 0, y_ = 0, leading_ = 0;
    std::string font_;
    bool has_font_ = false;
    std::vector<TextPiece> pieces_;
};

}  // namespace bw
