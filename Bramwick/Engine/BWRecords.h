// The form engine's answers as the application sees them: plain value records with equality,
// hashing and their JSON form (the keys the engine writes).
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

// One data value of a form: its field path and its text.
struct BWField {
    std::string path;
    std::string value;

    const std::string &id() const { return path; }
    bool operator==(const BWField &) const = default;
};

// One field named by a validation: its path and its readable label.
struct BWIssue {
    std::string path;
    std::string label;

    const std::string &id() const { return path; }
    bool operator==(const BWIssue &) const = default;
};

// The outcome of running a form's own checks.
struct BWValidation {
    std::vector<BWIssue> missing;
    std::vector<BWIssue> formatErr;  // JSON key "format_err"
    std::string report;
    bool full = false;               // every section of the checks ran to completion

    // Nothing missing and nothing malformed.
    bool passed() const { return missing.empty() && formatErr.empty(); }
    bool operator==(const BWValidation &) const = default;
};

// One choice of a drop-down field.
struct BWFieldOption {
    std::string value;
    std::string label;

    bool operator==(const BWFieldOption &) const = default;
};

// One visible question of a form. Also the record of the app's schema resources.
struct BWFieldSpec {
    std::string path;
    std::string label;
    std::string type;
    std::string group;
    bool required = false;
    std::optional<std::vector<BWFieldOption>> options;  // absent: the field has no list of choices

    const std::string &id() const { return path; }
    bool operator==(const BWFieldSpec &) const = default;
};

// The work permit form's lists of provinces and of the cities of each province.
struct BWWorkLocationLOV {
    struct Item {
        std::string code;
        std::string label;

        bool operator==(const Item &) const = default;
    };

    std::vector<Item> provinces;
    std::map<std::string, std::vector<Item>> cities;  // province code -> its cities

    // Label of the first province with this code; else the code unchanged.
    std::string provinceLabel(const std::string &code) const;
    // Label of the first city with this code among the province's cities; else the code unchanged.
    std::string cityLabel(const std::string &code, const std::string &province) const;
    // The text itself when it is a province code; else the code of the first province labelled
    // so; else the text unchanged.
    std::string provinceCode(const std::string &text) const;
    // The same rule within the cities of the province; a province without a list gives the text.
    std::string cityCode(const std::string &text, const std::string &province) const;

    bool operator==(const BWWorkLocationLOV &) const = default;
};

// JSON form. Decoding is strict: a missing key or a wrong type throws nlohmann::json::exception;
// keys that are not listed are ignored. BWFieldSpec leaves "options" out when it is absent and
// takes a missing or null "options" as absent.
void to_json(nlohmann::json &j, const BWField &v);
void from_json(const nlohmann::json &j, BWField &v);
void to_json(nlohmann::json &j, const BWIssue &v);
void from_json(const nlohmann::json &j, BWIssue &v);
void to_json(nlohmann::json &j, const BWValidation &v);
void from_json(const nlohmann::json &j, BWValidation &v);
void to_json(nlohmann::json &j, const BWFieldOption &v);
void from_json(const nlohmann::json &j, BWFieldOption &v);
void to_json(nlohmann::json &j, const BWFieldSpec &v);
void from_json(const nlohmann::json &j, BWFieldSpec &v);
void to_json(nlohmann::json &j, const BWWorkLocationLOV::Item &v);
void from_json(const nlohmann::json &j, BWWorkLocationLOV::Item &v);
void to_json(nlohmann::json &j, const BWWorkLocationLOV &v);
void from_json(const nlohmann::json &j, BWWorkLocationLOV &v);

namespace std {
template <> struct hash<BWField> { size_t operator()(const BWField &v) const noexcept; };
template <> struct hash<BWIssue> { size_t operator()(const BWIssue &v) const noexcept; };
template <> struct hash<BWValidation> { size_t operator()(const BWValidation &v) const noexcept; };
template <> struct hash<BWFieldOption> { size_t operator()(const BWFieldOption &v) const noexcept; };
template <> struct hash<BWFieldSpec> { size_t operator()(const BWFieldSpec &v) const noexcept; };
template <> struct hash<BWWorkLocationLOV::Item> {
    size_t operator()(const BWWorkLocationLOV::Item &v) const noexcept;
};
template <> struct hash<BWWorkLocationLOV> { size_t operator()(const BWWorkLocationLOV &v) const noexcept; };
}  // namespace std
