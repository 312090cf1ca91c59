// The field value dump: paths, leaf values and choice labels, on the real forms and small ones.
#include "lib/dump.h"

#include <set>
#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "lib/error.h"
#include "lib/loaded_form.h"
#include "lib/xml_helpers.h"
#include "xfa_fixture.h"

using namespace bwtest;
using ::testing::ElementsAre;
using ::testing::Pair;

namespace {

std::string datasets_xml(const std::string &data) {
    return "<xfa:datasets xmlns:xfa=\"http://www.xfa.org/schema/xfa-data/1.0/\"><xfa:data>" + data +
           "</xfa:data></xfa:datasets>";
}

struct SmallForm {
    TempDir dir;
    std::string path;
    SmallForm(const std::string &datasets, const std::optional<std::string> &templ = std::nullopt) {
        XfaPdf spec;
        if (templ) spec.packets.push_back({"template", *templ});
        spec.packets.push_back({"datasets", datasets});
        path = dir.write("form.pdf", build_pdf(spec));
    }
};

std::string dump_error(const std::string &path) {
    try {
        bw::dump(path);
    } catch (const bw::Error &e) {
        return e.what();
    }
    return "(dumped)";
}

std::map<std::string, std::string> as_map(const bw::FieldValues &values) {
    return {values.begin(), values.end()};
}

}  // namespace

TEST(DumpReal, BlankFormsListEveryDataLeafOnce) {
    for (const char *name : {"imm5257e.pdf", "imm1295e.pdf"}) {
        SCOPED_TRACE(name);
        const std::string path = form_path(name);
        bw::FieldValues values = bw::dump(path);

        // Count the leaves of the data element independently.
        bw::LoadedForm form = bw::load_form(path);
        pugi::xml_document doc;
        bw::xml::parse(doc, form.datasets);
        pugi::xml_node data = bw::xml::first_child(doc.document_element(), "data");
        size_t leaves = data.select_nodes(".//*[not(*)]").size();
        EXPECT_EQ(values.size(), leaves);
        EXPECT_GT(values.size(), 200u);

        std::set<std::string> paths;
        for (const auto &[p, v] : values) {
            EXPECT_TRUE(paths.insert(p).second) << "duplicate " << p;
            EXPECT_EQ(p.rfind("form1.", 0), 0u) << p;
        }
    }
    auto blank = as_map(bw::dump(form_path("imm5257e.pdf")));
    EXPECT_EQ(blank.at("form1.Page1.PersonalDetails.Name.FamilyName"), "");
    EXPECT_EQ(blank.at("form1.Page1.AdultFlag"), "false");
    auto blank1295 = as_map(bw::dump(form_path("imm1295e.pdf")));
    EXPECT_EQ(blank1295.count("form1.Page4.BackgroundInfo.Choice[1]"), 1u);
    EXPECT_EQ(blank1295.count("form1.Page4.BackgroundInfo.Choice"), 0u);
}

TEST(DumpReal, ChoiceCodesComeBackAsTheirDisplayTexts) {
    TempDir dir;
    const std::string out = (dir.path / "filled.pdf").string();
    rewrite_datasets(form_path("imm5257e.pdf"), out, [](const std::string &xml) {
        pugi::xml_document doc;
        bw::xml::parse(doc, xml);
        pugi::xml_node details = doc.document_element().first_element_by_path("xfa:data/form1/Page1/PersonalDetails");
        details.child("PlaceBirthCountry").text().set("252");           // bound to CountryOfBirthList
        details.child("VisaType").child("VisaType").text().set("VisitorVisa");  // items save="1"
        details.child("Citizenship").child("Citizenship").text().set("999");   // no such code
        details.child("Sex").child("Sex").text().set("Female");
        details.child("Name").child("FamilyName").text().set("252");           // no list at all
        std::ostringstream s;
        doc.save(s, "", pugi::format_raw | pugi::format_no_declaration);
        return s.str();
    });
    auto values = as_map(bw::dump(out));
    const std::string p = "form1.Page1.PersonalDetails.";
    EXPECT_EQ(values.at(p + "PlaceBirthCountry"), "Afghanistan");
    EXPECT_EQ(values.at(p + "VisaType.VisaType"), "Visitor Visa");
    EXPECT_EQ(values.at(p + "Citizenship.Citizenship"), "999");
    EXPECT_EQ(values.at(p + "Sex.Sex"), "Female");
    EXPECT_EQ(values.at(p + "Name.FamilyName"), "252");
}

TEST(DumpReal, ChoiceLabelMapOfTheRealTemplate) {
    bw::LoadedForm form = bw::load_form(form_path("imm5257e.pdf"));
    pugi::xml_document templ, datasets;
    bw::xml::parse(templ, *form.template_);
    bw::xml::parse(datasets, form.datasets);
    bw::ChoiceLabelMap map = bw::build_choice_label_map(templ.document_element(), datasets.document_element());
    EXPECT_EQ(map.at("PlaceBirthCountry").at("252"), "Afghanistan");
    EXPECT_EQ(map.at("VisaType").at("Transit"), "Transit");
    EXPECT_EQ(map.at("VisaType").at(""), "");  // the nil first entry pairs with the blank one
    // Without datasets only the template's own lists remain.
    bw::ChoiceLabelMap own = bw::build_choice_label_map(templ.document_element(), pugi::xml_node());
    EXPECT_EQ(own.count("PlaceBirthCountry"), 0u);
    EXPECT_EQ(own.count("VisaType"), 1u);
}

