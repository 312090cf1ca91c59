// Opening XFA forms: the real IRCC forms and small generated ones for each structural case.
#include "lib/loaded_form.h"

#include <gtest/gtest.h>

#include "lib/error.h"
#include "xfa_fixture.h"

using namespace bwtest;

namespace {

std::string replace_once(std::string bytes, const std::string &from, const std::string &to) {
    size_t at = bytes.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) bytes.replace(at, from.size(), to);
    return bytes;
}
// Blanks out text in place so that every offset of the file stays valid.
std::string blank_out(const std::string &bytes, const std::string &from, const std::string &keep_prefix = "") {
    return replace_once(bytes, from, keep_prefix + std::string(from.size() - keep_prefix.size(), ' '));
}

std::string message_of(const std::string &path) {
    try {
        bw::load_form(path);
    } catch (const bw::Error &e) {
        return e.what();
    }
    return "(loaded)";
}

XfaPdf small_form() {
    XfaPdf spec;
    spec.packets = {{"template", kTemplate}, {"datasets", kDatasets}, {"form", "<form/>"}};
    return spec;
}

}  // namespace

TEST(LoadFormReal, BothFormsOpenWithEverythingTheUpdateNeeds) {
    for (const char *name : {"imm5257e.pdf", "imm1295e.pdf"}) {
        SCOPED_TRACE(name);
        const std::string path = form_path(name);
        bw::LoadedForm f = bw::load_form(path);
        EXPECT_NE(f.datasets.find("<xfa:data"), std::string::npos);
        ASSERT_TRUE(f.template_.has_value());
        EXPECT_NE(f.template_->find("<template"), std::string::npos);
        EXPECT_GT(f.datasets_object, 0u);
        EXPECT_GT(f.form_object, 0u);
        EXPECT_NE(f.datasets_object, f.form_object);
        EXPECT_GT(f.root.number, 0u);
        EXPECT_GT(f.encrypt.number, 0u);
        EXPECT_GT(f.size, f.datasets_object);
        EXPECT_GT(f.size, f.form_object);
        EXPECT_EQ(f.id0.size(), 16u);
        EXPECT_EQ(f.id1.size(), 16u);
        EXPECT_GE(f.owner_key.size(), 32u);
        EXPECT_EQ(f.key_bits, 128u);
        // The last startxref points at a cross-reference section of the file.
        const std::string bytes = read_bytes(path);
        ASSERT_LT(f.prev_xref, bytes.size());
        const std::string at = bytes.substr(f.prev_xref, 24);
        EXPECT_TRUE(at.rfind("xref", 0) == 0 || at.find(" obj") != std::string::npos) << at;
        EXPECT_NE(bytes.rfind("startxref"), std::string::npos);
    }
}

TEST(LoadFormReal, UpdatedFileYieldsTheLastStartxref) {
    // IMM 5257 has been saved incrementally: it carries several startxref keywords.
    const std::string bytes = read_bytes(form_path("imm5257e.pdf"));
    const size_t last = bytes.rfind("startxref");
    ASSERT_NE(bytes.find("startxref"), last);
    const uint64_t expected = std::stoull(bytes.substr(last + 9, 30));
    EXPECT_EQ(bw::load_form(form_path("imm5257e.pdf")).prev_xref, expected);
}

TEST(LoadForm, PacketsInAnyOrderAndTheLaterDatasetsWins) {
    TempDir dir;
    XfaPdf spec;
    spec.packets = {{"form", "<form/>"},
                    {"datasets", "<first/>"},
                    {"config", "<config/>"},
                    {"template", kTemplate},
                    {"datasets", kDatasets}};
    const std::string bytes = build_pdf(spec);
    bw::LoadedForm f = bw::load_form(dir.write("f.pdf", bytes));
    EXPECT_EQ(f.datasets, kDatasets);
    ASSERT_TRUE(f.template_);
    EXPECT_EQ(*f.template_, kTemplate);
    // The object numbers are those of the streams that follow the names.
    const std::string ds_obj = "\n" + std::to_string(f.datasets_object) + " 0 obj";
    const std::string form_obj = "\n" + std::to_string(f.form_object) + " 0 obj";
    EXPECT_NE(bytes.find(ds_obj), std::string::npos);
    EXPECT_NE(bytes.find(form_obj), std::string::npos);
    EXPECT_LT(f.form_object, f.datasets_object);  // qpdf numbers the streams in array order
    EXPECT_EQ(f.id0, f.id1);
    EXPECT_EQ(f.id0.size(), 16u);
    EXPECT_EQ(f.permissions, -4);
    EXPECT_TRUE(f.encrypt_metadata);
    EXPECT_EQ(f.key_bits, 128u);
    EXPECT_EQ(f.owner_key.size(), 32u);
    EXPECT_EQ(f.prev_xref, std::stoull(bytes.substr(bytes.rfind("startxref") + 9)));
}

