#pragma once
// Checking a filled form with its own scripts.
#include <map>
#include <string>
#include <vector>

namespace bw {

struct ValidationResult {
    std::vector<std::string> missing;     // field paths
    std::vector<std::string> format_err;  // field paths
    std::map<std::string, std::string> labels;  // path -> label
    std::vector<std::string> incomplete_sections;  // sections that did not run to the end
    // further facts the report needs are added by the validation run
};

ValidationResult acrobat_validate(const std::string &pdf_path, bool verbose);
std::string acrobat_report(const ValidationResult &result, bool verbose);

}  // namespace bw
