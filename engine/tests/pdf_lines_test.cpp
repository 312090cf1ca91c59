// Text lines of PDFs: files written by real producers, and small hand-made pages for the rules
// of positioning, grouping and decoding.
#ifndef POINTERHOLDER_TRANSITION
#define POINTERHOLDER_TRANSITION 4
#endif
#include "pdf_text/pdf_lines.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "lib/error.h"
#include "pdf_text/to_unicode.h"

using namespace bw;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Lines = std::vector<std::string>;

namespace {

std::string fixture(const std::string &name) {
    return std::string(BW_FIXTURES_DIR) + "/pdf_text/" + name;
}

std::string temp_path(const std::string &name) {
    return (std::filesystem::path(testing::TempDir()) / ("pdf_lines_" + name)).string();
}

// Fonts every hand-made page offers:
//   /Plain  no ToUnicode map (bytes are Latin-1)
//   /Two    two-byte codes: bfchar <0001> 你, <0002> 好; bfrange <0010>-<0012> from A;
//           bfrange <0020>-<0021> as the array [世 界]; <0030> ideographic space
//   /One    one-byte codes only: <01> 中, bfrange <61>-<63> from a
//   /Junk   a ToUnicode stream that is not a CMap (the font is used without a map)
//   /Broken a font entry that is not a dictionary (not in the font table)
const char *kTwoByteCMap =
    "/CIDInit /ProcSet findresource begin 12 dict begin begincmap\n"
    "/CMapName /Test-UCS def\n"
    "1 begincodespacerange <0000> <FFFF> endcodespacerange\n"
    "3 beginbfchar\n<0001> <4F60>\n<0002> <597D>\n<0030> <3000>\nendbfchar\n"
    "2 beginbfrange\n<0010> <0012> <0041>\n<0020> <0021> [<4E16> <754C>]\nendbfrange\n"
    "endcmap CMapName currentdict /CMap defineresource pop end end\n";
const char *kOneByteCMap =
    "begincmap\n1 begincodespacerange <00> <FF> endcodespacerange\n"
    "1 beginbfchar <01> <4E2D> endbfchar\n"
    "1 beginbfrange <61> <63> <0061> endbfrange\nendcmap\n";

struct Page {
    std::string content;
    std::map<std::string, std::string> forms;  // form XObject name -> its content
};

std::string write_pdf(const std::string &name, const std::vector<Page> &pages) {
    QPDF pdf;
    pdf.emptyPDF();
    auto font = [&](const char *cmap) {
        QPDFObjectHandle f = QPDFObjectHandle::parse(
            "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
        if (cmap) f.replaceKey("/ToUnicode", QPDFObjectHandle::newStream(&pdf, cmap));
        return pdf.makeIndirectObject(f);
    };
    QPDFObjectHandle fonts = QPDFObjectHandle::newDictionary();
    fonts.replaceKey("/Plain", font(nullptr));
    fonts.replaceKey("/Two", font(kTwoByteCMap));
    fonts.replaceKey("/One", font(kOneByteCMap));
    fonts.replaceKey("/Junk", font("this is not a character map"));
    fonts.replaceKey("/Broken", QPDFObjectHandle::newInteger(7));
    QPDFPageDocumentHelper doc(pdf);
    for (const Page &p : pages) {
        QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
        resources.replaceKey("/Font", fonts);
        if (!p.forms.empty()) {
            QPDFObjectHandle xobjects = QPDFObjectHandle::newDictionary();
            for (const auto &[form_name, form_content] : p.forms) {
                QPDFObjectHandle form = QPDFObjectHandle::newStream(&pdf, form_content);
                form.getDict().replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
                form.getDict().replaceKey("/Subtype", QPDFObjectHandle::newName("/Form"));
                form.getDict().replaceKey("/BBox", QPDFObjectHandle::parse("[0 0 612 792]"));
                QPDFObjectHandle form_resources = QPDFObjectHandle::newDictionary();
                form_resources.replaceKey("/Font", fonts);
                form.getDict().replaceKey("/Resources", form_resources);
                xobjects.replaceKey(form_name, form);
            }
            resources.replaceKey("/XObject", xobjects);
        }
        QPDFObjectHandle page = QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 612 792] >>");
        page.replaceKey("/Resources", resources);
        page.replaceKey("/Contents", QPDFObjectHandle::newStream(&pdf, p.content));
        doc.addPage(QPDFPageObjectHelper(pdf.makeIndirectObject(page)), false);
    }
    std::string path = temp_path(name + ".pdf");
    QPDFWriter writer(pdf, path.c_str());
    writer.setStaticID(true);
    writer.write();
    return path;
}

Lines lines_of_page(const std::string &name, const std::string &content,
                    std::map<std::string, std::string> forms = {}) {
    return pdf_lines(write_pdf(name, {Page{content, std::move(forms)}}));
}

}  // namespace

