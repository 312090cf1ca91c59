#include "acrobat/template_nodes.h"

#include <optional>
#include <string_view>
#include <utility>

#include "lib/xml_helpers.h"

namespace bw {

namespace {

using xml::local_name;

using xml::space_length_at;

// The text with every run of white space collapsed to one space and no space at either end.
std::string collapse_spaces(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    bool pending = false;
    for (size_t i = 0; i < s.size();) {
        if (size_t n = space_length_at(s, i)) {
            pending = true;
            i += n;
            continue;
        }
        if (pending && !out.empty()) out.push_back(' ');
        pending = false;
        out.push_back(s[i++]);
    }
    return out;
}

std::string_view cut_at_bracket(std::string_view s) {
    auto b = s.find('[');
    return b == std::string_view::npos ? s : s.substr(0, b);
}

bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }
bool is_lower(char c) { return c >= 'a' && c <= 'z'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A caption too short to name a question on its own ("", "MM", "DD", "YYYY", one CJK character).
bool is_weak(const std::string &caption) { return caption.size() < 4 || caption == "YYYY"; }

std::string ui_kind(const pugi::xml_node &field) {
    pugi::xml_node ui = xml::first_child(field, "ui");
    for (pugi::xml_node c = ui.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        std::string_view name = local_name(c);
        if (name == "picture" || name == "extras") continue;
        return std::string(name);
    }
    return "textEdit";
}

std::string mandatory_of(const pugi::xml_node &element) {
    pugi::xml_node validate = xml::first_child(element, "validate");
    return std::string_view(validate.attribute("nullTest").value()) == "error" ? "error" : "disabled";
}

// Where the walk stands: the path prefix and the group caption handed to an element's children.
struct Scope {
    std::string prefix, group;
};

// Visits every element below root depth first in document order without recursion (templates
// from outside can nest arbitrarily deep). visit(element, scope) returns the scope for its children.
template <class Visit>
void walk(const pugi::xml_node &root, Visit visit) {
    struct Frame {
        pugi::xml_node child;  // next child to look at
        Scope scope;           // the scope of the children of this level
    };
    std::vector<Frame> stack;
    stack.push_back({root.first_child(), Scope{}});
    while (!stack.empty()) {
        Frame &top = stack.back();
        pugi::xml_node node = top.child;
        if (!node) {
            stack.pop_back();
            continue;
        }
        top.child = node.next_sibling();
        if (node.type() != pugi::node_element) continue;
        Scope inner = visit(node, top.scope);  // `top` may dangle after the push below
        if (pugi::xml_node first = node.first_child()) stack.push_back({first, std::move(inner)});
    }
}

}  // namespace

std::string captionText(const pugi::xml_node &element) {
    pugi::xml_node text =
        xml::first_child(xml::first_child(xml::first_child(element, "caption"), "value"), "text");
    if (!text) return {};
    std::string joined = collapse_spaces(xml::text(text).value_or(std::string()));
    size_t stars = joined.find_first_not_of('*');
    if (stars == std::string::npos) return {};
    return xml::trim(std::string_view(joined).substr(stars));
}

std::string humanizeName(const std::string &name) {
    std::string_view s = cut_at_bracket(name);
    std::string out;
    out.reserve(s.size() + 8);
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (i > 0 && is_upper(c)) {
            char prev = s[i - 1];
            bool next_lower = i + 1 < s.size() && is_lower(s[i + 1]);
            if (is_lower(prev) || is_digit(prev) || (is_upper(prev) && next_lower)) out.push_back(' ');
        }
        out.push_back(c);
    }
    return out;
}

std::vector<TemplateNode> collectTemplateNodes(const pugi::xml_node &template_root) {
    std::vector<TemplateNode> nodes;
    walk(template_root, [&](const pugi::xml_node &element, const Scope &scope) -> Scope {
        std::string_view kind = local_name(element);
        bool is_field = kind == "field";
        if (kind != "subform" && kind != "exclGroup" && !is_field) return scope;
        pugi::xml_attribute name_attr = element.attribute("name");
        if (!name_attr) return scope;
        std::string name = name_attr.value();

        Scope inner;
        bool is_root = name == "form1";
        if (!is_root) inner.prefix = scope.prefix.empty() ? name : scope.prefix + "." + name;
        std::string caption = captionText(element);
        inner.group = (!is_field && !caption.empty()) ? caption : scope.group;
        if (is_root) return inner;

        TemplateNode node;
        node.path = inner.prefix;
        node.className = std::string(kind);
        node.mandatory = kind == "subform" ? "disabled" : mandatory_of(element);
        pugi::xml_attribute presence = element.attribute("presence");
        node.presence = presence ? presence.value() : "visible";
        if (is_field) node.uiKind = ui_kind(element);
        if (kind != "subform") {
            if (!is_weak(caption)) {
                node.label = caption;
            } else {
                node.label = humanizeName(name);
                if (!scope.group.empty()) node.label = scope.group + " - " + node.label;
            }
        }
        nodes.push_back(std::move(node));
        return inner;
    });
    return nodes;
}

