#include "Engine/BWRecords.h"

#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {

// Every key is required and must hold the right type; at() and get<>() throw otherwise.
std::string text(const json &j, const char *key) {
    const json &v = j.at(key);
    if (!v.is_string())
        throw json::type_error::create(302, std::string("type must be string, but is ") + v.type_name() +
                                                " (key \"" + key + "\")", &v);
    return v.get<std::string>();
}

bool boolean(const json &j, const char *key) {
    const json &v = j.at(key);
    if (!v.is_boolean())
        throw json::type_error::create(302, std::string("type must be boolean, but is ") + v.type_name() +
                                                " (key \"" + key + "\")", &v);
    return v.get<bool>();
}

template <class T> std::vector<T> list(const json &j, const char *key) {
    return j.at(key).get<std::vector<T>>();
}

void requireObject(const json &j, const char *what) {
    if (!j.is_object())
        throw json::type_error::create(302, std::string("type must be object, but is ") + j.type_name() +
                                                " (" + what + ")", &j);
}

void combine(std::size_t &seed, std::size_t h) { seed ^= h + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2); }

std::size_t hashText(const std::string &s) { return std::hash<std::string>{}(s); }

template <class T> void combineList(std::size_t &seed, const std::vector<T> &items) {
    combine(seed, items.size());
    for (const T &item : items) combine(seed, std::hash<T>{}(item));
}

const BWWorkLocationLOV::Item *byCode(const std::vector<BWWorkLocationLOV::Item> &items, const std::string &code) {
    for (const auto &item : items)
        if (item.code == code) return &item;
    return nullptr;
}

const BWWorkLocationLOV::Item *byLabel(const std::vector<BWWorkLocationLOV::Item> &items, const std::string &label) {
    for (const auto &item : items)
        if (item.label == label) return &item;
    return nullptr;
}

// Code of a text that may already be a code (codes win) or a label; otherwise the text itself.
std::string codeOf(const std::vector<BWWorkLocationLOV::Item> &items, const std::string &text) {
    if (byCode(items, text)) return text;
    if (const auto *item = byLabel(items, text)) return item->code;
    return text;
}

}  // namespace

// ---- look-ups ----

std::string BWWorkLocationLOV::provinceLabel(const std::string &code) const {
    const Item *item = byCode(provinces, code);
    return item ? item->label : code;
}

std::string BWWorkLocationLOV::cityLabel(const std::string &code, const std::string &province) const {
    auto it = cities.find(province);
    if (it == cities.end()) return code;
    const Item *item = byCode(it->second, code);
    return item ? item->label : code;
}

std::string BWWorkLocationLOV::provinceCode(const std::string &text) const { return codeOf(provinces, text); }

std::string BWWorkLocationLOV::cityCode(const std::string &text, const std::string &province) const {
    auto it = cities.find(province);
    if (it == cities.end()) return text;
    return codeOf(it->second, text);
}

// ---- JSON ----

void to_json(json &j, const BWField &v) { j = json{{"path", v.path}, {"value", v.value}}; }
void from_json(const json &j, BWField &v) {
    requireObject(j, "field");
    v.path = text(j, "path");
    v.value = text(j, "value");
}

void to_json(json &j, const BWIssue &v) { j = json{{"label", v.label}, {"path", v.path}}; }
void from_json(const json &j, BWIssue &v) {
    requireObject(j, "issue");
    v.label = text(j, "label");
    v.path = text(j, "path");
}

void to_json(json &j, const BWValidation &v) {
    j = json{{"format_err", v.formatErr}, {"full", v.full}, {"missing", v.missing}, {"report", v.report}};
}
void from_json(const json &j, BWValidation &v) {
    requireObject(j, "validation");
    v.formatErr = list<BWIssue>(j, "format_err");
    v.full = boolean(j, "full");
    v.missing = list<BWIssue>(j, "missing");
    v.report = text(j, "report");
}