TEST(LoadForm, OptionalPartsOfTheForm) {
    TempDir dir;
    {
        SCOPED_TRACE("no template packet");
        XfaPdf spec;
        spec.packets = {{"datasets", kDatasets}};
        bw::LoadedForm f = bw::load_form(dir.write("a.pdf", build_pdf(spec)));
        EXPECT_FALSE(f.template_);
        EXPECT_EQ(f.form_object, 0u);
        EXPECT_GT(f.datasets_object, 0u);
    }
    {
        SCOPED_TRACE("template entry that is not a stream");
        XfaPdf spec;
        spec.packets = {{"template", kTemplate, Packet::string}, {"datasets", kDatasets}};
        EXPECT_FALSE(bw::load_form(dir.write("b.pdf", build_pdf(spec))).template_);
    }
    {
        SCOPED_TRACE("packet name in the last place");
        XfaPdf spec = small_form();
        spec.packets.push_back({"datasets", "", Packet::none});
        EXPECT_EQ(bw::load_form(dir.write("c.pdf", build_pdf(spec))).datasets, kDatasets);
    }
    {
        SCOPED_TRACE("EncryptMetadata false");
        XfaPdf spec = small_form();
        spec.encrypt_metadata = false;
        EXPECT_FALSE(bw::load_form(dir.write("d.pdf", build_pdf(spec))).encrypt_metadata);
    }
    {
        SCOPED_TRACE("AES-256");
        XfaPdf spec = small_form();
        spec.crypt = Crypt::aes256;
        bw::LoadedForm f = bw::load_form(dir.write("e.pdf", build_pdf(spec)));
        EXPECT_EQ(f.datasets, kDatasets);
        EXPECT_EQ(f.owner_key.size(), 48u);
        EXPECT_EQ(f.key_bits, 256u);
    }
}

TEST(LoadForm, TrailerAndEncryptionFacts) {
    TempDir dir;
    const std::string base = build_pdf(small_form());
    const std::string id1 = "<31415926535897932384626433832795>]";
    {
        SCOPED_TRACE("ID with one string");
        // AES-256 keys do not depend on the ID, so the reader still opens the file.
        XfaPdf spec = small_form();
        spec.crypt = Crypt::aes256;
        const std::string bytes = replace_once(build_pdf(spec), "><31415926535897932384626433832795>]",
                                               ">" + std::string(id1.size() - 1, ' ') + "]");
        bw::LoadedForm f = bw::load_form(dir.write("a.pdf", bytes));
        EXPECT_EQ(f.id0.size(), 16u);
        EXPECT_EQ(f.id1, "");
    }
    {
        SCOPED_TRACE("Length missing");
        const std::string bytes = blank_out(base, "/Standard /Length 128", "/Standard");
        EXPECT_EQ(bw::load_form(dir.write("b.pdf", bytes)).key_bits, 128u);
    }
    {
        SCOPED_TRACE("several startxref");
        const size_t xref = base.rfind("\nxref") + 1;
        const size_t startxref = base.rfind("startxref");
        std::string bytes = base + base.substr(xref, startxref - xref) + "startxref\n" +
                            std::to_string(base.size()) + "\n%%EOF\n";
        bw::LoadedForm f = bw::load_form(dir.write("c.pdf", bytes));
        EXPECT_EQ(f.prev_xref, base.size());
        EXPECT_EQ(f.datasets, kDatasets);
    }
}

TEST(LoadForm, StructuralFaultsHaveTheirOwnMessages) {
    struct Case {
        const char *name;
        XfaPdf spec;
        const char *message;
    };
    XfaPdf no_acroform = small_form();
    no_acroform.acroform = false;
    XfaPdf no_xfa = small_form();
    no_xfa.xfa = false;
    XfaPdf no_datasets;
    no_datasets.packets = {{"template", kTemplate}, {"form", "<form/>"}};
    XfaPdf lone_name;
    lone_name.packets = {{"template", kTemplate}, {"datasets", "", Packet::none}};
    XfaPdf not_stream;
    not_stream.packets = {{"template", kTemplate}, {"datasets", kDatasets, Packet::string}};
    XfaPdf clear = small_form();
    clear.crypt = Crypt::none;
    const Case cases[] = {
        {"no AcroForm", no_acroform, "no AcroForm"},
        {"no XFA", no_xfa, "no XFA"},
        {"no datasets packet", no_datasets, "no datasets"},
        {"datasets name with nothing after it", lone_name, "no datasets"},
        {"datasets entry that is a string", not_stream, "not stream"},
        {"saved without encryption", clear, "not encrypted"},
    };
    TempDir dir;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(message_of(dir.write("f.pdf", build_pdf(c.spec))), c.message);
    }
}

TEST(LoadForm, FilesThatAreNotFormsFailWithAMessage) {
    TempDir dir;
    const std::string real = read_bytes(form_path("imm5257e.pdf"));
    const std::string small = build_pdf(small_form());
    struct Case {
        const char *name;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty file", ""},
        {"text file", "hello, this is not a PDF\n"},
        {"header only", "%PDF-1.7\n"},
        {"truncated real form", real.substr(0, real.size() / 3)},
        {"truncated small form", small.substr(0, small.size() / 2)},
        {"garbage after header", "%PDF-1.7\n" + std::string(5000, '\x07')},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string message = message_of(dir.write("bad.pdf", c.bytes));
        EXPECT_NE(message, "(loaded)");
        EXPECT_FALSE(message.empty());
    }
    EXPECT_NE(message_of((dir.path / "missing.pdf").string()).find("No such file"), std::string::npos);
    EXPECT_NE(message_of(dir.path.string()), "(loaded)");  // a folder

    // Without any startxref keyword the reader may still recover the file; the update cannot.
    std::string no_startxref = small;
    no_startxref.replace(no_startxref.rfind("startxref"), 9, "startxreF");
    EXPECT_EQ(message_of(dir.write("nx.pdf", no_startxref)), "no startxref");
}
