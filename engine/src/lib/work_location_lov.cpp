#include "lib/work_location_lov.h"

#include "lib/error.h"
#include "lib/loaded_form.h"
#include "lib/xml_helpers.h"

namespace bw {

namespace {

// Items from the element children named `name`: code from `lic`, label from the trimmed text.
std::vector<LovItem> items(const pugi::xml_node &list, std::string_view name) {
    std::vector<LovItem> out;
    for (pugi::xml_node c = list.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element || xml::local_name(c) != name) continue;
        LovItem item{c.attribute("lic").value(), xml::trimmed_text(c)};
        if (!item.code.empty() && !item.label.empty()) out.push_back(std::move(item));
    }
    return out;
}

}  // namespace

WorkLocationLov work_location_lov(const std::string &pdf_path) {
    LoadedForm form = load_form(pdf_path);
    pugi::xml_document doc;
    xml::parse(doc, form.datasets);

    pugi::xml_node lovfile = xml::first_child(doc.document_element(), "LOVFile");
    pugi::xml_node lov = lovfile ? xml::first_child(lovfile, "LOV") : pugi::xml_node();
    if (!lov) throw Error("datasets 无 LOVFile.LOV");

    WorkLocationLov out;
    if (pugi::xml_node provinces = xml::first_child(lov, "ProvinceAbbrevList"))
        out.provinces = items(provinces, "ProvinceAbbrev");
    if (pugi::xml_node cities = xml::first_child(lov, "CityList")) {
        for (pugi::xml_node p = cities.first_child(); p; p = p.next_sibling()) {
            if (p.type() != pugi::node_element) continue;
            std::string code = p.attribute("lic").value();
            if (code.empty()) continue;
            out.cities[code] = items(p, "City");
        }
    }
    return out;
}

}  // namespace bw
