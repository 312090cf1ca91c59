// The engine wrapper: decoding of engine answers into records and BWError, the records' JSON
// form and look-ups, and the wrapper against the real engine on the blank forms.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "Engine/BWError.h"
#include "Engine/BWRecords.h"
#include "Engine/Bramwick.h"

using ::testing::HasSubstr;
using ::testing::StartsWith;
using nlohmann::json;
namespace fs = std::filesystem;

namespace {

// Runs `f` and returns the BWError it throws; fails the test when it throws nothing.
BWError errorOf(const std::function<void()> &f) {
    try {
        f();
    } catch (const BWError &e) {
        return e;
    } catch (const std::exception &e) {
        ADD_FAILURE() << "threw another exception: " << e.what();
        return BWError::core("<other exception>");
    }
    ADD_FAILURE() << "threw nothing";
    return BWError::core("<nothing thrown>");
}

struct Decoder {
    const char *name;
    std::function<void(const std::string &)> decode;
};

const std::vector<Decoder> &allDecoders() {
    using namespace Bramwick::detail;
    static const std::vector<Decoder> decoders = {
        {"fill", [](const std::string &a) { decodeFill(a); }},
        {"validate", [](const std::string &a) { decodeValidate(a); }},
        {"schema", [](const std::string &a) { decodeSchema(a); }},
        {"dump", [](const std::string &a) { decodeDump(a); }},
        {"pdfLines", [](const std::string &a) { decodePdfLines(a); }},
        {"workLocationLOV", [](const std::string &a) { decodeWorkLocationLOV(a); }},
    };
    return decoders;
}

const Decoder &decoder(const std::string &name) {
    for (const auto &d : allDecoders())
        if (name == d.name) return d;
    throw std::logic_error("no decoder " + name);
}

}  // namespace

// ---- BWError ----

TEST(BWErrorTest, DisplayTextsAndWhat) {
    struct Case {
        BWError error;
        BWError::Kind kind;
        std::string display;
    } cases[] = {
        {BWError::core("no XFA"), BWError::Kind::core, "no XFA"},
        {BWError::core("字段格式校验未通过:"), BWError::Kind::core, "字段格式校验未通过:"},
        {BWError::decode("key 'group' not found"), BWError::Kind::decode, "返回解析失败：key 'group' not found"},
        {BWError::nullReturn(), BWError::Kind::nullReturn, "核心返回空"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.error.kind(), c.kind) << c.display;
        EXPECT_EQ(c.error.displayText(), c.display);
        const std::exception &asStd = c.error;
        EXPECT_EQ(std::string(asStd.what()), c.display);
    }
    EXPECT_NE(BWError::core("x"), BWError::decode("x"));
}

// ---- taking the engine's buffer ----

namespace {
int releases = 0;
char *released = nullptr;
void countingRelease(char *p) {
    ++releases;
    released = p;
    std::free(p);
}
}  // namespace

TEST(EngineAnswerTest, NullAnswerIsNullReturnAndReleasesNothing) {
    releases = 0;
    BWError e = errorOf([] { Bramwick::detail::takeAnswer(nullptr, countingRelease); });
    EXPECT_EQ(e.kind(), BWError::Kind::nullReturn);
    EXPECT_EQ(e.displayText(), "核心返回空");
    EXPECT_EQ(releases, 0);
}

TEST(EngineAnswerTest, AnswerIsCopiedThenReleasedOnce) {
    releases = 0;
    const char text[] = "{\"lines\":[\"日本\"]}";
    char *buffer = static_cast<char *>(std::malloc(sizeof text));
    std::memcpy(buffer, text, sizeof text);
    std::string copy = Bramwick::detail::takeAnswer(buffer, countingRelease);
    EXPECT_EQ(copy, text);
    EXPECT_EQ(releases, 1);
    EXPECT_EQ(released, buffer);
}

// ---- error envelope ----

TEST(EngineAnswerTest, ErrorEnvelopeIsCoreForEveryOperation) {
    const std::string messages[] = {"no XFA", "data 不是合法 JSON: parse error", ""};
    for (const auto &d : allDecoders()) {
        for (const auto &m : messages) {
            BWError e = errorOf([&] { d.decode(json{{"error", m}}.dump()); });
            EXPECT_EQ(e.kind(), BWError::Kind::core) << d.name << " " << m;
            EXPECT_EQ(e.message(), m) << d.name;
            EXPECT_EQ(std::string(e.what()), m) << d.name;
        }
    }
}

