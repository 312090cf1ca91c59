#include "lib/fill.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

#include <pugixml.hpp>

#include "lib/atomic_file.h"
#include "lib/error.h"
#include "lib/fill_writer.h"
#include "lib/loaded_form.h"
#include "lib/xml_helpers.h"
#include "lib/xml_writer.h"

namespace bw {

namespace {

using json = nlohmann::json;
using Assignments = std::vector<std::pair<std::string, std::string>>;

// A value nested deeper than this is refused rather than serialised (the serialiser recurses).
constexpr size_t kMaxValueDepth = 512;
// Highest instance index a path may ask to be created; the forms repeat rows a handful of times.
constexpr uint64_t kMaxCreatedIndex = 999;

void check_depth(const json &v) {
    std::vector<std::pair<const json *, size_t>> stack{{&v, 1}};
    while (!stack.empty()) {
        auto [node, depth] = stack.back();
        stack.pop_back();
        if (!node->is_structured()) continue;
        if (depth > kMaxValueDepth)
            throw Error("data 嵌套过深（超过 " + std::to_string(kMaxValueDepth) + " 层）");
        for (const auto &child : *node) stack.emplace_back(&child, depth + 1);
    }
}

// A JSON string gives its own text; any other value its compact JSON text.
std::string value_text(const json &v) {
    if (v.is_string()) return v.get_ref<const std::string &>();
    check_depth(v);
    return v.dump(-1, ' ', false, json::error_handler_t::replace);
}

const json *member(const json &data, const char *key) {
    if (!data.is_object()) return nullptr;
    auto it = data.find(key);
    return it == data.end() ? nullptr : &*it;
}

std::vector<std::pair<std::string, uint64_t>> list_counts(const json &data) {
    std::vector<std::pair<std::string, uint64_t>> out;
    const json *lists = member(data, "lists");
    if (lists && lists->is_object())
        for (const auto &[key, rows] : lists->items())
            if (rows.is_array()) out.emplace_back(key, rows.size());
    return out;
}

// ---- format check ----

bool is_digits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// The digits' value as an unsigned 32-bit number, 0 when it does not fit.
uint32_t u32_value(std::string_view digits) {
    uint64_t v = 0;
    for (char c : digits) {
        v = v * 10 + static_cast<uint64_t>(c - '0');
        if (v > UINT32_MAX) return 0;
    }
    return static_cast<uint32_t>(v);
}

// Length of the UTF-8 character at s[i]; 1 for a byte that does not start a valid one.
size_t char_length(std::string_view s, size_t i) {
    auto b = static_cast<unsigned char>(s[i]);
    size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xe ? 3 : (b >> 3) == 0x1e ? 4 : 0;
    if (n == 0 || i + n > s.size()) return 1;
    for (size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xc0) != 0x80) return 1;
    return n;
}

std::string field_name(std::string_view path) {
    auto dot = path.rfind('.');
    std::string_view seg = dot == std::string_view::npos ? path : path.substr(dot + 1);
    return std::string(seg.substr(0, seg.find('[')));
}

// The problem text for one value, or empty when it passes.
std::string format_problem(const std::string &name, const std::string &value) {
    for (unsigned char c : value)
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return name + " 含 XML 不允许的控制字符";

    if (name == "FamilyName" || name == "GivenName") {
        std::string bad;
        for (size_t i = 0; i < value.size();) {
            size_t n = char_length(value, i);
            char c = value[i];
            bool ok = n == 1 && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ' ' || c == '\'' || c == '-');
            if (!ok) {
                if (!bad.empty()) bad += ", ";
                bad += "'" + value.substr(i, n) + "'";
            }
            i += n;
        }
        if (bad.empty()) return {};
        return name + " 含非法字符 [" + bad + "]；只允许字母/连字符/撇号/空格";
    }
    const bool year = name == "Year", month = name == "Month";
    if (year || month || name == "Day" || name == "UCI") {
        if (value.empty()) return {};
        if (!is_digits(value)) return name + " 只能是数字，得到 " + value;
        uint32_t v = u32_value(value);
        if (year && (v < 1900 || v > 2099)) return "Year 超出范围: " + value;
        if (month && (v < 1 || v > 12)) return "Month 超出 1-12: " + value;
    }
    return {};
}

void check_format(const Assignments &assignments) {
    std::string lines;
    for (const auto &[path, value] : assignments) {
        std::string problem = format_problem(field_name(path), value);
        if (problem.empty()) continue;
        lines += "\n  " + path + ": " + problem;
    }
    if (!lines.empty()) throw Error("字段格式校验未通过:" + lines);
}

// ---- applying values to the datasets tree ----

struct Segment {
    std::string_view name;
    uint64_t index = 0;
};

std::vector<std::string_view> split(std::string_view s, char sep) {
    std::vector<std::string_view> parts;
    for (;;) {
        auto at = s.find(sep);
        parts.push_back(s.substr(0, at));
        if (at == std::string_view::npos) return parts;
        s.remove_prefix(at + 1);
    }
}

