// The validation run: the forms' own scripts in the script host, the outcome and the report.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include <nlohmann/json.hpp>
#include <pugixml.hpp>
#include <unistd.h>

#include "acrobat/script_host.h"
#include "acrobat/validate.h"
#include "lib/error.h"
#include "lib/fill.h"
#include "lib/loaded_form.h"
#include "lib/xml_helpers.h"

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

std::string formPath(const char *name) { return std::string(BW_FORMS_DIR) + "/" + name; }

bool contains(const std::vector<std::string> &v, const std::string &s) {
    return std::find(v.begin(), v.end(), s) != v.end();
}

// Sets values in a datasets packet by data path (dotted names under the data element, no
// instance indexes); the elements must exist.
std::string withValues(const std::string &datasets,
                       const std::vector<std::pair<std::string, std::string>> &values) {
    pugi::xml_document doc;
    bw::xml::parse(doc, datasets);
    pugi::xml_node data = bw::xml::first_child(doc.document_element(), "data");
    for (const auto &[path, value] : values) {
        pugi::xml_node n = data;
        std::stringstream ss(path);
        std::string piece;
        while (std::getline(ss, piece, '.')) {
            n = bw::xml::first_child(n, piece);
            if (!n) throw std::runtime_error("no data element for " + path);
        }
        while (n.first_child()) n.remove_child(n.first_child());
        n.append_child(pugi::node_pcdata).set_value(value.c_str());
    }
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw | pugi::format_no_declaration);
    return out.str();
}

// ---- small forms ----

const char *const kTemplateHead =
    R"(<template xmlns="http://www.xfa.org/schema/xfa-template/3.3/"><subform name="form1">)";
const char *const kTemplateTail = "</subform></template>";

std::string script(const std::string &name, const std::string &body) {
    return "<script contentType=\"application/x-javascript\" name=\"" + name + "\"><![CDATA[" + body +
           "]]></script>";
}

std::string templateOf(const std::string &body, const std::string &scripts = "") {
    return std::string(kTemplateHead) + "<variables>" + scripts + "</variables>" + body + kTemplateTail;
}

std::string datasetsOf(const std::string &form1_body) {
    return R"(<xfa:datasets xmlns:xfa="http://www.xfa.org/schema/xfa-data/1.0/"><xfa:data><form1>)" +
           form1_body + "</form1></xfa:data></xfa:datasets>";
}

std::string field(const std::string &name, const std::string &caption, bool required,
                  const std::string &ui = "textEdit", const std::string &extra = "") {
    return "<field name=\"" + name + "\"><ui><" + ui + "/></ui><caption><value><text>" + caption +
           "</text></value></caption>" + (required ? "<validate nullTest=\"error\"/>" : "") + extra +
           "</field>";
}

// A page with one personal section: a required name, an optional e-mail, a required yes/no
// question and a required month, and a drop-down with three choices.
std::string personalTemplate(const std::string &scripts = "") {
    return templateOf(
        "<subform name=\"Page1\"><subform name=\"PersonalDetails\">" +
            field("FamilyName", "* Family name", true) + field("Email", "E-mail address", false) +
            "<exclGroup name=\"Married\"><caption><value><text>Are you married?</text></value>"
            "</caption>" +
            field("Yes", "Yes", false, "checkButton") + field("No", "No", false, "checkButton") +
            "</exclGroup>" + field("DOBMonth", "MM", true) +
            field("Sex", "Sex", true, "choiceList",
                  "<items><text>Female</text><text>Male</text><text>Unknown</text></items>"
                  "<items save=\"1\"><text>F</text><text>M</text><text>U</text></items>") +
            "</subform></subform>",
        scripts);
}

std::string personalData(const std::string &family, const std::string &email = "",
                         const std::string &married = "", const std::string &month = "",
                         const std::string &sex = "") {
    return datasetsOf("<Page1><PersonalDetails><FamilyName>" + family + "</FamilyName><Email>" + email +
                      "</Email><Married>" + married + "</Married><DOBMonth>" + month +
                      "</DOBMonth><Sex>" + sex + "</Sex></PersonalDetails></Page1>");
}

// A validateForm object whose validateCompletedForm runs the given sections.
std::string validateFormScript(const std::string &sections_called, const std::string &functions) {
    return script("validateForm", "function validateCompletedForm() {\n" + sections_called + "\n}\n" +
                                      functions);
}