TEST(EngineAnswerTest, SuccessAnswersAreNeverTakenForErrors) {
    using namespace Bramwick::detail;
    EXPECT_EQ(decodeFill(R"({"count":0,"ok":true})"), 0);
    EXPECT_EQ(decodeFill(R"({"count":42,"ok":false})"), 42);  // ok is read, not acted on
    // An "error" member that is not text is no envelope: the success shape decides.
    EXPECT_EQ(decodeFill(R"({"count":7,"error":5,"ok":true})"), 7);
    EXPECT_EQ(decodeFill(R"({"count":7,"error":null,"ok":true})"), 7);
    EXPECT_TRUE(decodeDump(R"({"fields":[]})").empty());
}

// ---- answers of the wrong shape ----

TEST(EngineAnswerTest, WrongShapesFailWithDecode) {
    struct Case {
        const char *op;
        const char *answer;
        const char *mentions;  // part of the decoder's description, or "" when any will do
    } cases[] = {
        {"fill", R"({"ok":true})", "count"},
        {"fill", R"({"count":3})", "ok"},
        {"fill", R"({"count":"3","ok":true})", "count"},
        {"fill", R"({"count":1.5,"ok":true})", "count"},
        {"fill", R"({"count":18446744073709551615,"ok":true})", "count"},
        {"fill", R"({"count":1,"ok":"true"})", "ok"},
        {"schema", R"({"fields":[{"label":"L","path":"p","required":true,"type":"text"}]})", "group"},
        {"schema", R"({"fields":[{"group":"G","label":"L","path":"p","required":"yes","type":"text"}]})", "required"},
        {"schema", R"({"fields":[{"group":"G","label":"L","options":{},"path":"p","required":true,"type":"text"}]})", ""},
        {"schema", R"({"fields":[{"group":"G","label":"L","options":[{"value":"1"}],"path":"p","required":true,"type":"choice"}]})", "label"},
        {"schema", R"({"fields":{}})", ""},
        {"dump", R"({"fields":[{"path":"form1.A"}]})", "value"},
        {"dump", R"({"fields":[{"path":"form1.A","value":3}]})", "value"},
        {"dump", R"({"fields":[1]})", ""},
        {"dump", R"({"items":[]})", "fields"},
        {"dump", R"([])", ""},
        {"dump", R"({)", ""},
        {"dump", "", ""},
        {"dump", "{\"fields\":[{\"path\":\"a\",\"value\":\"\xff\"}]}", ""},
        {"pdfLines", R"({"lines":["a",2]})", ""},
        {"pdfLines", R"({"lines":"a"})", "lines"},
        {"validate", R"({"format_err":[],"missing":[],"report":""})", "full"},
        {"validate", R"({"formatErr":[],"full":true,"missing":[],"report":""})", "format_err"},
        {"validate", R"({"format_err":[],"full":true,"missing":[{"path":"p"}],"report":""})", "label"},
        {"validate", R"({"format_err":[],"full":1,"missing":[],"report":""})", "full"},
        {"workLocationLOV", R"({"cities":[],"provinces":[]})", "cities"},
        {"workLocationLOV", R"({"cities":{"11":[{"code":"8634"}]},"provinces":[]})", "label"},
        {"workLocationLOV", R"({"cities":{}})", "provinces"},
    };
    for (const auto &c : cases) {
        BWError e = errorOf([&] { decoder(c.op).decode(c.answer); });
        EXPECT_EQ(e.kind(), BWError::Kind::decode) << c.op << " " << c.answer << " -> " << e.what();
        EXPECT_FALSE(e.message().empty()) << c.op << " " << c.answer;
        EXPECT_THAT(e.displayText(), StartsWith("返回解析失败：")) << c.op << " " << c.answer;
        EXPECT_THAT(e.message(), HasSubstr(c.mentions)) << c.op << " " << c.answer;
    }
}

// ---- answers of the right shape ----

