// Filling forms: data JSON expansion, the format check, edits of the datasets tree, the encrypted
// incremental update (checked with qpdf on the real IRCC forms) and the all-or-nothing write.
#include "lib/fill.h"

#include <csignal>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <map>

#include <sys/resource.h>
#include <zlib.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "lib/dump.h"
#include "lib/error.h"
#include "lib/fill_writer.h"
#include "lib/loaded_form.h"
#include "lib/pdf_crypto.h"
#include "lib/xml_helpers.h"
#include "lib/xml_writer.h"
#include "xfa_fixture.h"

using namespace bwtest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::Pair;
using ::testing::StartsWith;
using json = nlohmann::json;

namespace {

std::string fill_error(const std::string &in, const std::string &out, const json &data) {
    try {
        bw::fill_data(in, out, data);
    } catch (const bw::Error &e) {
        return e.what();
    }
    return "(filled)";
}

// The decoded stream of one XFA packet, read with qpdf alone.
std::string packet(const std::string &pdf_path, const std::string &name) {
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processFile(pdf_path.c_str());
    QPDFObjectHandle xfa = pdf.getRoot().getKey("/AcroForm").getKey("/XFA");
    std::string found;
    for (int i = 0; i + 1 < xfa.getArrayNItems(); ++i) {
        QPDFObjectHandle item = xfa.getArrayItem(i);
        if (item.isString() && item.getStringValue() == name) {
            auto data = xfa.getArrayItem(i + 1).getStreamData(qpdf_dl_all);
            found.assign(reinterpret_cast<const char *>(data->getBuffer()), data->getSize());
        }
    }
    return found;
}

// Text of the element at an XPath below the datasets' data element ("" when it is missing).
struct Datasets {
    pugi::xml_document doc;
    explicit Datasets(const std::string &pdf_path) { bw::xml::parse(doc, packet(pdf_path, "datasets")); }
    pugi::xml_node data() const { return bw::xml::first_child(doc.document_element(), "data"); }
    pugi::xml_node at(const char *xpath) const { return data().select_node(xpath).node(); }
    std::string text(const char *xpath) const { return at(xpath).text().get(); }
};

bool qpdf_check(const std::string &path) {
    const std::string cmd = "qpdf --check '" + path + "' >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

uint64_t last_startxref(const std::string &bytes) {
    size_t at = bytes.rfind("startxref");
    return std::stoull(bytes.substr(at + 9, 24));
}

// Reads the appended update byte by byte as the layout prescribes; a deviation fails the test.
struct Update {
    struct Object {
        uint64_t number = 0, offset = 0;
        std::string dict, data;
    };
    std::vector<Object> objects;  // datasets, form, cross-reference stream
    uint64_t startxref = 0;
};

class Reader {
  public:
    Reader(const std::string &bytes, size_t pos) : s_(bytes), pos_(pos) {}
    size_t pos() const { return pos_; }
    void expect(const std::string &lit) {
        ASSERT_EQ(s_.substr(pos_, lit.size()), lit) << "at " << pos_;
        pos_ += lit.size();
    }
    uint64_t number() {
        size_t end = pos_;
        while (end < s_.size() && std::isdigit(static_cast<unsigned char>(s_[end]))) ++end;
        EXPECT_GT(end, pos_) << "number expected at " << pos_;
        uint64_t v = end > pos_ ? std::stoull(s_.substr(pos_, end - pos_)) : 0;
        pos_ = end;
        return v;
    }
    std::string until(const std::string &lit) {
        size_t at = s_.find(lit, pos_);
        EXPECT_NE(at, std::string::npos);
        std::string out = s_.substr(pos_, at - pos_);
        pos_ = at;
        return out;
    }
    std::string take(size_t n) {
        std::string out = s_.substr(pos_, n);
        pos_ += n;
        return out;
    }
    bool at_end() const { return pos_ == s_.size(); }

  private:
    const std::string &s_;
    size_t pos_;
};

Update read_update(const std::string &out, size_t input_size) {
    Update u;
    Reader r(out, input_size);
    for (int i = 0; i < 3; ++i) {
        Update::Object o;
        o.offset = r.pos();
        o.number = r.number();
        r.expect(" 0 obj\n<< ");
        o.dict = r.until(" >>\nstream\n");
        r.expect(" >>\nstream\n");
        size_t len_at = o.dict.rfind("/Length ");
        o.data = r.take(std::stoull(o.dict.substr(len_at + 8)));
        r.expect("\nendstream\nendobj\n");
        u.objects.push_back(o);
    }
    r.expect("startxref\n");
    u.startxref = r.number();
    r.expect("\n%%EOF\n");
    EXPECT_TRUE(r.at_end());
    return u;
}

std::string hex(const std::string &bytes) {
    std::string out;
    char b[3];
    for (unsigned char c : bytes) {
        std::snprintf(b, sizeof b, "%02x", c);
        out += b;
    }
    return out;
}

std::vector<std::string> folder_entries(const std::filesystem::path &dir) {
    std::vector<std::string> names;
    for (const auto &e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A small encrypted form around the given data element content.
std::string small_form(const TempDir &dir, const std::string &data_content, bool with_form = true) {
    XfaPdf spec;
    spec.packets = {{"template", kTemplate},
                    {"datasets", "<xfa:datasets xmlns:xfa=\"http://www.xfa.org/schema/xfa-data/1.0/\">"
                                 "<xfa:data>" + data_content + "</xfa:data></xfa:datasets>"}};
    if (with_form) spec.packets.push_back({"form", "<form/>"});
    return dir.write("in.pdf", build_pdf(spec));
}

// The written text of the data element's content, as the filled file holds it.
std::string written_data(const std::string &pdf_path) {
    const std::string xml = packet(pdf_path, "datasets");
    size_t b = xml.find("<xfa:data>"), e = xml.rfind("</xfa:data>");
    if (b == std::string::npos || e == std::string::npos) return "(no data element in " + xml + ")";
    return xml.substr(b + 10, e - b - 10);
}

std::string filled_data(const std::string &data_content, const json &data) {
    TempDir dir;
    const std::string in = small_form(dir, data_content);
    const std::string out = (dir.path / "out.pdf").string();
    bw::fill_data(in, out, data);
    return written_data(out);
}

const std::string kName = "form1.Page1.PersonalDetails.Name.";

json realistic_5257_data() {
    return json::parse(R"({"fields": {
        "form1.Page1.PersonalDetails.Name.FamilyName": "O'Neil-Smith",
        "form1.Page1.PersonalDetails.Name.GivenName": "Mary Ann",
        "form1.Page1.PersonalDetails.DOBYear": "1990",
        "form1.Page1.PersonalDetails.DOBMonth": "07",
        "form1.Page1.PersonalDetails.DOBDay": "15",
        "form1.Page1.PersonalDetails.PlaceBirthCity": "上海 & <浦东>",
        "form1.Page1.PersonalDetails.PlaceBirthCountry": "252",
        "form1.Page1.PersonalDetails.VisaType.VisaType": "VisitorVisa",
        "form1.Page1.PersonalDetails.Sex.Sex": "Female",
        "form1.Page1.PersonalDetails.UCIClientID": "",
        "form1.Page2.MaritalStatus.SectionA.Passport.PassportNum.PassportNum": "E12345678",
        "form1.Page2.ContactInformation.contact.FaxEmail.Email": "mary@example.com",
        "form1.Page3.Education.Edu_Row1[0].School": "Tongji University",
        "form1.Page3.Education.Edu_Row1[2].School": "Fudan University"
      },
      "lists": {"form1.Page3.Occupation.OccupationRow1": [
        {"Employer": "Acme", "FromYear": "2015", "FromMonth": "3"}
      ]}})");
}

}  // namespace

// ---- data JSON ----

TEST(ExpandJson, ShapesAndOrder) {
    struct Case {
        const char *name, *data;
        std::vector<std::pair<std::string, std::string>> want;
    };
    const std::vector<Case> cases = {
        {"fields before lists, rows in order", R"({"lists":{"L":[{"x":"1"},{"y":"2"}]},"fields":{"a.b":"v"}})",
         {{"a.b", "v"}, {"L[0].x", "1"}, {"L[1].y", "2"}}},
        {"flat object", R"({"form1.N":5})", {{"form1.N", "5"}}},
        {"fields not an object: no flat fallback", R"({"fields":["a"],"x":"1"})", {}},
        {"lists alone, non-object rows keep their position", R"({"lists":{"L":[{"a":"x"},3,{"a":"y"}],"M":"no"}})",
         {{"L[0].a", "x"}, {"L[2].a", "y"}}},
        {"other members of a structured object are ignored", R"({"fields":{"a":"1"},"meta":"x"})", {{"a", "1"}}},
        {"value texts", R"({"a":1,"b":null,"c":[1,"x"],"d":{"e":"f"},"f":true,"g":1.5,"h":"\"q\""})",
         {{"a", "1"}, {"b", "null"}, {"c", "[1,\"x\"]"}, {"d", "{\"e\":\"f\"}"}, {"f", "true"}, {"g", "1.5"},
          {"h", "\"q\""}}},
        {"keys in byte order", R"({"é":"1","z":"2","Z":"3","a":"4"})", {{"Z", "3"}, {"a", "4"}, {"z", "2"}, {"é", "1"}}},
        {"not an object", R"([{"a":"1"}])", {}},
        {"a string", R"("x")", {}},
        {"null", "null", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(bw::expand_json(json::parse(c.data)), c.want);
    }
}

