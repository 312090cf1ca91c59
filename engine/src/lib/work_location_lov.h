#pragma once
// The provinces and cities that the work permit form offers for the work location.
#include <map>
#include <string>
#include <vector>

namespace bw {

struct LovItem {
    std::string code, label;
};
struct WorkLocationLov {
    std::vector<LovItem> provinces;
    std::map<std::string, std::vector<LovItem>> cities;  // province code -> cities
};

WorkLocationLov work_location_lov(const std::string &pdf_path);

}  // namespace bw