TEST(EngineAnswerTest, SchemaOptionsMayBeAbsent) {
    auto specs = Bramwick::detail::decodeSchema(
        R"({"fields":[)"
        R"({"group":"个人","label":"Family name","path":"form1.A","required":true,"type":"text"},)"
        R"({"group":"个人","label":"Sex","options":[{"label":"Female","value":"F"}],"path":"form1.B","required":false,"type":"choice"},)"
        R"({"group":"","label":"","options":[],"path":"form1.C","required":false,"type":"choice"}]})");
    ASSERT_EQ(specs.size(), 3u);
    EXPECT_EQ(specs[0], (BWFieldSpec{"form1.A", "Family name", "text", "个人", true, std::nullopt}));
    EXPECT_EQ(specs[1], (BWFieldSpec{"form1.B", "Sex", "choice", "个人", false,
                                     std::vector<BWFieldOption>{{"F", "Female"}}}));
    ASSERT_TRUE(specs[2].options.has_value());  // an empty list is not an absent one
    EXPECT_TRUE(specs[2].options->empty());
}

TEST(EngineAnswerTest, DecodesEveryShape) {
    using namespace Bramwick::detail;
    EXPECT_EQ(decodeDump(R"({"fields":[{"path":"form1.A[1].B","value":"中文"},{"path":"x","value":""}]})"),
              (std::vector<BWField>{{"form1.A[1].B", "中文"}, {"x", ""}}));
    EXPECT_EQ(decodePdfLines(R"({"lines":["第一行","","Line 3"]})"),
              (std::vector<std::string>{"第一行", "", "Line 3"}));

    BWValidation v = decodeValidate(
        R"({"format_err":[{"label":"Date","path":"form1.D"}],"full":false,)"
        R"("missing":[{"label":"Name","path":"form1.N"}],"report":"报告\n"})");
    EXPECT_EQ(v.missing, (std::vector<BWIssue>{{"form1.N", "Name"}}));
    EXPECT_EQ(v.formatErr, (std::vector<BWIssue>{{"form1.D", "Date"}}));
    EXPECT_EQ(v.report, "报告\n");
    EXPECT_FALSE(v.full);

    BWWorkLocationLOV lov = decodeWorkLocationLOV(
        R"({"cities":{"11":[{"code":"8634","label":"Vancouver"}],"12":[]},"provinces":[{"code":"11","label":"BC"}]})");
    EXPECT_EQ(lov.provinces, (std::vector<BWWorkLocationLOV::Item>{{"11", "BC"}}));
    ASSERT_EQ(lov.cities.size(), 2u);
    EXPECT_EQ(lov.cities.at("11"), (std::vector<BWWorkLocationLOV::Item>{{"8634", "Vancouver"}}));
    EXPECT_TRUE(lov.cities.at("12").empty());
}

// ---- records ----

TEST(BWRecordsTest, ValidationPassedOnlyWhenNothingMissingOrMalformed) {
    const BWIssue issue{"form1.A", "A"};
    struct Case {
        std::vector<BWIssue> missing, formatErr;
        bool full, passed;
    } cases[] = {
        {{}, {}, true, true},
        {{}, {}, false, true},  // scripts that did not finish do not fail the check
        {{issue}, {}, true, false},
        {{}, {issue}, true, false},
    };
    for (const auto &c : cases) {
        BWValidation v{c.missing, c.formatErr, "", c.full};
        EXPECT_EQ(v.passed(), c.passed) << c.missing.size() << c.formatErr.size() << c.full;
    }
}

TEST(BWRecordsTest, FieldSpecEncodingLeavesOutAbsentOptions) {
    BWFieldSpec plain{"form1.A", "姓", "text", "个人", true, std::nullopt};
    EXPECT_EQ(json(plain).dump(), R"({"group":"个人","label":"姓","path":"form1.A","required":true,"type":"text"})");

    BWFieldSpec withOptions = plain;
    withOptions.options = std::vector<BWFieldOption>{{"M", "Male"}};
    EXPECT_EQ(json(withOptions).dump(),
              R"({"group":"个人","label":"姓","options":[{"label":"Male","value":"M"}],"path":"form1.A","required":true,"type":"text"})");

    BWFieldSpec emptyOptions = plain;
    emptyOptions.options = std::vector<BWFieldOption>{};
    for (const auto &spec : {plain, withOptions, emptyOptions})
        EXPECT_EQ(json::parse(json(spec).dump()).get<BWFieldSpec>(), spec);
}

TEST(BWRecordsTest, RecordsRoundTripThroughTheirJson) {
    BWValidation v{{{"p1", "L1"}}, {{"p2", "L2"}}, "r", true};
    EXPECT_EQ(json(v).dump(), R"({"format_err":[{"label":"L2","path":"p2"}],"full":true,"missing":[{"label":"L1","path":"p1"}],"report":"r"})");
    EXPECT_EQ(json(v).get<BWValidation>(), v);

    BWWorkLocationLOV lov{{{"11", "BC"}}, {{"11", {{"8634", "Vancouver"}}}, {"12", {}}}};
    EXPECT_EQ(json(lov).get<BWWorkLocationLOV>(), lov);
    BWField f{"a", "b"};
    EXPECT_EQ(json(f).get<BWField>(), f);
}

