#pragma once
// The questions of a form: path, label, type, group, required flag and choices.
#include <optional>
#include <string>
#include <vector>

#include "acrobat/template_nodes.h"

namespace bw {

struct FieldSpec {
    std::string path, label, type, group;
    bool required = false;
    std::optional<std::vector<FieldOption>> options;
};

std::vector<FieldSpec> schema(const std::string &pdf_path);
// The questions of an already parsed template; datasets_root may be empty (no bound choices).
std::vector<FieldSpec> schemaOfTemplate(const pugi::xml_node &template_root,
                                        const pugi::xml_node &datasets_root);

}  // namespace bw
