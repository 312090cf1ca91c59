// The client records, their JSON files and the small helpers beside them.
#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <algorithm>
#include <functional>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>

#include "ArchiveTestSupport.h"
#include "Model/AtomicWrite.h"
#include "Model/CaseFile.h"
#include "Model/FolderNames.h"
#include "Model/NaturalOrder.h"
#include "Model/RecordJSON.h"
#include "Model/SampleData.h"

using nlohmann::json;

namespace {

// A profile with every field set to a value that differs from its default.
ClientProfile fullProfile() {
    ClientProfile p = demoProfile();
    p.aliasName = {"CHEUNG", "SAM"};
    p.nationalID = {"110101198506150011", "China", "2015-01-01", "2035-01-01"};
    p.usCard = {"USC123", "2030-01-01"};
    p.residence.from = "1985-06-15";
    p.residence.to = "2030-12-31";
    p.sameAsCOR = false;
    p.residential.poBox = "PO 9";
    p.residential.apt = "12B";
    p.residentialSameAsMailing = false;
    p.mailing.poBox = "PO 1";
    p.mailing.apt = "3";
    p.background.usedOtherName = true;
    p.background.currentlyEmployed = false;
    p.background.previouslyApplied = true;
    p.employment.push_back(EmploymentEntry{});
    p.education.push_back(EducationEntry{});
    p.displayName = "张三 \"Sam\" / 测试";
    return p;
}

Application fullApplication() {
    Application a = demoWorkApplication();
    a.visaType = "Visitor Visa";
    a.purpose = "Business";
    a.visitFrom = "2030-01-01";
    a.visitTo = "2030-02-01";
    a.funds = "1";
    a.contactName = "A";
    a.contactAddress = "B";
    a.extraForms = {"IMM5257", "IMM1295"};
    return a;
}

} // namespace

TEST(RecordFiles, DefaultProfileWritesEveryKeyWithItsDefault) {
    ClientProfile p;
    json j = json::parse(encodeProfile(p));
    EXPECT_EQ(j.size(), 29u);
    EXPECT_EQ(j["sameAsCOR"], true);
    EXPECT_EQ(j["residentialSameAsMailing"], true);
    EXPECT_EQ(j["employment"], json::array());
    EXPECT_EQ(j["education"], json::array());
    EXPECT_EQ(j["displayName"], "");
    ASSERT_EQ(j["background"].size(), 15u);
    for (auto &[key, value] : j["background"].items())
        EXPECT_EQ(value, key == "currentlyEmployed") << key;
    EXPECT_EQ(j["passport"], json({{"country", ""}, {"expires", ""}, {"issued", ""}, {"number", ""}}));
    EXPECT_EQ(j["mailing"].size(), 8u);
    // The id is an upper-case UUID text.
    std::string id = j["id"];
    EXPECT_EQ(canonicalUUID(id), id);
    // Two new profiles never share an id.
    EXPECT_NE(ClientProfile{}.id, ClientProfile{}.id);
}

TEST(RecordFiles, DefaultApplicationWritesEveryKey) {
    json j = json::parse(encodeApplication(Application{}));
    EXPECT_EQ(j.size(), 21u);
    EXPECT_EQ(j["kind"], "visit");
    EXPECT_EQ(j["extraForms"], json::array());
}

TEST(RecordFiles, TextIsPrettySortedUtf8) {
    Application a;
    a.program = "C11";
    a.contactName = "王";
    std::string text = encodeApplication(a);
    EXPECT_EQ(text.substr(0, 4), "{\n  ");
    EXPECT_NE(text.find("\"contactName\": \"王\""), std::string::npos); // no \u escapes
    EXPECT_LT(text.find("\"contactAddress\""), text.find("\"contactName\""));
    EXPECT_LT(text.find("\"kind\""), text.find("\"lmia\""));
    EXPECT_LT(text.find("\"workTo\""), text.size());
    EXPECT_NE(text.substr(0, 3), "\xEF\xBB\xBF");
    // Nested objects are indented by two more spaces.
    std::string profile = encodeProfile(ClientProfile{});
    EXPECT_NE(profile.find("\n    \"criminal\": false"), std::string::npos);
}

TEST(RecordFiles, RoundTripsGiveEqualRecordsIdsIncluded) {
    ClientProfile p = fullProfile();
    auto back = decodeProfile(encodeProfile(p));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, p);
    EXPECT_EQ(back->employment[1].id, p.employment[1].id);

    ClientProfile plain;
    EXPECT_EQ(decodeProfile(encodeProfile(plain)), plain);

    for (const Application &a : {Application{}, fullApplication(), demoApplication()}) {
        auto backApp = decodeApplication(encodeApplication(a));
        ASSERT_TRUE(backApp);
        EXPECT_EQ(*backApp, a);
    }

    CaseFile c{{{"张三", MemberRole::principal}, {"李梅", MemberRole::spouse}, {"小明", MemberRole::child},
                {"x", MemberRole::other}}};
    EXPECT_EQ(decodeCaseFile(encodeCaseFile(c)), c);
    EXPECT_EQ(decodeCaseFile(encodeCaseFile(CaseFile{})), CaseFile{});
}