TEST(BWRecordsTest, EqualValuesHashAlike) {
    BWFieldSpec a{"p", "l", "choice", "g", false, std::vector<BWFieldOption>{{"1", "One"}}};
    BWFieldSpec b = a;
    BWFieldSpec absent = a;
    absent.options.reset();
    BWFieldSpec empty = a;
    empty.options = std::vector<BWFieldOption>{};
    EXPECT_EQ(a, b);
    EXPECT_EQ(std::hash<BWFieldSpec>{}(a), std::hash<BWFieldSpec>{}(b));
    EXPECT_NE(absent, empty);
    std::unordered_set<BWFieldSpec> set{a, b, absent, empty};
    EXPECT_EQ(set.size(), 3u);

    // Two fields with one path but different values are different values.
    std::unordered_set<BWField> fields{{"p", "1"}, {"p", "2"}, {"p", "1"}};
    EXPECT_EQ(fields.size(), 2u);
    BWWorkLocationLOV l1{{{"11", "BC"}}, {{"11", {}}}};
    BWWorkLocationLOV l2 = l1;
    EXPECT_EQ(std::hash<BWWorkLocationLOV>{}(l1), std::hash<BWWorkLocationLOV>{}(l2));
    l2.cities["11"].push_back({"1", "X"});
    EXPECT_NE(l1, l2);
}

// ---- work-location look-ups ----

TEST(WorkLocationLookupTest, TranslatesCodesAndLabelsAndLeavesTheRest) {
    // "02" is the code of one province and the label of another: codes win.
    const BWWorkLocationLOV lov{
        {{"11", "BC"}, {"02", "NS"}, {"07", "02"}, {"09", "BC"}},
        {{"11", {{"8634", "Vancouver"}, {"8670", "Vanderhoof"}, {"9000", "Vancouver"}}}, {"02", {}}},
    };
    struct Case {
        const char *what;
        std::string got, expected;
    } cases[] = {
        {"provinceLabel of a code", lov.provinceLabel("11"), "BC"},
        {"provinceLabel of an unknown code", lov.provinceLabel("99"), "99"},
        {"provinceLabel of a label", lov.provinceLabel("BC"), "BC"},
        {"provinceCode of a code", lov.provinceCode("11"), "11"},
        {"provinceCode of a label (first match)", lov.provinceCode("BC"), "11"},
        {"provinceCode of a code that is also a label", lov.provinceCode("02"), "02"},
        {"provinceCode of neither", lov.provinceCode("Ontario"), "Ontario"},
        {"provinceCode of empty", lov.provinceCode(""), ""},
        {"cityLabel", lov.cityLabel("8634", "11"), "Vancouver"},
        {"cityLabel of an unknown city", lov.cityLabel("1", "11"), "1"},
        {"cityLabel in a province without cities", lov.cityLabel("8634", "02"), "8634"},
        {"cityLabel in a province without a list", lov.cityLabel("8634", "07"), "8634"},
        {"cityCode of a label (first match)", lov.cityCode("Vancouver", "11"), "8634"},
        {"cityCode of a code", lov.cityCode("8670", "11"), "8670"},
        {"cityCode of neither", lov.cityCode("Toronto", "11"), "Toronto"},
        {"cityCode in a province without a list", lov.cityCode("Vancouver", "07"), "Vancouver"},
        {"cityCode with the province given by label", lov.cityCode("Vancouver", "BC"), "Vancouver"},
    };
    for (const auto &c : cases) EXPECT_EQ(c.got, c.expected) << c.what;
}

// ---- the real engine on the blank forms ----

namespace {
const std::string kForms = BW_FORMS_DIR;
const std::string kImm1295 = kForms + "/imm1295e.pdf";
const std::string kImm5257 = kForms + "/imm5257e.pdf";

// A scratch path of this process (several builds may run these tests at once).
fs::path scratch(const std::string &name) {
    return fs::temp_directory_path() / ("bramwick-wrapper-test-" + std::to_string(getpid()) + "-" + name);
}
}  // namespace