const std::string kP = "form1.Page1.PersonalDetails.";

}  // namespace

// ---- the real forms ----

TEST(ValidateRealForms, BlankImm5257ReportsThePersonalDetailsWithLabels) {
    bw::ValidationResult r = bw::acrobat_validate(formPath("imm5257e.pdf"), false);
    for (const char *p : {"Name.FamilyName", "DOBYear", "DOBMonth", "DOBDay", "Sex.Sex",
                          "Citizenship.Citizenship", "PlaceBirthCity"})
        EXPECT_TRUE(contains(r.missing, "form1.Page1.PersonalDetails." + std::string(p))) << p;
    EXPECT_TRUE(contains(r.missing, "form1.Page2.MaritalStatus.SectionA.Passport.PassportNum.PassportNum"));
    EXPECT_THAT(r.label("form1.Page1.PersonalDetails.Name.FamilyName"), StartsWith("Family name"));
    EXPECT_EQ(r.label("form1.Page2.MaritalStatus.SectionA.Passport.PassportNum.PassportNum"), "Passport number");
    EXPECT_THAT(r.format_err, IsEmpty());
    EXPECT_TRUE(std::is_sorted(r.missing.begin(), r.missing.end()));
    // Every section of the form's validation object runs to its end.
    EXPECT_THAT(r.incomplete_sections, IsEmpty());
    std::string report = bw::acrobat_report(r, false);
    EXPECT_THAT(report, HasSubstr("- Personal Details -\nThe following field(s) are required and must be completed:\n"));
    EXPECT_THAT(report, HasSubstr("Family name (as shown on your passport or travel document)"));
    EXPECT_THAT(report, Not(HasSubstr("Adobe Reader")));
}

class FilledImm5257 : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        bw::LoadedForm f = bw::load_form(formPath("imm5257e.pdf"));
        tpl_ = new std::string(*f.template_);
        data_ = new std::string(f.datasets);
    }
    static void TearDownTestSuite() {
        delete tpl_;
        delete data_;
    }
    static std::vector<std::pair<std::string, std::string>> personal() {
        const std::string pd = "form1.Page1.PersonalDetails.";
        const std::string pp = "form1.Page2.MaritalStatus.SectionA.Passport.";
        return {{pd + "Name.FamilyName", "WANG"},
                {pd + "Name.GivenName", "LEI"},
                {pd + "Sex.Sex", "Female"},
                {pd + "DOBYear", "1990"},
                {pd + "DOBMonth", "07"},
                {pd + "DOBDay", "15"},
                {pd + "PlaceBirthCity", "Shanghai"},
                {pd + "PlaceBirthCountry", "202"},
                {pd + "Citizenship.Citizenship", "202"},
                {pp + "PassportNum.PassportNum", "E12345678"},
                {pp + "CountryofIssue.CountryofIssue", "202"},
                {pp + "IssueDate.IssueDate", "2019-03-01"},
                {pp + "ExpiryDate", "2029-02-28"}};
    }
    static bw::ValidationResult run(std::vector<std::pair<std::string, std::string>> values) {
        return bw::validate_packets(*tpl_, withValues(*data_, values));
    }
    static std::string *tpl_, *data_;
};
std::string *FilledImm5257::tpl_ = nullptr;
std::string *FilledImm5257::data_ = nullptr;

TEST_F(FilledImm5257, FilledPersonalDetailsLeaveTheMissingList) {
    bw::ValidationResult r = run(personal());
    for (const auto &[path, value] : personal()) EXPECT_FALSE(contains(r.missing, path)) << path;
    EXPECT_THAT(r.format_err, IsEmpty());
    EXPECT_THAT(r.incomplete_sections, IsEmpty());
    EXPECT_TRUE(contains(r.missing, "form1.Page3.DetailsOfVisit.PurposeRow1.PurposeOfVisit.PurposeOfVisit"));
}

