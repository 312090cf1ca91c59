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

}  // namespace bw
