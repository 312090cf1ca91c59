#pragma once
// Text pieces placed on a page, and how they become lines in reading order.
#include <string>
#include <vector>

namespace bw {

struct TextPiece {
    float y = 0;
    float x = 0;
    std::string text;  // UTF-8, never empty
};

// Pieces closer than this to the first piece of a line (vertically) belong to that line.
constexpr float kLineTolerance = 4.0f;

// Sorts the pieces top to bottom, groups them into lines by height, orders each line left to
// right, joins its texts without separators and trims white space; blank lines are dropped.
// Appends the lines to `out`.
void append_lines(std::vector<TextPiece> pieces, std::vector<std::string> &out);

// The text without leading and trailing Unicode white space.
std::string trim_unicode_space(const std::string &text);

}  // namespace bw