TEST_F(FilledImm5257, ValuesTheFormsChecksRejectAreFormatErrors) {
    auto values = personal();
    values.emplace_back("form1.Page2.ContactInformation.contact.FaxEmail.Email", "lei.wang.example.com");
    bw::ValidationResult r = run(values);
    EXPECT_TRUE(contains(r.format_err, "form1.Page2.ContactInformation.contact.FaxEmail.Email"));
    EXPECT_THAT(bw::acrobat_report(r, false),
                HasSubstr("The format you entered in the following field(s) is incorrect:"));

    values.back().second = "lei.wang@example.com";
    EXPECT_FALSE(contains(run(values).format_err, "form1.Page2.ContactInformation.contact.FaxEmail.Email"));
}

TEST_F(FilledImm5257, ADateThatCannotExist) {
    auto values = personal();
    values[4].second = "02";
    values[5].second = "31";
    bw::ValidationResult r = run(values);
    EXPECT_THAT(r.format_err, ElementsAre("form1.Page1.PersonalDetails.DOBDay"));  // 31 February
    EXPECT_THAT(r.incomplete_sections, IsEmpty());
}

TEST_F(FilledImm5257, FilledThroughTheFillLeaveTheMissingList) {
    nlohmann::json fields = nlohmann::json::object();
    for (const auto &[path, value] : personal()) fields[path] = value;
    const std::string out =
        (std::filesystem::temp_directory_path() / ("bw_validate_fill_" + std::to_string(getpid()) + ".pdf")).string();
    testing::internal::CaptureStderr();
    bw::fill_data(formPath("imm5257e.pdf"), out, {{"fields", fields}});
    testing::internal::GetCapturedStderr();
    bw::ValidationResult r = bw::acrobat_validate(out, false);
    std::filesystem::remove(out);
    for (const auto &[path, value] : personal()) EXPECT_FALSE(contains(r.missing, path)) << path;
    EXPECT_THAT(r.format_err, IsEmpty());
    EXPECT_TRUE(contains(r.missing, "form1.Page3.DetailsOfVisit.PurposeRow1.PurposeOfVisit.PurposeOfVisit"));
}

TEST_F(FilledImm5257, AnImpossibleChoiceIsReportedMissing) {
    auto values = personal();
    values[2].second = "Robot";  // Sex has three choices
    EXPECT_TRUE(contains(run(values).missing, "form1.Page1.PersonalDetails.Sex.Sex"));
}

TEST(ValidateRealForms, Imm1295RunsItsScripts) {
    testing::internal::CaptureStderr();
    bw::ValidationResult r = bw::acrobat_validate(formPath("imm1295e.pdf"), false);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_THAT(err, Not(HasSubstr("⚠️")));
    EXPECT_THAT(r.missing, Not(IsEmpty()));
    EXPECT_THAT(r.incomplete_sections, IsEmpty()) << ::testing::PrintToString(r.incomplete_sections);
    EXPECT_FALSE(bw::acrobat_report(r, false).empty());
}

TEST(ValidateRealForms, DumpWritesTheAssembledScripts) {
    std::string path = (std::filesystem::temp_directory_path() / "bw_validate_dump_test.js").string();
    setenv("BRAMWICK_DUMP_JS", path.c_str(), 1);
    testing::internal::CaptureStderr();
    bw::ValidationResult r = bw::acrobat_validate(formPath("imm5257e.pdf"), false);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_THAT(err, HasSubstr("[dump] 已写出组装 JS → " + path + "\n"));
    std::ifstream in(path);
    std::string js((std::istreambuf_iterator<char>(in)), {});
    EXPECT_THAT(js, AllOf(HasSubstr("function __resolve"), HasSubstr("__mk(\"Page1.PersonalDetails.Name.FamilyName\""),
                          HasSubstr("var validateForm = (function(){"), HasSubstr("color.markIncorrect ="),
                          HasSubstr("'SEC '")));
    std::filesystem::remove(path);

    setenv("BRAMWICK_DUMP_JS", "/nonexistent-dir/x/dump.js", 1);
    EXPECT_THROW(bw::acrobat_validate(formPath("imm5257e.pdf"), false), bw::Error);
    unsetenv("BRAMWICK_DUMP_JS");
}

// ---- the run on small forms ----