// --- Files written by real producers -------------------------------------------------------

// Printed by Chromium from chromium_page.html: Liberation Sans and Droid Sans Fallback embedded
// as Identity-H Type0 fonts with ToUnicode maps (bfchar and bfrange), the bold heading's
// Chinese as Type 3 fonts with one-byte codes, all under a flipped page matrix.
TEST(PdfLinesProducers, ChromiumPrintedPage) {
    EXPECT_THAT(pdf_lines(fixture("chromium_page.pdf")),
                ElementsAre("客户问卷 Client Questionnaire", "1. 您的姓名 What is your full name?",
                            "张伟 Zhang Wei", "2. 出生日期 Date of birth", "1990-05-17",
                            "左栏 Left右栏 Right"));  // two columns at one height: one line
}

// Exported by LibreOffice Writer from libreoffice_doc.html (Noto Serif CJK).
TEST(PdfLinesProducers, LibreOfficeExport) {
    EXPECT_THAT(pdf_lines(fixture("libreoffice_doc.pdf")),
                ElementsAre("工作经历 Employment history", "3. 您目前的雇主 Current employer",
                            "北京星辰科技有限公司 Beijing Star Tech Ltd.", "4. 职位 Job title",
                            "软件工程师 Software Engineer"));
}

// Ten printed pages (questionnaire_10p.html): every page's heading, questions and answers,
// in page order.
TEST(PdfLinesProducers, TenPagePrintedQuestionnaire) {
    Lines lines = pdf_lines(fixture("questionnaire_10p.pdf"));
    ASSERT_EQ(lines.size(), 10u * (1 + 18 * 2));
    EXPECT_EQ(lines[0], "客户问卷 Client Questionnaire — 第1页 Page 1");
    EXPECT_EQ(lines[1], "1. 您的姓名 What is your full name?");
    EXPECT_EQ(lines[2], "张伟 Zhang Wei");
    EXPECT_EQ(lines[37], "客户问卷 Client Questionnaire — 第2页 Page 2");
    EXPECT_EQ(lines[38], "19. 访问加拿大的目的 Purpose of visit to Canada");
    EXPECT_EQ(lines[lines.size() - 2], "180. 计划停留时间 Planned length of stay");
    EXPECT_EQ(lines.back(), "2周 2 weeks");
}

// --- Hand-made pages -----------------------------------------------------------------------

struct ContentCase {
    const char *name;
    const char *content;
    Lines expected;
};

class PdfLinesContent : public testing::TestWithParam<ContentCase> {};