TEST(ExpandJson, ValueNestedTooDeeplyIsAnErrorNotACrash) {
    std::string text = "{\"a\":" + std::string(100000, '[') + std::string(100000, ']') + "}";
    json data = json::parse(text);
    EXPECT_THROW(bw::expand_json(data), bw::Error);
    EXPECT_THAT(fill_error("/nonexistent.pdf", "/tmp/x.pdf", data), HasSubstr("嵌套过深"));
}

// ---- format check: runs before anything is read from disk ----

TEST(FillFormat, ProblemsAreReportedPerPathBeforeTheInputIsOpened) {
    struct Case {
        std::string path, value;
        std::string problem;  // empty: passes
    };
    const std::vector<Case> cases = {
        {"a.Name.FamilyName", "O'Neil-Smith Jr", ""},
        {"a.Name.FamilyName", "Li3", "FamilyName 含非法字符 ['3']；只允许字母/连字符/撇号/空格"},
        {"a.GivenName", "张 1@", "GivenName 含非法字符 ['张', '1', '@']；只允许字母/连字符/撇号/空格"},
        {"a.Row[2].FamilyName[1]", "x_", "FamilyName 含非法字符 ['_']；只允许字母/连字符/撇号/空格"},
        {"a.Year", "", ""},
        {"a.Year", "2099", ""},
        {"a.Year", "1899", "Year 超出范围: 1899"},
        {"a.Year", "4294967296", "Year 超出范围: 4294967296"},  // does not fit 32 bits: 0
        {"a.Year", "19a9", "Year 只能是数字，得到 19a9"},
        {"a.Year", "-1990", "Year 只能是数字，得到 -1990"},
        {"a.Month", "07", ""},
        {"a.Month", "13", "Month 超出 1-12: 13"},
        {"a.Month", "0", "Month 超出 1-12: 0"},
        {"a.Month", " 7", "Month 只能是数字，得到  7"},
        {"a.Day", "99", ""},
        {"a.Day", "3x", "Day 只能是数字，得到 3x"},
        {"a.UCI", "12-34", "UCI 只能是数字，得到 12-34"},
        {"a.DOBYear", "abc", ""},  // only the exact field names are checked
        {"a.Email", std::string("x\x01y"), "Email 含 XML 不允许的控制字符"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path + " = " + c.value);
        json data = {{"fields", {{c.path, c.value}}}};
        std::string message = fill_error("/nonexistent/in.pdf", "/nonexistent/out.pdf", data);
        if (c.problem.empty())
            EXPECT_THAT(message, Not(StartsWith("字段格式校验未通过")));  // reached the input
        else
            EXPECT_EQ(message, "字段格式校验未通过:\n  " + c.path + ": " + c.problem);
    }
}