void to_json(json &j, const BWFieldOption &v) { j = json{{"label", v.label}, {"value", v.value}}; }
void from_json(const json &j, BWFieldOption &v) {
    requireObject(j, "option");
    v.label = text(j, "label");
    v.value = text(j, "value");
}

void to_json(json &j, const BWFieldSpec &v) {
    j = json{{"group", v.group}, {"label", v.label}, {"path", v.path}, {"required", v.required}, {"type", v.type}};
    if (v.options) j["options"] = *v.options;
}
void from_json(const json &j, BWFieldSpec &v) {
    requireObject(j, "field spec");
    v.group = text(j, "group");
    v.label = text(j, "label");
    auto options = j.find("options");
    if (options == j.end() || options->is_null())
        v.options.reset();
    else
        v.options = options->get<std::vector<BWFieldOption>>();
    v.path = text(j, "path");
    v.required = boolean(j, "required");
    v.type = text(j, "type");
}

void to_json(json &j, const BWWorkLocationLOV::Item &v) { j = json{{"code", v.code}, {"label", v.label}}; }
void from_json(const json &j, BWWorkLocationLOV::Item &v) {
    requireObject(j, "item");
    v.code = text(j, "code");
    v.label = text(j, "label");
}

void to_json(json &j, const BWWorkLocationLOV &v) { j = json{{"cities", v.cities}, {"provinces", v.provinces}}; }
void from_json(const json &j, BWWorkLocationLOV &v) {
    requireObject(j, "work-location lists");
    const json &cities = j.at("cities");
    requireObject(cities, "cities");
    std::map<std::string, std::vector<BWWorkLocationLOV::Item>> decoded;
    for (auto it = cities.begin(); it != cities.end(); ++it)
        decoded[it.key()] = it.value().get<std::vector<BWWorkLocationLOV::Item>>();
    v.cities = std::move(decoded);
    v.provinces = list<BWWorkLocationLOV::Item>(j, "provinces");
}

// ---- hashing ----

namespace std {

size_t hash<BWField>::operator()(const BWField &v) const noexcept {
    size_t seed = hashText(v.path);
    combine(seed, hashText(v.value));
    return seed;
}

size_t hash<BWIssue>::operator()(const BWIssue &v) const noexcept {
    size_t seed = hashText(v.path);
    combine(seed, hashText(v.label));
    return seed;
}

size_t hash<BWValidation>::operator()(const BWValidation &v) const noexcept {
    size_t seed = 0;
    combineList(seed, v.missing);
    combineList(seed, v.formatErr);
    combine(seed, hashText(v.report));
    combine(seed, v.full ? 1 : 0);
    return seed;
}

size_t hash<BWFieldOption>::operator()(const BWFieldOption &v) const noexcept {
    size_t seed = hashText(v.value);
    combine(seed, hashText(v.label));
    return seed;
}

size_t hash<BWFieldSpec>::operator()(const BWFieldSpec &v) const noexcept {
    size_t seed = hashText(v.path);
    combine(seed, hashText(v.label));
    combine(seed, hashText(v.type));
    combine(seed, hashText(v.group));
    combine(seed, v.required ? 1 : 0);
    combine(seed, v.options ? 1 : 0);
    if (v.options) combineList(seed, *v.options);
    return seed;
}

size_t hash<BWWorkLocationLOV::Item>::operator()(const BWWorkLocationLOV::Item &v) const noexcept {
    size_t seed = hashText(v.code);
    combine(seed, hashText(v.label));
    return seed;
}

size_t hash<BWWorkLocationLOV>::operator()(const BWWorkLocationLOV &v) const noexcept {
    size_t seed = 0;
    combineList(seed, v.provinces);
    combine(seed, v.cities.size());
    for (const auto &[province, items] : v.cities) {
        combine(seed, hashText(province));
        combineList(seed, items);
    }
    return seed;
}

}  // namespace std