TEST(ValidateRun, StaticRequirementsLabelsAndValues) {
    const std::string t = personalTemplate();
    bw::ValidationResult blank = bw::validate_packets(t, personalData(""));
    EXPECT_THAT(blank.missing, ElementsAre(kP + "DOBMonth", kP + "FamilyName", kP + "Sex"));
    EXPECT_EQ(blank.label(kP + "FamilyName"), "Family name");
    EXPECT_EQ(blank.label(kP + "DOBMonth"), "DOB Month");  // weak caption "MM": the humanised name
    EXPECT_EQ(blank.label("form1.Nope"), "form1.Nope");
    EXPECT_TRUE(blank.full_confidence());

    bw::ValidationResult filled = bw::validate_packets(t, personalData("Wang", "", "", "07", "F"));
    EXPECT_THAT(filled.missing, IsEmpty());
    // A display label counts as well as a saved value; anything else is an impossible choice.
    EXPECT_THAT(bw::validate_packets(t, personalData("Wang", "", "", "7", "Male")).missing, IsEmpty());
    EXPECT_THAT(bw::validate_packets(t, personalData("Wang", "", "", "7", "X")).missing, ElementsAre(kP + "Sex"));
}

TEST(ValidateRun, ScriptsSeeTheValuesAndMarkFields) {
    // The form's own scripts: a yes/no question made required through its buttons, a format
    // check, a field made read-only, and the month as the scripts see it.
    const std::string scripts =
        script("color", "function markRequired(o) { o.mandatory = 'error'; }\n"
                        "function markIncorrect(o) {}\nfunction SetColor(o) { throw 'colour'; }\n") +
        script("util", "function enableField(p, b) { xfa.resolveNode(p).rawValue = null; }\n") +
        validateFormScript(
            "validateMarried(); validateMail() ; validateLocked(); validateMonth();",
            "function validateMarried() { color.markRequired(xfa.resolveNode('PersonalDetails.Married.Yes'));\n"
            "  color.markRequired(xfa.resolveNode('Page1.PersonalDetails.Married[0].No')); }\n"
            "function validateMail() { var e = xfa.resolveNode('Email');\n"
            "  if (!e.isNull && e.rawValue.indexOf('@') < 0) color.markIncorrect(e);\n"
            "  SetColor(e); }\n"
            "function validateLocked() { util.enableField('Page1.PersonalDetails.FamilyName', false); }\n"
            "function validateMonth() { var m = Page1.PersonalDetails.DOBMonth;\n"
            "  if (m.rawValue !== null && m.rawValue !== '7') color.markIncorrect(m);\n"
            "  if (xfa.resolveNode('No.Such.Field').rawValue !== null) throw new Error('placeholder'); }\n");
    const std::string t = personalTemplate(scripts);

    bw::ValidationResult r = bw::validate_packets(t, personalData("", "nobody.example.com", "", "07", "F"));
    // Reported once under the question; the family name is read-only, so not missing.
    EXPECT_THAT(r.missing, ElementsAre(kP + "Married"));
    EXPECT_EQ(r.label(kP + "Married"), "Are you married?");
    EXPECT_THAT(r.format_err, ElementsAre(kP + "Email"));
    EXPECT_THAT(r.incomplete_sections, IsEmpty());
    EXPECT_THAT(r.unresolved, Contains("No.Such.Field"));

    bw::ValidationResult ok = bw::validate_packets(t, personalData("", "a@b.cn", "1", "7", "F"));
    EXPECT_THAT(ok.missing, IsEmpty());
    EXPECT_THAT(ok.format_err, IsEmpty());
}

TEST(ValidateRun, ThrowingSectionsAndScripts) {
    const std::string sections = validateFormScript(
        "validateA(); validateB(); validateA(); validateGone(); helper();",
        "function validateA() { throw new TypeError('no such thing'); }\n"
        "function validateB() { Page1.PersonalDetails.Email.mandatory = 'error'; }\n"
        "function helper() { throw 1; }\n");
    bw::ValidationResult r = bw::validate_packets(personalTemplate(sections), personalData("Wang", "", "", "1", "F"));
    EXPECT_THAT(r.incomplete_sections, ElementsAre("validateA: TypeError: no such thing"));
    EXPECT_FALSE(r.full_confidence());
    EXPECT_THAT(r.missing, ElementsAre(kP + "Email"));  // validateB still ran
    EXPECT_THAT(bw::acrobat_report(r, false),
                testing::EndsWith("\n\nNote: part of this form could not be fully checked by this tool; "
                                  "please also run Validate in Adobe Reader."));

    // A script object that throws while loading only warns; the others still load.
    const std::string broken = script("val", "function check() {}\nthrow new Error('boom');\n") +
                               script("syntax", "function (( {") + script("bad-name", "function ok() {}") +
                               validateFormScript("validateB();", "function validateB() { Page1.PersonalDetails.Email.mandatory = 'error'; }");
    testing::internal::CaptureStderr();
    bw::ValidationResult w = bw::validate_packets(personalTemplate(broken), personalData("Wang", "", "", "1", "F"));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_THAT(err, HasSubstr("⚠️ 库加载告警: [libs] "));
    EXPECT_TRUE(w.full_confidence());
}