TEST(RecordFiles, EqualityCoversIds) {
    ClientProfile a;
    ClientProfile b = a;
    EXPECT_EQ(a, b);
    b.id = newUUIDText();
    EXPECT_NE(a, b);
    b = a;
    b.background.criminal = true;
    EXPECT_NE(a, b);
}

// One change to a valid profile file, and whether it must still read.
struct ProfileEdit {
    const char *what;
    std::function<void(json &)> edit;
    bool reads;
};

TEST(RecordFiles, ProfileReadingIsStrict) {
    const ClientProfile base = fullProfile();
    const std::vector<ProfileEdit> edits = {
        {"unchanged", [](json &) {}, true},
        {"education missing", [](json &j) { j.erase("education"); }, false},
        {"displayName null", [](json &j) { j["displayName"] = nullptr; }, false},
        {"uci a number", [](json &j) { j["uci"] = 12345; }, false},
        {"sameAsCOR a text", [](json &j) { j["sameAsCOR"] = "true"; }, false},
        {"name an array", [](json &j) { j["name"] = json::array(); }, false},
        {"passport without expires", [](json &j) { j["passport"].erase("expires"); }, false},
        {"background without military", [](json &j) { j["background"].erase("military"); }, false},
        {"employment row without from", [](json &j) { j["employment"][0].erase("from"); }, false},
        {"education row id bad", [](json &j) { j["education"][0]["id"] = "not-a-uuid"; }, false},
        {"id one digit short", [](json &j) { j["id"] = std::string(j["id"]).substr(1); }, false},
        {"id without dashes", [](json &j) { j["id"] = "0123456789ABCDEF0123456789ABCDEF0123"; }, false},
        {"employment holds a text", [](json &j) { j["employment"].push_back("x"); }, false},
        {"top level an array", [](json &j) { j = json::array({j}); }, false},
        {"unknown key", [](json &j) { j["favouriteColour"] = "blue"; }, true},
        {"unknown nested key", [](json &j) { j["passport"]["extra"] = 1; }, true},
    };
    for (const auto &e : edits) {
        json j = toJSON(base);
        e.edit(j);
        auto back = decodeProfile(j.dump());
        EXPECT_EQ(back.has_value(), e.reads) << e.what;
        if (e.reads && back) EXPECT_EQ(*back, base) << e.what;
    }
    EXPECT_FALSE(decodeProfile("{\"id\": "));
    EXPECT_FALSE(decodeProfile(""));
    EXPECT_FALSE(decodeProfile("\xFF\xFE garbage"));
}

TEST(RecordFiles, LowerCaseUuidIsAcceptedAndKept) {
    ClientProfile p;
    json j = toJSON(p);
    std::string lower = p.id;
    for (char &c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    j["id"] = lower;
    auto back = decodeProfile(j.dump());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->id, p.id);
}

TEST(RecordFiles, ApplicationKindMustBeKnown) {
    const std::vector<std::pair<json, bool>> kinds = {{"visit", true}, {"work", true}, {"study", false},
                                                      {"Work", false}, {"", false},    {1, false}};
    for (const auto &[kind, reads] : kinds) {
        json j = toJSON(Application{});
        j["kind"] = kind;
        auto back = decodeApplication(j.dump());
        EXPECT_EQ(back.has_value(), reads) << kind.dump();
        if (back && kind == "work") EXPECT_EQ(back->kind, ApplicationKind::work);
    }
    json j = toJSON(Application{});
    j["extraForms"] = json::array({"IMM5257", 3});
    EXPECT_FALSE(decodeApplication(j.dump()));
    j = toJSON(Application{});
    j.erase("lmia");
    EXPECT_FALSE(decodeApplication(j.dump()));
}

TEST(RecordFiles, CaseFileRolesMustBeKnown) {
    EXPECT_TRUE(decodeCaseFile(R"({"members":[{"folderName":"a","role":"child"}]})"));
    EXPECT_FALSE(decodeCaseFile(R"({"members":[{"folderName":"a","role":"parent"}]})"));
    EXPECT_FALSE(decodeCaseFile(R"({"members":[{"folderName":"a"}]})"));
    EXPECT_FALSE(decodeCaseFile(R"({"members":null})"));
    EXPECT_FALSE(decodeCaseFile(R"({})"));
    EXPECT_EQ(memberRoleLabel(MemberRole::principal), "主申请人");
    EXPECT_EQ(memberRoleLabel(MemberRole::other), "其他申请人");
}

TEST(RecordHelpers, WorkPermitCode) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Open Work Permit", "OWP"},
        {"OWP", "OWP"},
        {"open work permit", "open work permit"},
        {"Exemption from Labour Market Impact Assessment", "ELMO"},
        {"Start-up Business Class", "SBC"},
        {"Other", "Other"},
        {" OWP", " OWP"},
        {"", ""},
    };
    for (const auto &[in, out] : cases) EXPECT_EQ(workPermitCode(in), out) << in;
}

