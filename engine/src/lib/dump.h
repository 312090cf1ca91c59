#pragma once
// Every data value of a filled form as (path, value), choice codes replaced by display texts.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <pugixml.hpp>

namespace bw {

using FieldValues = std::vector<std::pair<std::string, std::string>>;
// field name -> (stored value -> display text)
using ChoiceLabelMap = std::map<std::string, std::map<std::string, std::string>>;

ChoiceLabelMap build_choice_label_map(const pugi::xml_node &template_root,
                                      const pugi::xml_node &datasets_root);
FieldValues dump(const std::string &pdf_path);

}  // namespace bw