TEST(ValidateRun, NoValidateFormRunsNoSections) {
    const std::string t = personalTemplate(script("notes", "var x = 1; // no functions here"));
    bw::ValidationResult r = bw::validate_packets(t, personalData("Wang", "", "", "1", "F"));
    EXPECT_TRUE(r.full_confidence());
    EXPECT_THAT(r.missing, IsEmpty());
}

TEST(ValidateRun, PassportCountryFilter) {
    const std::string t = templateOf(
        "<subform name=\"Page2\"><subform name=\"Passport\">" + field("CountryofIssue", "Country of issue", false) +
        field("TaiwanPIN", "Taiwan PIN", true) + field("IsraelPassportIndicator", "Israel passport", true) +
        "</subform></subform>");
    auto data = [](const std::string &country) {
        return datasetsOf("<Page2><Passport><CountryofIssue><CountryofIssue>" + country +
                          "</CountryofIssue></CountryofIssue><TaiwanPIN/><IsraelPassportIndicator/></Passport></Page2>");
    };
    // The data path ends with Passport.CountryofIssue.CountryofIssue; the template field sits one level up.
    EXPECT_THAT(bw::validate_packets(t, data("202")).missing, IsEmpty());
    EXPECT_THAT(bw::validate_packets(t, data("203")).missing, ElementsAre("form1.Page2.Passport.TaiwanPIN"));
    EXPECT_THAT(bw::validate_packets(t, data("206")).missing, ElementsAre("form1.Page2.Passport.IsraelPassportIndicator"));
}

TEST(ValidateRun, TimeGuardEndsScriptsThatNeverFinish) {
    bw::ValidationOptions fast;
    fast.time_limit = std::chrono::milliseconds(300);
    for (const std::string &scripts :
         {validateFormScript("validateLoop();", "function validateLoop() { for (;;) { try { for (;;) {} } catch (e) {} } }"),
          script("lib", "function f() {}\nwhile (true) {}\n")}) {
        try {
            bw::validate_packets(personalTemplate(scripts), personalData("Wang"), fast);
            ADD_FAILURE() << "no timeout";
        } catch (const bw::Error &e) {
            EXPECT_THAT(e.what(), StartsWith("script timeout:"));
        }
    }
    EXPECT_EQ(bw::ValidationOptions{}.time_limit, std::chrono::seconds(20));
}

TEST(ValidateRun, MalformedInputFailsCleanly) {
    EXPECT_THROW(bw::validate_packets("<template><subform", personalData("x")), bw::Error);
    try {
        bw::validate_packets(personalTemplate(), "<xfa:datasets xmlns:xfa=\"x\"><other/></xfa:datasets>");
        ADD_FAILURE();
    } catch (const bw::Error &e) {
        EXPECT_STREQ(e.what(), "no data");
    }
    // Names that are not JavaScript identifiers, quotes and backslashes in names and values,
    // a node named like a host global, properties shadowed by children: no crash, a result.
    const std::string odd = templateOf(
        "<subform name=\"class\"><field name='a\"b\\c'><validate nullTest=\"error\"/></field>"
        "<field name=\"name\"/><field name=\"parent\"/></subform>"
        "<subform name=\"xfa\"><field name=\"F\"><validate nullTest=\"error\"/></field></subform>"
        "<subform name=\"9lives\"/><exclGroup name=\"G\"/>",
        script("x", "function f() { return xfa.resolveNode(null).somExpression + Page1; }"));
    bw::ValidationResult r = bw::validate_packets(
        odd, datasetsOf("<xfa><F>\"\\\t\nline</F></xfa>"));
    EXPECT_THAT(r.missing, ElementsAre("form1.class.a\"b\\c"));
    EXPECT_TRUE(r.full_confidence());
}

