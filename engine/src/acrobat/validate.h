#pragma once
// Checking a filled form with its own scripts.
#include <chrono>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bw {

struct ValidationResult {
    std::vector<std::string> missing;     // full field paths ("form1." + node path), sorted
    std::vector<std::string> format_err;  // full field paths, sorted
    std::map<std::string, std::string> labels;  // full path -> label
    // Sections that did not run to the end: "function name: thrown text".
    std::vector<std::string> incomplete_sections;
    // Paths the form's scripts asked for that the template does not have.
    std::vector<std::string> unresolved;
    // Milliseconds spent per script unit ("prelude", "dom", "libs", ...), in order of evaluation.
    std::vector<std::pair<std::string, double>> unit_ms;

    // The label of a full path, or the path itself when it has none.
    std::string label(const std::string &path) const;
    // True when every validation section ran to the end.
    bool full_confidence() const { return incomplete_sections.empty(); }
};

struct ValidationOptions {
    std::chrono::milliseconds time_limit{20000};  // for the form's scripts as a whole
    bool verbose = false;
};

// The validation run on the XML texts of the template and datasets packets.
ValidationResult validate_packets(const std::string &template_xml, const std::string &datasets_xml,
                                  const ValidationOptions &options = {});

ValidationResult acrobat_validate(const std::string &pdf_path, bool verbose);
std::string acrobat_report(const ValidationResult &result, bool verbose);

}  // namespace bw