TEST(FillFormat, AllProblemLinesInAssignmentOrder) {
    json data = {{"fields", {{"p.Year", "18"}, {"p.Month", "x"}}},
                 {"lists", {{"L", json::array({{{"FamilyName", "1"}}})}}}};
    EXPECT_EQ(fill_error(form_path("imm5257e.pdf"), "/nonexistent/out.pdf", data),
              "字段格式校验未通过:\n"
              "  p.Month: Month 只能是数字，得到 x\n"
              "  p.Year: Year 超出范围: 18\n"
              "  L[0].FamilyName: FamilyName 含非法字符 ['1']；只允许字母/连字符/撇号/空格");
}

// ---- edits of the datasets tree (small generated forms) ----

TEST(FillTree, AssignmentsCopiesAndTrims) {
    struct Case {
        const char *name, *before, *data, *after;
    };
    const std::vector<Case> cases = {
        {"set a leaf, escaping", "<f><A/><B>old</B></f>", R"({"f.A":"x & <y> \"z\"","f.B":""})",
         "<f><A>x &amp; &lt;y&gt; \"z\"</A><B></B></f>"},
        {"a subform's whole content is replaced", "<f><S><A>1</A><B/></S></f>", R"({"f.S":"t"})", "<f><S>t</S></f>"},
        {"missing instances are emptied copies of the last one, inserted after it",
         "<f><Row k=\"1\"><A>a0</A><C><D>d</D>keep<!--c--></C></Row><Tail/></f>", R"({"f.Row[2].A":"a2"})",
         "<f><Row k=\"1\"><A>a0</A><C><D>d</D>keep<!--c--></C></Row>"
         "<Row k=\"1\"><A /><C><D />keep<!--c--></C></Row>"
         "<Row k=\"1\"><A>a2</A><C><D />keep<!--c--></C></Row><Tail /></f>"},
        {"index forms: +1, not a number, open bracket", "<f><R>0</R><R>1</R></f>",
         R"({"f.R[+1]":"one","f.R[x]":"zero"})", "<f><R>zero</R><R>one</R></f>"},
        {"open bracket is instance 0", "<f><R>0</R></f>", R"({"f.R[":"z"})", "<f><R>z</R></f>"},
        {"names compare without prefix", "<f><p:A xmlns:p=\"u\"/></f>", R"({"f.A":"v"})",
         "<f><p:A xmlns:p=\"u\">v</p:A></f>"},
        {"list of one row trims three instances to one", "<f><T><R><X>1</X></R><R><X>2</X></R><R><X>3</X></R><Z/></T></f>",
         R"({"lists":{"f.T.R":[{"X":"n"}]}})", "<f><T><R><X>n</X></R><Z /></T></f>"},
        {"empty list removes every instance", "<f><T><R/><R/></T></f>", R"({"lists":{"f.T.R":[]}})", "<f><T /></f>"},
        {"list rows beyond the instances are created, then kept", "<f><R><X>1</X></R></f>",
         R"({"lists":{"f.R":[{"X":"a"},{"X":"b"}]}})", "<f><R><X>a</X></R><R><X>b</X></R></f>"},
        {"trim through an indexed parent; a missing parent is skipped", "<f><P/><P><R/><R/></P></f>",
         R"({"lists":{"f.P[1].R":[], "f.Q.R":[], "g":[]}})", "<f><P /><P /></f>"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(filled_data(c.before, json::parse(c.data)), c.after);
    }
}