TEST(RecordHelpers, RelativeDateText) {
    struct Case {
        int days, years;
        const char *today, *expected;
    };
    const Case cases[] = {
        {0, 0, "2024-01-15", "2024-01-15"},  {30, 0, "2024-01-15", "2024-02-14"},
        {-1, 0, "2024-03-01", "2024-02-29"}, {0, 1, "2024-02-29", "2025-02-28"},
        {0, -4, "2024-02-29", "2020-02-29"}, {365, 2, "2023-12-31", "2026-12-30"},
        {120, 0, "2024-11-15", "2025-03-15"},
    };
    for (const auto &c : cases) EXPECT_EQ(relativeDateText(c.days, c.years, c.today), c.expected) << c.today;
    EXPECT_EQ(relativeDateText(0, 0), QDate::currentDate().toString(u"yyyy-MM-dd").toStdString());
}

TEST(RecordHelpers, SampleDatesLieAhead) {
    const std::string today = relativeDateText(0, 0);
    EXPECT_EQ(demoProfile().passport.expires, relativeDateText(0, 8));
    EXPECT_EQ(demoApplication().visitFrom, relativeDateText(90, 0));
    EXPECT_EQ(demoApplication().visitTo, relativeDateText(180, 0));
    EXPECT_GT(demoWorkApplication().workTo, today);
    auto people = demoProfiles();
    ASSERT_EQ(people.size(), 3u);
    EXPECT_EQ(people[1].passport.expires, relativeDateText(0, 5));
    EXPECT_EQ(people[2].passport.expires, relativeDateText(0, 7));
    EXPECT_EQ(people[1].spouseName, people[0].name);
    EXPECT_EQ(people[1].mailing, people[0].mailing);
    EXPECT_NE(people[2].mailing.city, people[0].mailing.city);
    EXPECT_NE(demoProfile().id, demoProfile().id); // built anew each time
}

TEST(FolderNamesTest, SafeFolderName) {
    const std::vector<std::pair<QString, QString>> cases = {
        {"A/B", "A_B"},          {"a\\b:c*d?e\"f<g>h|i", "a_b_c_d_e_f_g_h_i"},
        {" 张三 ", " 张三 "},     {"//", "__"},
        {".", "_"},              {"..", "__"},
        {"...", "..."},          {"C11-张三", "C11-张三"},
    };
    for (const auto &[in, out] : cases) EXPECT_EQ(safeFolderName(in), out) << in.toStdString();
    EXPECT_EQ(personNameOrDefault(" \t\n"), "申请人");
    EXPECT_EQ(personNameOrDefault("  李四 "), "李四");
}

TEST(FolderNamesTest, PlainPathComponent) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"张三", true},  {"a b", true},   {"...", true}, {".hidden", true}, {"", false},
        {".", false},    {"..", false},   {"a/b", false}, {"/abs", false},  {"a\\b", false},
        {"../x", false}, {std::string("a\0b", 3), false},
    };
    for (const auto &[name, plain] : cases) EXPECT_EQ(isPlainPathComponent(name), plain) << name;
}

TEST(NaturalOrderTest, CaseInsensitiveNumbersByValue) {
    std::vector<QString> names = {"Case 10", "case 2", "Case 1", "b", "A", "x9", "x10", "x009a", "x09", "张三", "C11-张三"};
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return naturalLess(a, b); });
    const std::vector<QString> expected = {"A",  "b",  "C11-张三", "Case 1", "case 2", "Case 10",
                                           "x9", "x09", "x009a", "x10",   "张三"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(naturalCompare(u"a", u"A") != 0, true); // a total order: different names never tie
    EXPECT_LT(naturalCompare(u"Case", u"Case 1"), 0);
    EXPECT_LT(naturalCompare(u"99999999999999999999", u"100000000000000000000"), 0);
}

TEST(AtomicWriteTest, ReplacesWholeAndFailureKeepsOldFile) {
    archive_test::app();
    QTemporaryDir dir;
    const QString path = dir.filePath("profile.json");
    ASSERT_TRUE(writeFileAtomically(path, std::string_view("old")));
    ASSERT_TRUE(writeFileAtomically(path, std::string_view("new text")));
    EXPECT_EQ(archive_test::readText(path), "new text");
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"profile.json"});
    // A target that cannot be replaced (a folder stands there) fails and leaves the folder as it was.
    QDir(dir.path()).mkdir("case.json");
    EXPECT_FALSE(writeFileAtomically(dir.filePath("case.json"), std::string_view("x")));
    EXPECT_TRUE(QFileInfo(dir.filePath("case.json")).isDir());
    // A folder that does not exist: nothing is written.
    EXPECT_FALSE(writeFileAtomically(dir.filePath("missing/profile.json"), std::string_view("x")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing")));
}