TEST(Dump, PathsIndexRepeatedNamesOnly) {
    SmallForm f(datasets_xml("<form1><T><Row>a</Row><Total> 9 </Total><Row><X>b</X></Row>"
                             "<Row>  \n </Row><Empty/>text<!--c--><Mixed>ignored<Y>y</Y></Mixed></T>"
                             "<Row>r</Row></form1>"));
    EXPECT_THAT(bw::dump(f.path), ElementsAre(Pair("form1.T.Row[0]", "a"), Pair("form1.T.Total", "9"),
                                              Pair("form1.T.Row[1].X", "b"), Pair("form1.T.Row[2]", ""),
                                              Pair("form1.T.Empty", ""), Pair("form1.T.Mixed.Y", "y"),
                                              Pair("form1.Row", "r")));
}

TEST(Dump, ChoiceListsOfTheTemplate) {
    const std::string templ =
        "<template><subform name='A'>"
        "<field name='Pick'><items><text>Yes please</text><text>No thanks</text></items>"
        "<items save='1'><text>Y</text><text>N</text></items></field>"
        "<field name='Num'><items><text>one</text><integer>two</integer><image/></items>"
        "<items save='1'><integer>1</integer><decimal>2</decimal></items></field>"
        "<field name='Uneven'><items><text>a</text></items><items save='1'><text>1</text><text>2</text></items></field>"
        "<field name='Twice'><items><text>first</text></items><items save='1'><text>T</text></items></field>"
        "</subform><subform name='B'>"
        "<field name='Twice'><items><text>second</text></items><items save='1'><text>T</text></items></field>"
        "<field name='Bound'><bindItems ref='xfa.datasets.LOVFile.LOV.Colours.Colour[*]' valueRef='@code'/>"
        "</field>"
        "<field name='ByChild'><bindItems ref='$record.LOVFile.L.Item[*]' valueRef='c' labelRef='l'/></field>"
        "<field name='Lost'><bindItems ref='xfa.datasets.Elsewhere.Colour[*]'/></field>"
        "</subform></template>";
    const std::string lists =
        "<LOVFile><LOV><Colours><Colour code='r'>Red</Colour><Colour code='g'/><Colour>Blue</Colour>"
        "</Colours></LOV><L><Item><c>7</c><l>Seven</l></Item></L></LOVFile>";
    const std::string data =
        "<form1><Pick>N</Pick><Pick>Maybe</Pick><Pick></Pick><Num>2</Num><Uneven>1</Uneven><Twice>T</Twice>"
        "<Bound>r</Bound><Bound>g</Bound><ByChild>7</ByChild><Lost>r</Lost><Other>N</Other></form1>";
    SmallForm f("<xfa:datasets xmlns:xfa='http://www.xfa.org/schema/xfa-data/1.0/'><xfa:data>" + data +
                    "</xfa:data>" + lists + "</xfa:datasets>",
                templ);
    EXPECT_THAT(bw::dump(f.path),
                ElementsAre(Pair("form1.Pick[0]", "No thanks"), Pair("form1.Pick[1]", "Maybe"),
                            Pair("form1.Pick[2]", ""), Pair("form1.Num", "two"), Pair("form1.Uneven", "1"),
                            Pair("form1.Twice", "second"), Pair("form1.Bound[0]", "Red"),
                            Pair("form1.Bound[1]", "g"), Pair("form1.ByChild", "Seven"), Pair("form1.Lost", "r"),
                            Pair("form1.Other", "N")));
}

TEST(Dump, TemplateFaultsNeverFailTheDump) {
    const std::string data = datasets_xml("<form1><Pick>Y</Pick></form1>");
    for (const char *templ : {"<template><field name='Pick'><items>", "not xml at all"}) {
        SmallForm f(data, std::string(templ));
        EXPECT_THAT(bw::dump(f.path), ElementsAre(Pair("form1.Pick", "Y")));
    }
    SmallForm none(data);
    EXPECT_THAT(bw::dump(none.path), ElementsAre(Pair("form1.Pick", "Y")));
}

TEST(Dump, DatasetsFaults) {
    SmallForm empty_data(datasets_xml(""));
    EXPECT_TRUE(bw::dump(empty_data.path).empty());
    SmallForm no_data("<xfa:datasets xmlns:xfa='http://www.xfa.org/schema/xfa-data/1.0/'><other/></xfa:datasets>");
    EXPECT_EQ(dump_error(no_data.path), "no data");
    SmallForm broken("<xfa:datasets><xfa:data><form1>");
    EXPECT_EQ(dump_error(broken.path).rfind("XML: ", 0), 0u);
    EXPECT_EQ(dump_error("/no/such/form.pdf").find("No such file") != std::string::npos, true);
}

TEST(Dump, DeepDataDoesNotExhaustTheStack) {
    constexpr int kDepth = 200000;
    std::string data;
    for (int i = 0; i < kDepth; ++i) data += "<a>";
    data += "deep";
    for (int i = 0; i < kDepth; ++i) data += "</a>";
    SmallForm f(datasets_xml(data));
    bw::FieldValues values = bw::dump(f.path);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].second, "deep");
    EXPECT_EQ(values[0].first.size(), 2u * kDepth - 1);
}