// "Name" is instance 0; "Name[k]" instance k. An index that is not an unsigned decimal number
// (also "Name[" with nothing after it) is 0.
Segment parse_segment(std::string_view s) {
    auto lb = s.find('[');
    if (lb == std::string_view::npos) return {s, 0};
    Segment seg{s.substr(0, lb), 0};
    if (lb + 1 >= s.size()) return seg;
    std::string_view digits = s.substr(lb + 1, s.size() - 1 - (lb + 1));
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    if (!is_digits(digits)) return seg;
    uint64_t v = 0;
    for (char c : digits) {
        uint64_t d = static_cast<uint64_t>(c - '0');
        if (v > (UINT64_MAX - d) / 10) return seg;
        v = v * 10 + d;
    }
    seg.index = v;
    return seg;
}

std::vector<pugi::xml_node> children_named(const pugi::xml_node &e, std::string_view name) {
    std::vector<pugi::xml_node> out;
    for (pugi::xml_node c = e.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && xml::local_name(c) == name) out.push_back(c);
    return out;
}

void remove_children(pugi::xml_node e) {
    while (pugi::xml_node c = e.first_child()) e.remove_child(c);
}

// Leaves (elements without element children) lose their content; other nodes stay.
void empty_values(pugi::xml_node root) {
    std::vector<pugi::xml_node> stack{root};
    while (!stack.empty()) {
        pugi::xml_node e = stack.back();
        stack.pop_back();
        bool has_element = false;
        for (pugi::xml_node c = e.first_child(); c; c = c.next_sibling())
            if (c.type() == pugi::node_element) {
                has_element = true;
                stack.push_back(c);
            }
        if (!has_element) remove_children(e);
    }
}

void apply(pugi::xml_node e, const std::string &path, const std::string &value) {
    for (std::string_view part : split(path, '.')) {
        Segment seg = parse_segment(part);
        auto instances = children_named(e, seg.name);
        if (instances.empty()) throw Error("路径不存在且无模板可克隆: " + std::string(seg.name));
        if (seg.index >= instances.size() && seg.index > kMaxCreatedIndex)
            throw Error("实例序号过大（最多 " + std::to_string(kMaxCreatedIndex + 1) + " 个实例）: " + path);
        while (instances.size() <= seg.index) {
            pugi::xml_node last = instances.back();
            pugi::xml_node copy = e.insert_copy_after(last, last);
            if (!copy) throw Error("XML: cannot copy " + std::string(seg.name));
            empty_values(copy);
            instances.push_back(copy);
        }
        e = instances[seg.index];
    }
    remove_children(e);
    pugi::xml_node text = e.append_child(pugi::node_pcdata);
    if (!text || !text.set_value(value.c_str(), value.size())) throw Error("XML: cannot set " + path);
}

void trim_list(pugi::xml_node parent, const std::string &list_path, uint64_t count) {
    auto parts = split(list_path, '.');
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        Segment seg = parse_segment(parts[i]);
        auto instances = children_named(parent, seg.name);
        if (seg.index >= instances.size()) return;
        parent = instances[seg.index];
    }
    std::string_view item = parts.back().substr(0, parts.back().find('['));
    auto instances = children_named(parent, item);
    while (instances.size() > count) {
        parent.remove_child(instances.back());
        instances.pop_back();
    }
}

void fill(const std::string &input, const std::string &output, const json &data) {
    const Assignments assignments = expand_json(data);
    const auto counts = list_counts(data);
    check_format(assignments);

    const LoadedForm form = load_form(input);
    check_updatable(form);

    pugi::xml_document doc;
    parse_xml_faithfully(doc, form.datasets);
    pugi::xml_node root = doc.document_element();
    pugi::xml_node data_element = xml::first_child(root, "data");
    if (!data_element) throw Error("no data");

    for (const auto &[path, value] : assignments) apply(data_element, path, value);
    for (const auto &[list_path, count] : counts) trim_list(data_element, list_path, count);

    const UpdateStreams streams = encrypt_streams(form, serialize_xml(root));
    const std::string bytes = atomic_file::read(input);
    const std::string update =
        build_update(form, bytes.size(), bytes.empty() ? '\n' : bytes.back(), streams);
    atomic_file::write(output, {bytes, update});

    std::fprintf(stderr, "✅ %s (%zu 字段, 追加 %zu 字节, UR3保留靠增量)\n", output.c_str(), assignments.size(),
                 update.size());
}

}  // namespace

std::vector<std::pair<std::string, std::string>> expand_json(const nlohmann::json &data) {
    Assignments out;
    if (!data.is_object()) return out;
    const json *fields = member(data, "fields");
    const json *lists = member(data, "lists");
    if (fields && fields->is_object())
        for (const auto &[key, value] : fields->items()) out.emplace_back(key, value_text(value));
    if (lists && lists->is_object())
        for (const auto &[list_path, rows] : lists->items()) {
            if (!rows.is_array()) continue;
            for (size_t i = 0; i < rows.size(); ++i) {
                const json &row = rows[i];
                if (!row.is_object()) continue;
                const std::string prefix = list_path + "[" + std::to_string(i) + "].";
                for (const auto &[key, value] : row.items()) out.emplace_back(prefix + key, value_text(value));
            }
        }
    if (!fields && !lists)
        for (const auto &[key, value] : data.items()) out.emplace_back(key, value_text(value));
    return out;
}

void fill_data(const std::string &input, const std::string &output, const nlohmann::json &data) {
    try {
        fill(input, output, data);
    } catch (const Error &) {
        throw;
    } catch (const std::exception &e) {
        throw Error(e.what());
    }
}

}  // namespace bw