TEST_P(PdfLinesContent, Lines) {
    const ContentCase &c = GetParam();
    EXPECT_EQ(lines_of_page(c.name, c.content), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Grouping, PdfLinesContent,
    testing::Values(
        ContentCase{"within_tolerance",
                    "BT /Plain 12 Tf 1 0 0 1 200 700 Tm (right) Tj 1 0 0 1 50 697.5 Tm (left) Tj ET",
                    {"leftright"}},
        ContentCase{"tolerance_is_exclusive",
                    "BT /Plain 12 Tf 50 700 Td (upper) Tj 0 -4 Td (lower) Tj ET", {"upper", "lower"}},
        ContentCase{"compared_with_first_piece",
                    "BT /Plain 12 Tf 10 700 Td (a) Tj 10 -3 Td (b) Tj 10 -3 Td (c) Tj ET",
                    {"ab", "c"}},
        ContentCase{"same_position_keeps_drawing_order",
                    "BT /Plain 12 Tf 72 700 Td (one) Tj (two) Tj (three) Tj ET", {"onetwothree"}},
        ContentCase{"top_to_bottom",
                    "BT /Plain 12 Tf 72 100 Td (bottom) Tj 0 600 Td (top) Tj 0 -300 Td (middle) Tj ET",
                    {"top", "middle", "bottom"}},
        ContentCase{"two_columns_mix_at_equal_heights",
                    "BT /Plain 12 Tf 300 700 Td (R1) Tj 0 -20 Td (R2) Tj ET "
                    "BT /Plain 12 Tf 50 700 Td (L1 ) Tj 0 -20 Td (L2 ) Tj ET",
                    {"L1 R1", "L2 R2"}},
        ContentCase{"blank_lines_dropped_and_lines_trimmed",
                    "BT /Plain 12 Tf 72 700 Td (   ) Tj 0 -20 Td (  x y \t) Tj ET "
                    "BT /Two 12 Tf 72 600 Td <0030000100300030> Tj 0 -20 Td <0030> Tj ET",
                    {"x y", "你"}}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Operators, PdfLinesContent,
    testing::Values(
        ContentCase{"tj_array_ignores_spacing",
                    "BT /Plain 12 Tf 72 700 Td [(Hello) -2500 (World) 120.5 (!)] TJ ET",
                    {"HelloWorld!"}},
        ContentCase{"tj_array_with_map",
                    "BT /Two 12 Tf 72 700 Td [<0001> -900 <0002>] TJ ET", {"你好"}},
        ContentCase{"leading_and_next_line",
                    "BT /Plain 12 Tf 14 TL 72 700 Td (a) Tj T* (b) Tj T* (c) Tj ET", {"a", "b", "c"}},
        ContentCase{"tm_sets_position",
                    "BT /Plain 12 Tf 72 700 Td 2 0 0 2 72 400 Tm (x) Tj 0 300 Td (y) Tj ET",
                    {"y", "x"}},
        ContentCase{"bt_resets_position",
                    "BT /Plain 12 Tf 10 700 Td (a) Tj ET BT /Plain 12 Tf 0 650 Td (b) Tj ET",
                    {"a", "b"}},
        // q saves the matrix, Q restores it: (A) is drawn 100 lower, (B) at its own height.
        ContentCase{"matrix_stack",
                    "q 1 0 0 1 0 -100 cm BT /Plain 12 Tf 72 700 Td (A) Tj ET Q "
                    "BT /Plain 12 Tf 72 650 Td (B) Tj ET",
                    {"B", "A"}},
        ContentCase{"nested_matrix_stack",
                    "q 1 0 0 1 0 -100 cm q 1 0 0 1 0 -100 cm Q BT /Plain 1 Tf 72 700 Td (A) Tj ET Q "
                    "Q Q BT /Plain 1 Tf 72 650 Td (B) Tj ET",
                    {"B", "A"}},
        // The new matrix applies first: (0,0) moves to (10,0), then doubles to (20,0).
        ContentCase{"cm_multiplies_on_the_left",
                    "q 2 0 0 2 0 0 cm 1 0 0 1 10 0 cm BT /Plain 1 Tf 0 350 Td (A) Tj ET Q "
                    "BT /Plain 1 Tf 15 700 Td (B) Tj ET",
                    {"BA"}},
        ContentCase{"flipped_matrix",
                    ".24 0 0 -.24 0 792 cm BT /Plain 40 Tf 1 0 0 -1 100 100 Tm (first) Tj "
                    "0 200 Td (second) Tj ET",
                    {"first", "second"}},
        ContentCase{"inline_image_data_is_not_text",
                    "BI /W 6 /H 1 /BPC 8 /CS /G ID (x) Tj\nEI BT /Plain 1 Tf 72 700 Td (real) Tj ET",
                    {"real"}},
        ContentCase{"other_operators_have_no_effect",
                    "1 0 0 rg 0 0 100 100 re f BT /Plain 12 Tf 72 700 Td 2 Tc 3 Tw 100 Tz 1 Tr "
                    "(a) Tj ET 10 10 m 20 20 l S BT /Plain 12 Tf 72 680 Td (b) Tj ET",
                    {"a", "b"}}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Decoding, PdfLinesContent,
    testing::Values(
        ContentCase{"no_map_is_latin1", "BT /Plain 12 Tf 72 700 Td (caf\\351) Tj ET", {"café"}},
        ContentCase{"no_font_is_latin1", "BT 72 700 Td (plain) Tj ET", {"plain"}},
        ContentCase{"unknown_font_is_latin1", "BT /Nope 12 Tf 72 700 Td (abc) Tj ET", {"abc"}},
        ContentCase{"unreadable_map_is_latin1", "BT /Junk 12 Tf 72 700 Td (abc) Tj ET", {"abc"}},
        ContentCase{"font_not_a_dictionary_is_latin1", "BT /Broken 12 Tf 72 700 Td (abc) Tj ET",
                    {"abc"}},
        ContentCase{"bfchar_and_bfrange",
                    "BT /Two 12 Tf 72 700 Td <000100020010001100120020 0021> Tj ET",
                    {"你好ABC世界"}},
        ContentCase{"unknown_codes_skipped", "BT /Two 12 Tf 72 700 Td <00010099000200> Tj ET",
                    {"你好"}},
        ContentCase{"one_byte_map_second_pass", "BT /One 12 Tf 72 700 Td <0161620163> Tj ET",
                    {"中ab中c"}},
        ContentCase{"nothing_known_draws_nothing",
                    "BT /Two 12 Tf 72 700 Td <7777> Tj 0 -20 Td (zz) Tj ET", {}},
        ContentCase{"font_switch_in_one_text_object",
                    "BT /Plain 12 Tf 72 700 Td (ab) Tj /Two 12 Tf (\\000\\001) Tj /One 9 Tf (\\001) Tj ET",
                    {"ab你中"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(PdfLines, FormXObjectTextIsIgnored) {
    EXPECT_THAT(lines_of_page("form_xobject",
                              "BT /Plain 12 Tf 72 700 Td (visible) Tj ET q 1 0 0 1 0 0 cm /X1 Do Q",
                              {{"/X1", "BT /Plain 12 Tf 72 600 Td (hidden) Tj ET"}}),
                ElementsAre("visible"));
}

TEST(PdfLines, PagesInOrderAndStateResetPerPage) {
    // Page 2 draws without Tf, q/cm or Td of its own: nothing of page 1's state carries over.
    std::string path = write_pdf(
        "pages", {Page{"q 1 0 0 1 0 -500 cm BT /Two 12 Tf 14 TL 72 700 Td <0001> Tj ET q", {}},
                  Page{"BT (\\000\\001) Tj ET BT 0 10 Td (up) Tj ET", {}},
                  Page{"", {}},
                  Page{"BT /Plain 1 Tf 5 5 Td (last) Tj ET", {}}});
    EXPECT_THAT(pdf_lines(path), ElementsAre("你", "up", std::string("\0\1", 2), "last"));
}

TEST(PdfLines, UndecodableContentYieldsNothingForThatPage) {
    QPDF pdf;
    pdf.processFile(write_pdf("bad_content_src", {Page{"BT (one) Tj ET", {}},
                                                  Page{"BT 0 9 Td (two) Tj ET", {}}})
                        .c_str());
    QPDFObjectHandle contents = QPDFPageDocumentHelper(pdf).getAllPages()[0].getObjectHandle()
                                    .getKey("/Contents");
    contents.replaceStreamData("not deflated at all", QPDFObjectHandle::newName("/FlateDecode"),
                               QPDFObjectHandle::newNull());
    std::string path = temp_path("bad_content.pdf");
    QPDFWriter writer(pdf, path.c_str());
    writer.setStaticID(true);
    writer.setCompressStreams(false);
    writer.setDecodeLevel(qpdf_dl_none);
    writer.write();
    EXPECT_THAT(pdf_lines(path), ElementsAre("two"));
}

// --- Failures ------------------------------------------------------------------------------

TEST(PdfLinesErrors, FileThatCannotBeReadIsAnError) {
    std::string missing = temp_path("does_not_exist.pdf");
    std::filesystem::remove(missing);
    std::string text = temp_path("not_a_pdf.pdf");
    std::ofstream(text) << "name,value\nZhang,Wei\n";
    std::string empty = temp_path("empty.pdf");
    std::ofstream(empty).close();
    std::string truncated = temp_path("truncated.pdf");
    {
        std::ifstream in(fixture("chromium_page.pdf"), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::ofstream(truncated, std::ios::binary) << bytes.substr(0, bytes.size() / 3);
    }
    for (const std::string &path : {missing, text, empty, truncated}) {
        SCOPED_TRACE(path);
        try {
            pdf_lines(path);
            ADD_FAILURE() << "no error";
        } catch (const Error &e) {
            EXPECT_STRNE(e.what(), "");
        }
    }
}

TEST(PdfLinesErrors, MissingFileMessageNamesTheFile) {
    std::string missing = temp_path("no_such_file.pdf");
    std::filesystem::remove(missing);
    try {
        pdf_lines(missing);
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_THAT(e.what(), ::testing::HasSubstr("no_such_file.pdf"));
    }
}

// --- ToUnicode maps ------------------------------------------------------------------------

TEST(ToUnicodeMap, ParsesTheFormsProducersWrite) {
    ToUnicodeMap map = ToUnicodeMap::parse(
        "%!PS comment with beginbfchar <0099> <0041> in it\n"
        "2 beginbfchar <00 0A> <0066 0069> <000B> <D83DDE00> endbfchar\n"
        "1 beginbfrange <00FE> <0101> <00FE> endbfrange\n"  // the destination carries
        "1 beginbfrange <0200> <0203> [<0041> <0042>] endbfrange\n"  // shorter array than range
        "1 beginbfrange <FFFE> <1FFFF> <0030> endbfrange\n"  // codes above FFFF never looked up
        "1 beginbfchar <0C> (not hex) <000D> <0044> endbfchar\n"
        "1 beginbfrange <0300> [<0041>] endbfrange <0301> <0045> ");
    std::vector<std::pair<uint32_t, const char *>> known = {
        {0x0A, "fi"}, {0x0B, "😀"}, {0xFE, "þ"}, {0xFF, "ÿ"}, {0x100, "Ā"}, {0x101, "ā"},
        {0x200, "A"}, {0x201, "B"}, {0xFFFE, "0"}, {0xFFFF, "1"}, {0x0D, "D"}};
    for (auto [code, text] : known) {
        SCOPED_TRACE(code);
        ASSERT_NE(map.find(code), nullptr);
        EXPECT_EQ(*map.find(code), text);
    }
    for (uint32_t code : {0x99u, 0x202u, 0x0Cu, 0x301u, 0x10000u}) {
        EXPECT_EQ(map.find(code), nullptr) << code;
    }
}

TEST(ToUnicodeMap, GarbageGivesAnEmptyMap) {
    for (const char *text : {"", "beginbfchar", "beginbfrange <00> <FFFF>", "<<<<>>>>[[]]((",
                             "beginbfchar <0001 endbfchar", "\xff\xfe\x00 beginbfrange [ ] <"}) {
        EXPECT_TRUE(ToUnicodeMap::parse(text).empty()) << text;
    }
}
