#pragma once
// A supported form: which of its fields are fed from the applicant records, and by which concept
// key. Read from the resource "<id>.map.json".
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

struct FormMapping {
    std::string id;                             // "IMM5257", "IMM1295"
    std::string title;                          // shown in the forms list and on the fill screen
    std::string blank;                          // resource name of the blank PDF, without ".pdf"
    std::map<std::string, std::string> fields;  // field path -> concept key

    bool operator==(const FormMapping &) const = default;
};

// The four keys "id", "title", "blank", "fields" are required; "fields" maps strings to strings.
// None when the text is not such an object.
std::optional<FormMapping> decodeFormMapping(std::string_view text);

template <> struct std::hash<FormMapping> {
    std::size_t operator()(const FormMapping &m) const noexcept;
};