namespace {

using OptionList = std::vector<FieldOption>;

std::vector<std::string> item_texts(const pugi::xml_node &items) {
    std::vector<std::string> out;
    for (pugi::xml_node c = items.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        std::string_view n = local_name(c);
        if (n == "text" || n == "integer" || n == "float" || n == "decimal") out.push_back(xml::trimmed_text(c));
    }
    return out;
}

// The zipped (saved value, display label) pairs of the field's `items` lists, or nothing.
OptionList listed_options(const pugi::xml_node &field) {
    std::optional<std::vector<std::string>> saved, shown;
    for (pugi::xml_node c = field.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element || local_name(c) != "items") continue;
        (std::string_view(c.attribute("save").value()) == "1" ? saved : shown) = item_texts(c);
    }
    OptionList out;
    if (!saved || !shown || saved->empty() || saved->size() != shown->size()) return out;
    out.reserve(saved->size());
    for (size_t i = 0; i < saved->size(); ++i) out.push_back({(*saved)[i], (*shown)[i]});
    return out;
}

std::string read_ref(const pugi::xml_node &candidate, std::string_view ref) {
    if (ref.empty() || ref == "$") return xml::trimmed_text(candidate);
    if (ref.front() == '@') ref.remove_prefix(1);
    std::string key(ref);
    if (pugi::xml_attribute a = candidate.attribute(key.c_str())) return a.value();
    if (pugi::xml_node child = xml::first_child(candidate, key)) return xml::trimmed_text(child);
    return {};
}

std::vector<std::string_view> split_dots(std::string_view s) {
    std::vector<std::string_view> out;
    for (;;) {
        auto dot = s.find('.');
        out.push_back(s.substr(0, dot));
        if (dot == std::string_view::npos) return out;
        s.remove_prefix(dot + 1);
    }
}

// The pairs of a `bindItems` that points into the datasets' LOVFile lists, or nothing.
OptionList bound_options(const pugi::xml_node &bind, const pugi::xml_node &datasets_root) {
    OptionList out;
    std::string ref = bind.attribute("ref").value();
    pugi::xml_attribute value_attr = bind.attribute("valueRef"), label_attr = bind.attribute("labelRef");
    std::string value_ref = value_attr ? value_attr.value() : "$";
    std::string label_ref = label_attr ? label_attr.value() : "$";

    std::vector<std::string_view> pieces = split_dots(ref);
    std::string_view item_name = cut_at_bracket(pieces.back());
    size_t start = 0;
    while (start < pieces.size() && pieces[start] != "LOVFile") ++start;
    if (start == pieces.size()) return out;
    pugi::xml_node list = datasets_root;
    for (size_t i = start; i + 1 < pieces.size(); ++i) {
        list = xml::first_child(list, cut_at_bracket(pieces[i]));
        if (!list) return out;
    }
    for (pugi::xml_node c = list.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element || local_name(c) != item_name) continue;
        std::string value = read_ref(c, value_ref), label = read_ref(c, label_ref);
        if (!value.empty() && !label.empty()) out.push_back({std::move(value), std::move(label)});
    }
    return out;
}

}  // namespace

ChoiceOptions collectChoiceOptions(const pugi::xml_node &template_root, const pugi::xml_node &datasets_root) {
    ChoiceOptions options;
    walk(template_root, [&](const pugi::xml_node &element, const Scope &) -> Scope {
        if (local_name(element) != "field") return {};
        pugi::xml_attribute name = element.attribute("name");
        if (!name) return {};
        OptionList listed = listed_options(element);
        if (!listed.empty()) options[name.value()] = std::move(listed);
        if (datasets_root) {
            if (pugi::xml_node bind = xml::first_child(element, "bindItems")) {
                OptionList bound = bound_options(bind, datasets_root);
                if (!bound.empty()) options[name.value()] = std::move(bound);
            }
        }
        return {};
    });
    return options;
}

}  // namespace bw