TEST(EngineWrapperRealFormsTest, WorkLocationListsOfImm1295) {
    BWWorkLocationLOV lov = Bramwick::workLocationLOV(kImm1295);
    EXPECT_EQ(lov.provinces.size(), 13u);
    EXPECT_EQ(lov.provinceCode("BC"), "11");
    EXPECT_EQ(lov.provinceLabel("11"), "BC");
    EXPECT_EQ(lov.cityCode("Vancouver", "11"), "8634");
    EXPECT_EQ(lov.cityLabel("8634", "11"), "Vancouver");
    for (const auto &p : lov.provinces) EXPECT_TRUE(lov.cities.count(p.code)) << p.code;
}

TEST(EngineWrapperRealFormsTest, DumpAndSchemaOfBothForms) {
    for (const auto &form : {kImm5257, kImm1295}) {
        std::vector<BWField> fields = Bramwick::dump(form);
        EXPECT_FALSE(fields.empty()) << form;
        std::vector<BWFieldSpec> specs = Bramwick::schema(form);
        ASSERT_FALSE(specs.empty()) << form;
        bool someOptions = false;
        for (const auto &s : specs) {
            EXPECT_THAT(s.path, StartsWith("form1.")) << form;
            someOptions = someOptions || (s.options && !s.options->empty());
        }
        EXPECT_TRUE(someOptions) << form << ": no drop-down has choices";
    }
}

TEST(EngineWrapperRealFormsTest, ValidateAndPdfLinesOfTheBlankImm5257) {
    BWValidation v = Bramwick::validate(kImm5257);
    EXPECT_FALSE(v.passed());
    EXPECT_FALSE(v.report.empty());
    bool maritalStatus = false;
    for (const auto &issue : v.missing) {
        EXPECT_FALSE(issue.label.empty()) << issue.path;
        maritalStatus = maritalStatus || issue.path == "form1.Page1.MaritalStatus.SectionA.MaritalStatus";
    }
    EXPECT_TRUE(maritalStatus) << "the blank form's marital status is not reported missing";

    std::vector<std::string> lines = Bramwick::pdfLines(kImm5257);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Please wait...");
}

TEST(EngineWrapperRealFormsTest, EngineFailuresArriveAsCore) {
    const std::string missing = scratch("no-such-form.pdf").string();
    BWError dumpError = errorOf([&] { Bramwick::dump(missing); });
    EXPECT_EQ(dumpError.kind(), BWError::Kind::core) << dumpError.what();
    EXPECT_FALSE(dumpError.message().empty());

    BWError pathError = errorOf([] { Bramwick::schema("\xff\xfe.pdf"); });
    EXPECT_EQ(pathError, BWError::core("invalid path"));

    const std::string out = scratch("out.pdf").string();
    BWError dataError = errorOf([&] { Bramwick::fill(kImm5257, out, "{"); });
    EXPECT_EQ(dataError.kind(), BWError::Kind::core);
    EXPECT_THAT(dataError.message(), StartsWith("data 不是合法 JSON: "));
    EXPECT_FALSE(fs::exists(out));
}

TEST(EngineWrapperRealFormsTest, FillThenDumpGivesTheValueBack) {
    const fs::path dir = scratch("fill");
    fs::create_directories(dir);
    const std::string out = (dir / "filled.pdf").string();
    fs::remove(out);
    const std::string path = "form1.Page1.PersonalDetails.Name.FamilyName";
    std::int64_t count = Bramwick::fill(kImm5257, out, json{{"fields", {{path, "O'Brien-Wang"}}}}.dump());
    EXPECT_EQ(count, 1);
    bool found = false;
    for (const auto &f : Bramwick::dump(out))
        if (f.path == path) found = (f.value == "O'Brien-Wang");
    EXPECT_TRUE(found) << "the filled family name is not in the dump of the output";

    // The engine's data check is a core error whose text reaches the screen unchanged.
    const std::string rejected = (dir / "rejected.pdf").string();
    BWError e = errorOf([&] { Bramwick::fill(kImm5257, rejected, json{{"fields", {{path, "王"}}}}.dump()); });
    EXPECT_EQ(e.kind(), BWError::Kind::core);
    EXPECT_THAT(e.displayText(), StartsWith("字段格式校验未通过:"));
    EXPECT_THAT(e.displayText(), HasSubstr(path));
    EXPECT_FALSE(fs::exists(rejected));
    fs::remove_all(dir);
}
