#pragma once
// One row of the fill screen, and the construction of all rows of a form.
#include <map>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <vector>

#include "Engine/BWRecords.h"
#include "Forms/FormMapping.h"
#include "Model/Application.h"
#include "Model/ClientProfile.h"

struct FieldView {
    std::string path;
    std::string label;   // translated
    std::string type;    // "dropdown", "yesno", "checkbox" or another (text)
    std::string group;
    std::string value;
    bool readonly = false;
    std::string source;  // "profile", "application", "const" or "form"
    bool required = false;
    std::optional<std::string> concept;
    std::optional<std::vector<BWFieldOption>> options;

    bool operator==(const FieldView &) const = default;
};

void to_json(nlohmann::json &j, const FieldView &v);
void from_json(const nlohmann::json &j, FieldView &v);

// One row per distinct path of the specifications, in schema order (the first occurrence of a
// path wins): mapped fields read-only with their concept value, the form's own fields editable
// with their stored value.
std::vector<FieldView> buildFieldViews(const FormMapping &mapping, const std::vector<BWFieldSpec> &specs,
                                       const ClientProfile &profile, const Application &application,
                                       const std::map<std::string, std::string> &formValues);