TEST(FillTree, FailuresLeaveNoOutput) {
    struct Case {
        const char *name, *data_content, *data, *message;
    };
    const std::vector<Case> cases = {
        {"path not in the datasets", "<f><A/></f>", R"({"f.B.C":"x"})", "路径不存在且无模板可克隆: B"},
        {"first segment", "<f/>", R"({"g":"x"})", "路径不存在且无模板可克隆: g"},
        {"empty path", "<f/>", R"({"":"x"})", "路径不存在且无模板可克隆: "},
        {"index too large to create", "<f><R/></f>", R"({"f.R[100000000000].A":"x"})",
         "实例序号过大（最多 1000 个实例）: f.R[100000000000].A"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string in = small_form(dir, c.data_content);
        const auto out = dir.path / "out.pdf";
        EXPECT_EQ(fill_error(in, out.string(), json::parse(c.data)), c.message);
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

TEST(FillTree, DatasetsFaults) {
    TempDir dir;
    XfaPdf spec;
    spec.packets = {{"datasets", "<xfa:datasets xmlns:xfa=\"x\"><other/></xfa:datasets>"}, {"form", "<form/>"}};
    const std::string no_data = dir.write("nodata.pdf", build_pdf(spec));
    EXPECT_EQ(fill_error(no_data, (dir.path / "o.pdf").string(), json::object()), "no data");
    spec.packets[0].xml = "<xfa:datasets><broken></xfa:datasets>";
    const std::string broken = dir.write("broken.pdf", build_pdf(spec));
    EXPECT_THAT(fill_error(broken, (dir.path / "o.pdf").string(), json::object()), StartsWith("XML"));
    EXPECT_THAT(fill_error((dir.path / "missing.pdf").string(), (dir.path / "o.pdf").string(), json::object()),
                HasSubstr("missing.pdf"));
    EXPECT_FALSE(std::filesystem::exists(dir.path / "o.pdf"));
}

TEST(XmlWriter, WritesTheTreeBackAsTheFormsDo) {
    struct Case {
        const char *in, *out;
    };
    const std::vector<Case> cases = {
        {"<a/>", "<a />"},
        {"<a></a>", "<a />"},
        {"<a x='1' y=\"&lt;&amp;&quot;&#10;\"/>", "<a x=\"1\" y=\"&lt;&amp;&quot;&#10;\" />"},
        {"<a>1 &lt; 2 &amp;&amp; 3 &gt; 2 \"'\"</a>", "<a>1 &lt; 2 &amp;&amp; 3 &gt; 2 \"'\"</a>"},
        {"<a>\n  <b/>\n  <!-- c --><?pi v?><![CDATA[x]]]]><![CDATA[>y]]></a>",
         "<a>\n  <b />\n  <!-- c --><?pi v?><![CDATA[x]]]]><![CDATA[>y]]></a>"},
        {"<x:a xmlns:x=\"u\"><x:b>\xe4\xb8\xad</x:b></x:a>", "<x:a xmlns:x=\"u\"><x:b>\xe4\xb8\xad</x:b></x:a>"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.in);
        pugi::xml_document doc;
        bw::parse_xml_faithfully(doc, std::string("<?xml version=\"1.0\"?>\n") + c.in);
        EXPECT_EQ(bw::serialize_xml(doc.document_element()), c.out);
    }
    // An element whose only child is an empty text keeps its end tag.
    pugi::xml_document doc;
    doc.append_child("a").append_child(pugi::node_pcdata);
    EXPECT_EQ(bw::serialize_xml(doc.document_element()), "<a></a>");
    // Deep trees are written without recursion.
    std::string open, close;
    for (int i = 0; i < 100000; ++i) open += "<e>", close += "</e>";
    bw::parse_xml_faithfully(doc, open + close);
    EXPECT_EQ(bw::serialize_xml(doc.document_element()).size(), (open + close).size() - 2);  // innermost "<e />"
}

// ---- documents an update cannot be written for ----

TEST(FillDocument, NoFormPacketFailsInsteadOfWritingObjectZero) {
    TempDir dir;
    const std::string in = small_form(dir, "<f><A/></f>", /*with_form=*/false);
    EXPECT_THAT(fill_error(in, (dir.path / "o.pdf").string(), json::parse(R"({"f.A":"x"})")),
                StartsWith("no form packet"));
    EXPECT_FALSE(std::filesystem::exists(dir.path / "o.pdf"));
}

TEST(FillDocument, OwnerKeyShorterThan32BytesFails) {
    // With this owner password the O string ends in a zero byte; dropping it gives a 31-byte O
    // that the PDF reader pads back, so the document still opens and only the writer objects.
    QPDF pdf;
    pdf.emptyPDF();
    QPDFObjectHandle xfa = QPDFObjectHandle::newArray();
    xfa.appendItem(QPDFObjectHandle::newString("datasets"));
    xfa.appendItem(pdf.newStream(kDatasets));
    xfa.appendItem(QPDFObjectHandle::newString("form"));
    xfa.appendItem(pdf.newStream("<form/>"));
    QPDFObjectHandle acro = QPDFObjectHandle::newDictionary();
    acro.replaceKey("/XFA", xfa);
    pdf.getRoot().replaceKey("/AcroForm", pdf.makeIndirectObject(acro));
    QPDFWriter w(pdf);
    w.setOutputMemory();
    w.setStaticID(true);
    w.setR4EncryptionParametersInsecure("", "owner279", true, true, true, true, true, true, qpdf_r3p_full, true, true);
    w.write();
    auto buffer = w.getBufferSharedPointer();
    std::string bytes(reinterpret_cast<const char *>(buffer->getBuffer()), buffer->getSize());
    size_t o = bytes.find("/O <");
    ASSERT_NE(o, std::string::npos);
    ASSERT_EQ(bytes.substr(o + 4 + 62, 3), "00>");
    bytes.replace(o + 4 + 62, 2, "  ");

    TempDir dir;
    const std::string in = dir.write("short.pdf", bytes);
    ASSERT_EQ(bw::load_form(in).owner_key.size(), 31u);
    EXPECT_THAT(fill_error(in, (dir.path / "o.pdf").string(), json::object()),
                StartsWith("owner key shorter than 32 bytes (31)"));
    EXPECT_FALSE(std::filesystem::exists(dir.path / "o.pdf"));
}

TEST(FillDocument, WriterChecksTheFactsItRelyOn) {
    bw::LoadedForm ok = bw::load_form(form_path("imm5257e.pdf"));
    EXPECT_NO_THROW(bw::check_updatable(ok));
    struct Case {
        const char *name;
        std::function<void(bw::LoadedForm &)> change;
        const char *message_start;
    };
    const std::vector<Case> cases = {
        {"short owner key", [](bw::LoadedForm &f) { f.owner_key.resize(5); }, "owner key shorter than 32 bytes (5)"},
        {"no form packet", [](bw::LoadedForm &f) { f.form_object = 0; }, "no form packet"},
        {"datasets not indirect", [](bw::LoadedForm &f) { f.datasets_object = 0; }, "datasets packet"},
        {"cross-reference number clashes", [](bw::LoadedForm &f) { f.size = f.form_object; }, "object numbers clash"},
        {"AES-256 key length", [](bw::LoadedForm &f) { f.key_bits = 256; }, "unsupported key length 256"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        bw::LoadedForm f = ok;
        c.change(f);
        try {
            bw::check_updatable(f);
            ADD_FAILURE() << "accepted";
        } catch (const bw::Error &e) {
            EXPECT_THAT(e.what(), StartsWith(c.message_start));
        }
    }
}

TEST(FillDocument, OffsetsBeyond4GiBFail) {
    bw::LoadedForm form = bw::load_form(form_path("imm5257e.pdf"));
    bw::UpdateStreams streams{std::string(100, 'd'), std::string(64, 'f')};
    // The cross-reference stream's offset is the largest one; it must still fit 32 bits.
    const uint64_t xref_at = last_startxref(bw::build_update(form, 0, '\n', streams));
    const uint64_t fits = UINT32_MAX - xref_at;
    EXPECT_EQ(last_startxref(bw::build_update(form, fits, '\n', streams)), UINT32_MAX);
    try {
        bw::build_update(form, fits + 1, '\n', streams);
        ADD_FAILURE() << "accepted";
    } catch (const bw::Error &e) {
        EXPECT_THAT(e.what(), HasSubstr("does not fit"));
    }
}

TEST(FillDocument, InputWithoutFinalLineFeedGetsOneBeforeTheUpdate) {
    bw::LoadedForm form = bw::load_form(form_path("imm5257e.pdf"));
    bw::UpdateStreams streams{"d", "f"};
    std::string update = bw::build_update(form, 1000, 'F', streams);
    EXPECT_THAT(update, StartsWith("\n" + std::to_string(form.datasets_object) + " 0 obj\n"));
    Update u = read_update(std::string(1000, ' ') + update, 1001);
    EXPECT_EQ(u.objects[0].offset, 1001u);
}

// ---- crypto pieces ----

TEST(FillCrypto, Md5AesPaddingAndKeys) {
    EXPECT_EQ(hex(bw::crypto::md5("")), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(hex(bw::crypto::md5("abc")), "900150983cd24fb0d6963f7d28e17f72");
    const std::string key(16, 'k');
    for (auto [n, want] : std::vector<std::pair<size_t, size_t>>{{0, 32}, {15, 32}, {16, 48}, {17, 48}})
        EXPECT_EQ(bw::crypto::aes_encrypt(key, std::string(n, 'x')).size(), want) << n;
    // FIPS-197 / SP 800-38A F.2.1 first block.
    auto unhex = [](const std::string &h) {
        std::string out;
        for (size_t i = 0; i < h.size(); i += 2) out.push_back(static_cast<char>(std::stoi(h.substr(i, 2), nullptr, 16)));
        return out;
    };
    std::string c = bw::crypto::aes_encrypt(unhex("2b7e151628aed2a6abf7158809cf4f3c"),
                                            unhex("000102030405060708090a0b0c0d0e0f"),
                                            unhex("6bc1bee22e409f96e93d7e117393172a"));
    EXPECT_EQ(hex(c.substr(16, 16)), "7649abac8119b246cee98e9b12e9197d");
    EXPECT_NE(bw::crypto::aes_encrypt(key, "same"), bw::crypto::aes_encrypt(key, "same"));  // random vectors
    EXPECT_THROW(bw::crypto::file_key(std::string(31, 'o'), -4, "id", 128, true), bw::Error);
    EXPECT_EQ(bw::crypto::file_key(std::string(32, 'o'), -4, "id", 40, true).size(), 5u);
}

TEST(FillCrypto, ZlibStreamsDecompressToTheirInput) {
    for (size_t n : {size_t(0), size_t(1), size_t(128 * 1024), size_t(128 * 1024 + 1), size_t(1 << 20)}) {
        SCOPED_TRACE(n);
        std::string data(n, '\0');
        for (size_t i = 0; i < n; ++i) data[i] = "<Row><A/></Row>xyz"[(i * 7 + i / 1000) % 18];
        const std::string z = bw::crypto::zlib_compress(data);
        ASSERT_GE(z.size(), 6u);
        EXPECT_EQ(z.substr(0, 2), "\x78\x9c");
        std::string back(n + 1, '\0');
        uLongf len = back.size();
        ASSERT_EQ(uncompress(reinterpret_cast<Bytef *>(back.data()), &len,
                             reinterpret_cast<const Bytef *>(z.data()), z.size()), Z_OK);
        back.resize(len);
        EXPECT_EQ(back, data);
    }
}

// ---- the real forms ----

TEST(FillReal, Imm5257UpdateLayoutAndValues) {
    TempDir dir;
    const std::string in = form_path("imm5257e.pdf");
    const std::string out = (dir.path / "filled.pdf").string();
    const std::string input = read_bytes(in);
    bw::fill_data(in, out, realistic_5257_data());

    const std::string output = read_bytes(out);
    EXPECT_EQ(read_bytes(in), input);  // the input is untouched
    ASSERT_GT(output.size(), input.size());
    ASSERT_EQ(output.compare(0, input.size(), input), 0) << "output does not begin with the input";

    const bw::LoadedForm form = bw::load_form(in);
    Update u = read_update(output, input.size());
    ASSERT_EQ(u.objects.size(), 3u);
    const auto &ds = u.objects[0], &fm = u.objects[1], &xr = u.objects[2];
    EXPECT_EQ(ds.number, form.datasets_object);
    EXPECT_EQ(fm.number, form.form_object);
    EXPECT_EQ(xr.number, form.size);
    EXPECT_EQ(ds.dict, "/Type /EmbeddedFile /Filter /FlateDecode /Length " + std::to_string(ds.data.size()));
    EXPECT_EQ(fm.dict, "/Type /EmbeddedFile /Filter /FlateDecode /Length " + std::to_string(fm.data.size()));
    EXPECT_EQ(ds.data.size() % 16, 0u);
    EXPECT_EQ(fm.data.size(), 16u + 64u);  // vector + the compressed 55-byte packet, padded
    EXPECT_EQ(u.startxref, xr.offset);
    EXPECT_EQ(form.prev_xref, last_startxref(input));

    // IMM 5257: datasets 108, form 109, cross-reference stream 127.
    const std::string index = form.form_object == form.datasets_object + 1 && form.size != form.form_object + 1
                                  ? std::to_string(form.datasets_object) + " 2 " + std::to_string(form.size) + " 1"
                                  : "?";
    EXPECT_EQ(xr.dict, "/Type /XRef /Size " + std::to_string(form.size + 1) + " /Root " +
                           std::to_string(form.root.number) + " " + std::to_string(form.root.generation) +
                           " R /Encrypt " + std::to_string(form.encrypt.number) + " " +
                           std::to_string(form.encrypt.generation) + " R /ID [<" + hex(form.id0) + "><" +
                           hex(form.id1) + ">] /Prev " + std::to_string(last_startxref(input)) +
                           " /W [1 4 2] /Index [" + index + "] /Length 21");
    auto entry = [](uint64_t offset) {
        std::string e = "\x01";
        for (int s = 24; s >= 0; s -= 8) e.push_back(static_cast<char>((offset >> s) & 0xff));
        return e + std::string(2, '\0');
    };
    EXPECT_EQ(xr.data, entry(ds.offset) + entry(fm.offset) + entry(xr.offset));

    EXPECT_TRUE(qpdf_check(out));
    EXPECT_EQ(packet(out, "form"), bw::kEmptyFormPacket);
    Datasets d(out);
    EXPECT_EQ(d.text("form1/Page1/PersonalDetails/Name/FamilyName"), "O'Neil-Smith");
    EXPECT_EQ(d.text("form1/Page1/PersonalDetails/Name/GivenName"), "Mary Ann");
    EXPECT_EQ(d.text("form1/Page1/PersonalDetails/PlaceBirthCity"), "上海 & <浦东>");
    EXPECT_EQ(d.text("form1/Page1/PersonalDetails/DOBMonth"), "07");
    EXPECT_EQ(d.text("form1/Page2/MaritalStatus/SectionA/Passport/PassportNum/PassportNum"), "E12345678");
    // Rows 1 and 2 were created from row 0 after it was set: row 1 holds only empty leaves.
    EXPECT_EQ(d.text("form1/Page3/Education/Edu_Row1[1]/School"), "Tongji University");
    EXPECT_EQ(d.text("form1/Page3/Education/Edu_Row1[3]/School"), "Fudan University");
    EXPECT_FALSE(d.at("form1/Page3/Education/Edu_Row1[4]"));
    const std::string written = written_data(out);
    const size_t row1 = written.find("<Edu_Row1>", written.find("<Edu_Row1>") + 1);
    ASSERT_NE(row1, std::string::npos);
    EXPECT_EQ(written.substr(row1, written.find("</Edu_Row1>", row1) + 11 - row1),
              "<Edu_Row1><FromYear /><FromMonth /><ToYear /><ToMonth /><FieldOfStudy /><School /><CityTown />"
              "<Country><Country /></Country><ProvState /></Edu_Row1>");
    EXPECT_EQ(d.text("form1/Page3/Occupation/OccupationRow1/Employer"), "Acme");
    // Untouched data and the LOV lists beside the data element survive.
    EXPECT_EQ(d.text("form1/Page1/FormVersion"), ".ENU-02-2018");
    EXPECT_TRUE(d.doc.document_element().select_node("LOVFile/LOV/CityList"));

    // The dump of the output gives the values back, choice codes as their display texts.
    std::map<std::string, std::string> dumped;
    for (auto &[path, value] : bw::dump(out)) dumped[path] = value;
    const std::string p = "form1.Page1.PersonalDetails.";
    EXPECT_EQ(dumped[p + "Name.FamilyName"], "O'Neil-Smith");
    EXPECT_EQ(dumped[p + "PlaceBirthCity"], "上海 & <浦东>");
    EXPECT_EQ(dumped[p + "PlaceBirthCountry"], "Afghanistan");
    EXPECT_EQ(dumped[p + "VisaType.VisaType"], "Visitor Visa");
    EXPECT_EQ(dumped["form1.Page3.Education.Edu_Row1[0].School"], "Tongji University");
    EXPECT_EQ(dumped.count("form1.Page3.Education.Edu_Row1[1].School"), 1u);
    EXPECT_EQ(dumped["form1.Page3.Education.Edu_Row1[1].School"], "");
    EXPECT_EQ(dumped["form1.Page3.Education.Edu_Row1[2].School"], "Fudan University");
}

TEST(FillReal, FilledFileFillsAgainAndRandomVectorsDifferOnly) {
    TempDir dir;
    const std::string in = form_path("imm5257e.pdf");
    const std::string first = (dir.path / "v1.pdf").string();
    const std::string again = (dir.path / "v1b.pdf").string();
    const std::string second = (dir.path / "v2.pdf").string();
    const json data = {{"fields", {{kName + "FamilyName", "Li"}}}};
    bw::fill_data(in, first, data);
    bw::fill_data(in, again, data);
    const std::string a = read_bytes(first), b = read_bytes(again);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_NE(a, b);
    EXPECT_EQ(read_update(a, read_bytes(in).size()).objects[2].dict,
              read_update(b, read_bytes(in).size()).objects[2].dict);

    bw::fill_data(first, second, {{"fields", {{kName + "GivenName", "Wei"}}}});
    const std::string s = read_bytes(second);
    ASSERT_EQ(s.compare(0, a.size(), a), 0);
    Update u = read_update(s, a.size());
    EXPECT_THAT(u.objects[2].dict, HasSubstr("/Prev " + std::to_string(last_startxref(a)) + " "));
    EXPECT_TRUE(qpdf_check(second));
    Datasets d(second);
    EXPECT_EQ(d.text("form1/Page1/PersonalDetails/Name/FamilyName"), "Li");
    EXPECT_EQ(d.text("form1/Page1/PersonalDetails/Name/GivenName"), "Wei");
}

TEST(FillReal, Imm1295WithARepeatedName) {
    TempDir dir;
    const std::string in = form_path("imm1295e.pdf");
    const std::string out = (dir.path / "filled.pdf").string();
    bw::fill_data(in, out,
                  {{"fields", {{kName + "FamilyName", "Wang"}, {"form1.Page4.BackgroundInfo.Choice[1]", "Y"}}}});
    const std::string input = read_bytes(in), output = read_bytes(out);
    ASSERT_EQ(output.compare(0, input.size(), input), 0);
    EXPECT_THAT(read_update(output, input.size()).objects[2].dict,
                HasSubstr("/Prev " + std::to_string(last_startxref(input)) + " "));
    EXPECT_TRUE(qpdf_check(out));
    Datasets d(out);
    EXPECT_EQ(d.text("form1/Page1/PersonalDetails/Name/FamilyName"), "Wang");
    EXPECT_EQ(d.text("form1/Page4/BackgroundInfo/Choice[2]"), "Y");
    EXPECT_EQ(d.text("form1/Page4/BackgroundInfo/Choice[1]"), "");
}

// ---- the all-or-nothing write ----

TEST(FillWrite, FailedWriteKeepsTheExistingOutputAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string out = dir.write("filled.pdf", "previous version");
    const json data = {{"fields", {{kName + "FamilyName", "Li"}}}};

    // The file system refuses to grow a file past 64 KiB: the write fails half-way.
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message = fill_error(form_path("imm5257e.pdf"), out, data);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, old_handler);

    EXPECT_THAT(message, StartsWith("cannot write " + out + ": "));
    EXPECT_THAT(message, HasSubstr("too large"));
    EXPECT_EQ(read_bytes(out), "previous version");
    EXPECT_THAT(folder_entries(dir.path), ElementsAre("filled.pdf"));

    // Without the limit the same fill replaces the file.
    bw::fill_data(form_path("imm5257e.pdf"), out, data);
    EXPECT_TRUE(qpdf_check(out));
    EXPECT_THAT(folder_entries(dir.path), ElementsAre("filled.pdf"));
}

TEST(FillWrite, UnwritableDestinationsFailClearly) {
    TempDir dir;
    const std::string file = dir.write("plain", "x");
    std::filesystem::create_directory(dir.path / "folder");
    struct Case {
        std::string out, reason;
    };
    const std::vector<Case> cases = {
        {file + "/out.pdf", "Not a directory"},
        {(dir.path / "missing" / "out.pdf").string(), "No such file or directory"},
        {(dir.path / "folder").string(), "Is a directory"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.out);
        EXPECT_EQ(fill_error(form_path("imm5257e.pdf"), c.out, json::object()), "cannot write " + c.out + ": " + c.reason);
    }
    EXPECT_THAT(folder_entries(dir.path), ElementsAre("folder", "plain"));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path / "folder"));
    EXPECT_EQ(read_bytes(file), "x");
}

TEST(FillWrite, OutputMayReplaceTheInput) {
    TempDir dir;
    const std::string path = dir.write("form.pdf", read_bytes(form_path("imm5257e.pdf")));
    bw::fill_data(path, path, {{"fields", {{kName + "FamilyName", "Li"}}}});
    EXPECT_TRUE(qpdf_check(path));
    EXPECT_EQ(Datasets(path).text("form1/Page1/PersonalDetails/Name/FamilyName"), "Li");
    EXPECT_THAT(folder_entries(dir.path), ElementsAre("form.pdf"));
}
