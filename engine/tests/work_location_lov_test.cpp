// The work-location lists of the work permit form.
#include "lib/work_location_lov.h"

#include <gtest/gtest.h>

#include "lib/error.h"
#include "xfa_fixture.h"

using namespace bwtest;

namespace {

std::string lov_error(const std::string &path) {
    try {
        bw::work_location_lov(path);
    } catch (const bw::Error &e) {
        return e.what();
    }
    return "(read)";
}

std::string form_with(const TempDir &dir, const std::string &inside_datasets) {
    XfaPdf spec;
    spec.packets = {{"datasets", "<xfa:datasets xmlns:xfa='http://www.xfa.org/schema/xfa-data/1.0/'>"
                                 "<xfa:data><form1/></xfa:data>" +
                                     inside_datasets + "</xfa:datasets>"}};
    return dir.write("form.pdf", build_pdf(spec));
}

}  // namespace

TEST(WorkLocationLovReal, Imm1295HasThirteenProvincesAndTheirCities) {
    bw::WorkLocationLov lov = bw::work_location_lov(form_path("imm1295e.pdf"));
    ASSERT_EQ(lov.provinces.size(), 13u);
    bool bc = false;
    for (const auto &p : lov.provinces) {
        EXPECT_FALSE(p.code.empty());
        EXPECT_FALSE(p.label.empty());
        if (p.code == "11") bc = p.label == "BC";
        EXPECT_EQ(lov.cities.count(p.code), 1u) << p.code;
    }
    EXPECT_TRUE(bc);
    const auto &cities = lov.cities.at("11");
    int vancouver = 0;
    for (const auto &c : cities) {
        EXPECT_FALSE(c.code.empty());
        EXPECT_FALSE(c.label.empty());
        if (c.label == "Vancouver") {
            ++vancouver;
            EXPECT_EQ(c.code, "8634");
        }
    }
    EXPECT_EQ(vancouver, 1);
}

TEST(WorkLocationLov, ListsKeepOnlyCompleteEntriesInOrder) {
    TempDir dir;
    const std::string path = form_with(
        dir,
        "<LOVFile><LOV><ProvinceAbbrevList><ProvinceAbbrev lic=''/><ProvinceAbbrev lic='11'> BC </ProvinceAbbrev>"
        "<ProvinceAbbrev lic='09'/><ProvinceAbbrev>ON</ProvinceAbbrev><Other lic='1'>X</Other>"
        "<ProvinceAbbrev lic='09'>AB</ProvinceAbbrev></ProvinceAbbrevList>"
        "<CityList><P lic='11'><City lic='8634'>Vancouver</City><City lic='1'/><Town lic='2'>T</Town>"
        "<City lic='8640'>Victoria</City></P><P lic='09'/><P>orphan</P><P lic=''><City lic='3'>C</City></P>"
        "<Q lic='24'><City lic='5'>Old</City></Q><Q lic='24'><City lic='6'>New</City></Q></CityList></LOV></LOVFile>");
    bw::WorkLocationLov lov = bw::work_location_lov(path);
    ASSERT_EQ(lov.provinces.size(), 2u);
    EXPECT_EQ(lov.provinces[0].code, "11");
    EXPECT_EQ(lov.provinces[0].label, "BC");
    EXPECT_EQ(lov.provinces[1].code, "09");
    ASSERT_EQ(lov.cities.size(), 3u);
    ASSERT_EQ(lov.cities.at("11").size(), 2u);
    EXPECT_EQ(lov.cities.at("11")[1].label, "Victoria");
    EXPECT_TRUE(lov.cities.at("09").empty());
    ASSERT_EQ(lov.cities.at("24").size(), 1u);
    EXPECT_EQ(lov.cities.at("24")[0].label, "New");  // the later entry replaces the earlier one
}

TEST(WorkLocationLov, MissingPieces) {
    TempDir dir;
    bw::WorkLocationLov empty = bw::work_location_lov(form_with(dir, "<LOVFile><LOV/></LOVFile>"));
    EXPECT_TRUE(empty.provinces.empty());
    EXPECT_TRUE(empty.cities.empty());
    EXPECT_EQ(lov_error(form_with(dir, "")), "datasets 无 LOVFile.LOV");
    EXPECT_EQ(lov_error(form_with(dir, "<LOVFile/>")), "datasets 无 LOVFile.LOV");
    EXPECT_EQ(lov_error(form_with(dir, "<LOVFile><LOV>")).rfind("XML: ", 0), 0u);
    // IMM 5257 carries other lists but no cities: still a valid answer.
    bw::WorkLocationLov visitor = bw::work_location_lov(form_path("imm5257e.pdf"));
    EXPECT_FALSE(visitor.provinces.empty());
}
