#include "lib/dump.h"

#include <string_view>
#include <unordered_map>

#include "lib/error.h"
#include "lib/loaded_form.h"
#include "lib/xml_helpers.h"

namespace bw {

namespace {

using xml::local_name;

pugi::xml_node element_root(const pugi::xml_node &node) {
    if (node.type() != pugi::node_document) return node;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element) return c;
    return {};
}

bool is_element(const pugi::xml_node &n) { return n.type() == pugi::node_element; }

std::string_view cut_at_bracket(std::string_view s) {
    size_t b = s.find('[');
    return b == std::string_view::npos ? s : s.substr(0, b);
}

// The values of an <items> list: trimmed texts of its text/integer/float/decimal children.
std::vector<std::string> item_list(const pugi::xml_node &items) {
    std::vector<std::string> out;
    for (pugi::xml_node c = items.first_child(); c; c = c.next_sibling()) {
        if (!is_element(c)) continue;
        std::string_view n = local_name(c);
        if (n == "text" || n == "integer" || n == "float" || n == "decimal")
            out.push_back(xml::trimmed_text(c));
    }
    return out;
}

// The text of a data-list item that a valueRef/labelRef reference names.
std::string item_text(const pugi::xml_node &item, std::string_view ref) {
    if (ref.empty() || ref == "$") return xml::trimmed_text(item);
    if (ref.front() == '@') ref.remove_prefix(1);
    for (pugi::xml_attribute a = item.first_attribute(); a; a = a.next_attribute())
        if (ref == a.name()) return a.value();
    pugi::xml_node child = xml::first_child(item, ref);
    return child ? xml::trimmed_text(child) : std::string();
}

// The choices a <bindItems> element draws from the datasets' LOVFile lists.
std::map<std::string, std::string> bound_items(const pugi::xml_node &bind,
                                               const pugi::xml_node &datasets_root) {
    std::map<std::string, std::string> out;
    pugi::xml_attribute ref_attr = bind.attribute("ref");
    pugi::xml_attribute value_attr = bind.attribute("valueRef");
    pugi::xml_attribute label_attr = bind.attribute("labelRef");
    std::string_view ref = ref_attr ? ref_attr.value() : "";
    std::string_view value_ref = value_attr ? value_attr.value() : "$";
    std::string_view label_ref = label_attr ? label_attr.value() : "$";

    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        size_t dot = ref.find('.', start);
        parts.push_back(ref.substr(start, dot == std::string_view::npos ? ref.npos : dot - start));
        if (dot == std::string_view::npos) break;
        start = dot + 1;
    }
    if (ref.empty()) return out;
    std::string_view item_name = cut_at_bracket(parts.back());
    size_t first = parts.size();
    for (size_t i = 0; i + 1 < parts.size(); ++i)
        if (parts[i] == "LOVFile") {
            first = i;
            break;
        }
    if (first == parts.size()) return out;

    pugi::xml_node node = datasets_root;
    for (size_t i = first; i + 1 < parts.size(); ++i) {
        node = xml::first_child(node, cut_at_bracket(parts[i]));
        if (!node) return out;
    }
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (!is_element(c) || local_name(c) != item_name) continue;
        std::string value = item_text(c, value_ref);
        std::string label = item_text(c, label_ref);
        if (!value.empty() && !label.empty()) out[std::move(value)] = std::move(label);
    }
    return out;
}

void add_field(ChoiceLabelMap &map, const pugi::xml_node &field, const pugi::xml_node &datasets_root) {
    pugi::xml_attribute name = field.attribute("name");
    if (!name) return;
    pugi::xml_node stored_items, shown_items, bind;
    for (pugi::xml_node c = field.first_child(); c; c = c.next_sibling()) {
        if (!is_element(c)) continue;
        std::string_view n = local_name(c);
        if (n == "items") {
            if (std::string_view(c.attribute("save").value()) == "1")
                stored_items = c;
            else
                shown_items = c;
        } else if (n == "bindItems" && !bind) {
            bind = c;
        }
    }
    if (stored_items && shown_items) {
        std::vector<std::string> stored = item_list(stored_items);
        std::vector<std::string> shown = item_list(shown_items);
        if (!stored.empty() && stored.size() == shown.size()) {
            std::map<std::string, std::string> m;
            for (size_t i = 0; i < stored.size(); ++i) m.emplace(std::move(stored[i]), std::move(shown[i]));
            map[name.value()] = std::move(m);
        }
    }
    if (bind && datasets_root) {
        auto m = bound_items(bind, datasets_root);
        if (!m.empty()) map[name.value()] = std::move(m);
    }
}

