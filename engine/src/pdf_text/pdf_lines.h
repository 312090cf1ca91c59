#pragma once
// The text lines of any PDF, in reading order.
#include <string>
#include <vector>

namespace bw {

std::vector<std::string> pdf_lines(const std::string &pdf_path);

}  // namespace bw