TEST(ValidateRun, RunawayRecursionAndDeepDataDoNotCrash) {
    const std::string t = personalTemplate(
        validateFormScript("validateDeep();", "function validateDeep() { (function r() { r(); })(); }"));
    bw::ValidationResult r = bw::validate_packets(t, personalData("Wang", "", "", "1", "F"));
    ASSERT_EQ(r.incomplete_sections.size(), 1u);
    EXPECT_THAT(r.incomplete_sections[0], StartsWith("validateDeep: RangeError"));

    std::string deep;
    for (int i = 0; i < 20000; ++i) deep += "<a>";
    deep += "x";
    for (int i = 0; i < 20000; ++i) deep += "</a>";
    EXPECT_NO_THROW(bw::validate_packets(personalTemplate(), datasetsOf(deep)));
}

TEST(ValidateRun, PdfWithoutTemplateOrFile) {
    EXPECT_THROW(bw::acrobat_validate("/nonexistent.pdf", false), bw::Error);
}

// ---- the dom script ----

TEST(ScriptHost, DomScriptEscapesValuesAndAliasesTopLevelNodes) {
    std::vector<bw::TemplateNode> nodes = {{"Page1", "subform", "disabled", "visible", "", ""},
                                           {"Page1.F", "field", "error", "visible", "textEdit", "F"},
                                           {"Page1", "subform", "disabled", "visible", "", ""}};
    std::string dom = bw::buildDomScript(nodes, {"", "a\"b\\c\td\ne\rf", ""});
    EXPECT_THAT(dom, HasSubstr("__mk(\"Page1.F\",\"a\\\"b\\\\c\\td\\nef\",\"error\",\"visible\",\"\",\"field\",\"textEdit\");\n"));
    EXPECT_THAT(dom, StartsWith("(function(){\n"));
    size_t first = dom.find("var Page1=");
    EXPECT_NE(first, std::string::npos);
    EXPECT_EQ(dom.find("var Page1=", first + 1), std::string::npos);  // one alias line
}

// ---- the report ----

TEST(ValidateReport, Texts) {
    bw::ValidationResult r;
    EXPECT_EQ(bw::acrobat_report(r, false),
              "Validation passed: all required fields are complete and correctly formatted.");
    r.incomplete_sections = {"validateX: boom"};
    EXPECT_EQ(bw::acrobat_report(r, false),
              "Validation passed: all required fields are complete and correctly formatted.\n\n"
              "Note: part of this form could not be fully checked by this tool; please also run Validate in "
              "Adobe Reader.");

    bw::ValidationResult m;
    m.missing = {"form1.Page1.PersonalDetails.A", "form1.Page1.PersonalDetails.B", "form1.Page3.DetailsOfVisit.C",
                 "form1.X"};
    m.format_err = {"form1.Page2.COR.D"};
    m.labels = {{"form1.Page1.PersonalDetails.A", "Family name"}};
    EXPECT_EQ(bw::acrobat_report(m, false),
              "- Personal Details -\nThe following field(s) are required and must be completed:\n"
              "1. Family name\n2. form1.Page1.PersonalDetails.B\n\n"
              "- Details of Visit -\nThe following field(s) are required and must be completed:\n"
              "1. form1.Page3.DetailsOfVisit.C\n\n"
              "-  -\nThe following field(s) are required and must be completed:\n1. form1.X\n\n"
              "- C O R -\nThe format you entered in the following field(s) is incorrect:\n1. form1.Page2.COR.D");
}

TEST(ValidateReport, LineNumbersAlignToTheSectionsCount) {
    bw::ValidationResult r;
    for (int i = 0; i < 12; ++i) r.format_err.push_back("form1.P.TheAndOrInToA." + std::string(1, char('a' + i)));
    std::string report = bw::acrobat_report(r, false);
    EXPECT_THAT(report, StartsWith("- The and or in to a -\nThe format you entered in the following field(s) is "
                                   "incorrect:\n 1. form1.P.TheAndOrInToA.a\n 2."));
    EXPECT_THAT(report, HasSubstr("\n 9. form1.P.TheAndOrInToA.i\n10. form1.P.TheAndOrInToA.j\n"));
}