struct Walker {
    const ChoiceLabelMap &labels;
    FieldValues &out;
    std::string path;

    void emit(const pugi::xml_node &leaf) {
        std::string value = xml::trimmed_text(leaf);
        if (!value.empty()) {
            std::string_view name = path;
            size_t dot = name.rfind('.');
            if (dot != std::string_view::npos) name.remove_prefix(dot + 1);
            name = cut_at_bracket(name);
            auto field = labels.find(std::string(name));
            if (field != labels.end()) {
                auto hit = field->second.find(value);
                if (hit != field->second.end()) value = hit->second;
            }
        }
        out.emplace_back(path, std::move(value));
    }

    // Depth-first over the data tree; an explicit stack, so deep data cannot exhaust the call stack.
    struct Frame {
        std::vector<std::pair<pugi::xml_node, std::string>> kids;  // child and its path segment
        size_t next = 0;
        size_t base = 0;  // length of the parent's path
    };
    std::vector<Frame> stack;

    // path holds node's path.
    void enter(const pugi::xml_node &node) {
        Frame f;
        f.base = path.size();
        // name -> (occurrences, instances seen so far)
        std::unordered_map<std::string_view, std::pair<int, int>> counts;
        for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
            if (is_element(c)) {
                f.kids.emplace_back(c, std::string());
                ++counts[local_name(c)].first;
            }
        if (f.kids.empty()) {
            emit(node);
            return;
        }
        for (auto &[child, segment] : f.kids) {
            std::string_view name = local_name(child);
            auto &count = counts[name];
            segment.assign(name);
            if (count.first > 1) {
                segment += '[';
                segment += std::to_string(count.second);
                segment += ']';
            }
            ++count.second;
        }
        stack.push_back(std::move(f));
    }

    void walk(const pugi::xml_node &top) {
        enter(top);
        while (!stack.empty()) {
            Frame &f = stack.back();
            if (f.next == f.kids.size()) {
                stack.pop_back();
                continue;
            }
            const pugi::xml_node child = f.kids[f.next].first;
            path.resize(f.base);
            path += '.';
            path += f.kids[f.next].second;
            ++f.next;
            enter(child);  // may grow the stack: f is not used after this
        }
    }
};

}  // namespace

ChoiceLabelMap build_choice_label_map(const pugi::xml_node &template_root,
                                      const pugi::xml_node &datasets_root) {
    ChoiceLabelMap map;
    const pugi::xml_node data_root = datasets_root ? element_root(datasets_root) : pugi::xml_node();
    const pugi::xml_node top = template_root;
    if (!top) return map;
    // Depth-first, document order, every element visited.
    pugi::xml_node n = top.first_child();
    while (n) {
        if (is_element(n) && local_name(n) == "field") add_field(map, n, data_root);
        if (pugi::xml_node c = n.first_child()) {
            n = c;
            continue;
        }
        while (n && n != top && !n.next_sibling()) n = n.parent();
        if (!n || n == top) break;
        n = n.next_sibling();
    }
    if (is_element(top) && local_name(top) == "field") add_field(map, top, data_root);
    return map;
}

FieldValues dump(const std::string &pdf_path) {
    LoadedForm form = load_form(pdf_path);

    pugi::xml_document datasets;
    xml::parse(datasets, form.datasets);

    ChoiceLabelMap labels;
    if (form.template_) {
        pugi::xml_document templ;
        try {
            xml::parse(templ, *form.template_);
            labels = build_choice_label_map(templ, datasets.document_element());
        } catch (const Error &) {
            labels.clear();
        }
    }

    pugi::xml_node data = xml::first_child(datasets.document_element(), "data");
    if (!data) throw Error("no data");

    FieldValues out;
    Walker walker{labels, out, {}, {}};
    for (pugi::xml_node c = data.first_child(); c; c = c.next_sibling()) {
        if (!is_element(c)) continue;
        walker.path.assign(local_name(c));
        walker.walk(c);
    }
    return out;
}

}  // namespace bw
