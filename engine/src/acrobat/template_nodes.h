#pragma once
// The template walk: named subforms, exclusion groups and fields with their paths, labels and
// kinds. Shared by the schema and by the validation run.
#include <map>
#include <string>
#include <vector>

#include <pugixml.hpp>

namespace bw {

struct TemplateNode {
    std::string path;       // without the root "form1", no instance indexes
    std::string className;  // "subform", "exclGroup" or "field"
    std::string mandatory;  // "error" or "disabled"
    std::string presence;   // the presence attribute, "visible" when absent
    std::string uiKind;     // fields: the ui element's one-of child ("textEdit" by default)
    std::string label;      // empty for subforms
};

struct FieldOption {
    std::string value, label;
};
using ChoiceOptions = std::map<std::string, std::vector<FieldOption>>;

std::vector<TemplateNode> collectTemplateNodes(const pugi::xml_node &template_root);
ChoiceOptions collectChoiceOptions(const pugi::xml_node &template_root,
                                   const pugi::xml_node &datasets_root);
std::string captionText(const pugi::xml_node &element);
std::string humanizeName(const std::string &name);

}  // namespace bw
