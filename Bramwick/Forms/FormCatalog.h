#pragma once
// The supported forms, read once from the mapping resources "IMM5257.map.json" and
// "IMM1295.map.json", in that order. A resource that is missing or does not decode is left out.
#include <string_view>
#include <vector>

#include "Forms/FormMapping.h"

const std::vector<FormMapping> &formCatalog();
// The first catalogue entry with this id, or null.
const FormMapping *catalogForm(std::string_view id);
