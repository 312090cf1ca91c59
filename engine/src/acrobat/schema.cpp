#include "acrobat/schema.h"

#include <string_view>
#include <unordered_set>

#include "lib/error.h"
#include "lib/loaded_form.h"
#include "lib/xml_helpers.h"

namespace bw {

namespace {

std::string type_of(const TemplateNode &node) {
    if (node.className == "exclGroup") return "yesno";
    if (node.uiKind == "choiceList") return "dropdown";
    if (node.uiKind == "dateTimeEdit") return "date";
    if (node.uiKind == "checkButton") return "checkbox";
    if (node.uiKind == "numericEdit") return "number";
    return "text";
}

// The section a question belongs to: the second path piece (the first when there is one only).
std::string group_of(std::string_view path) {
    auto dot = path.find('.');
    if (dot == std::string_view::npos) return humanizeName(std::string(path));
    std::string_view rest = path.substr(dot + 1);
    return humanizeName(std::string(rest.substr(0, rest.find('.'))));
}

// True when the field lies inside one of the exclusion groups (its option buttons).
bool inside_group(const std::string &path, const std::unordered_set<std::string_view> &groups) {
    for (size_t dot = path.find('.'); dot != std::string::npos; dot = path.find('.', dot + 1))
        if (groups.count(std::string_view(path).substr(0, dot))) return true;
    return false;
}

}  // namespace

std::vector<FieldSpec> schema(const std::string &pdf_path) {
    LoadedForm form = load_form(pdf_path);
    if (!form.template_) throw Error("PDF 无 template 包");
    pugi::xml_document template_doc, datasets_doc;
    xml::parse(template_doc, *form.template_);
    pugi::xml_node datasets_root;
    try {
        xml::parse(datasets_doc, form.datasets);
        datasets_root = datasets_doc.document_element();
    } catch (const Error &) {
        // Without readable data, bound drop-down lists simply have no choices.
    }
    return schemaOfTemplate(template_doc.document_element(), datasets_root);
}

std::vector<FieldSpec> schemaOfTemplate(const pugi::xml_node &template_root,
                                        const pugi::xml_node &datasets_root) {
    std::vector<TemplateNode> nodes = collectTemplateNodes(template_root);
    ChoiceOptions choices = collectChoiceOptions(template_root, datasets_root);

    std::unordered_set<std::string_view> groups;
    for (const TemplateNode &n : nodes)
        if (n.className == "exclGroup") groups.insert(n.path);

    std::vector<FieldSpec> specs;
    for (const TemplateNode &n : nodes) {
        bool is_field = n.className == "field";
        if (!is_field && n.className != "exclGroup") continue;
        if (n.presence != "visible" || n.uiKind == "button") continue;
        if (is_field && inside_group(n.path, groups)) continue;
        FieldSpec spec;
        spec.path = "form1." + n.path;
        spec.label = n.label;
        spec.type = type_of(n);
        spec.required = n.mandatory == "error";
        spec.group = group_of(n.path);
        if (spec.type == "dropdown") {
            std::string_view last = n.path;
            if (auto dot = last.rfind('.'); dot != std::string_view::npos) last.remove_prefix(dot + 1);
            last = last.substr(0, last.find('['));
            if (auto it = choices.find(std::string(last)); it != choices.end()) spec.options = it->second;
        }
        specs.push_back(std::move(spec));
    }
    return specs;
}

}  // namespace bw
