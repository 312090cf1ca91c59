// The template walk, the label rules, drop-down choices and the schema of the real forms.
#include "acrobat/schema.h"

#include <algorithm>
#include <map>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "acrobat/template_nodes.h"
#include "lib/error.h"
#include "lib/xml_helpers.h"
#include "xfa_fixture.h"

using namespace bw;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

struct Parsed {
    pugi::xml_document doc;
    explicit Parsed(const std::string &xml) { xml::parse(doc, xml); }
    pugi::xml_node root() const { return doc.document_element(); }
};

std::vector<std::string> paths_of(const std::vector<TemplateNode> &nodes) {
    std::vector<std::string> out;
    for (const auto &n : nodes) out.push_back(n.path);
    return out;
}

std::vector<FieldSpec> specs_of(const std::string &template_xml, const std::string &datasets_xml = "") {
    Parsed t(template_xml);
    if (datasets_xml.empty()) return schemaOfTemplate(t.root(), {});
    Parsed d(datasets_xml);
    return schemaOfTemplate(t.root(), d.root());
}

const FieldSpec *find_spec(const std::vector<FieldSpec> &specs, const std::string &path) {
    auto it = std::find_if(specs.begin(), specs.end(), [&](const FieldSpec &s) { return s.path == path; });
    return it == specs.end() ? nullptr : &*it;
}

std::vector<std::pair<std::string, std::string>> pairs(const std::vector<FieldOption> &options) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto &o : options) out.emplace_back(o.value, o.label);
    return out;
}

std::string field(const std::string &name, const std::string &body = "") {
    return "<field name='" + name + "'>" + body + "</field>";
}
std::string caption(const std::string &text) { return "<caption><value><text>" + text + "</text></value></caption>"; }

}  // namespace

// ---- the walk: paths, transparency, the root subform ----

TEST(TemplateWalk, RootSubformNameDecidesThePathPrefix) {
    struct Case {
        const char *root_open;
        std::vector<std::string> paths;
        std::string spec_path, group;
    } cases[] = {
        {"<subform name='form1'>", {"Page1", "Page1.Sec", "Page1.Sec.A"}, "form1.Page1.Sec.A", "Sec"},
        {"<subform>", {"Page1", "Page1.Sec", "Page1.Sec.A"}, "form1.Page1.Sec.A", "Sec"},
        {"<subform name='main'>", {"main", "main.Page1", "main.Page1.Sec", "main.Page1.Sec.A"},
         "form1.main.Page1.Sec.A", "Page1"},
    };
    for (const auto &c : cases) {
        std::string xml = std::string("<template xmlns='http://www.xfa.org/schema/xfa-template/2.8/'>") +
                          c.root_open + "<subform name='Page1'><subform name='Sec'>" + field("A") +
                          "</subform></subform></subform></template>";
        SCOPED_TRACE(c.root_open);
        Parsed t(xml);
        EXPECT_EQ(paths_of(collectTemplateNodes(t.root())), c.paths);
        auto specs = specs_of(xml);
        ASSERT_EQ(specs.size(), 1u);
        EXPECT_EQ(specs[0].path, c.spec_path);
        EXPECT_EQ(specs[0].group, c.group);
    }
}

TEST(TemplateWalk, UnnamedAndForeignElementsAreTransparent) {
    Parsed t("<template><subform name='form1'>"
             "<pageSet><pageArea name='P'><draw name='D'/></pageArea></pageSet>"
             "<subform name='Page1'><subform><subformSet><area>" +
             field("A") + "</area></subformSet></subform><field>" + field("Inner") + "</field></subform>"
             "</subform></template>");
    auto nodes = collectTemplateNodes(t.root());
    EXPECT_THAT(paths_of(nodes), ElementsAre("Page1", "Page1.A", "Page1.Inner"));
    EXPECT_EQ(nodes[0].className, "subform");
    EXPECT_EQ(nodes[0].uiKind, "");
    EXPECT_EQ(nodes[0].label, "");
    EXPECT_EQ(nodes[1].className, "field");
}

TEST(TemplateWalk, NodeKindsPresenceAndMandatory) {
    Parsed t("<template><subform name='form1'><subform name='S' presence='hidden'>"
             "<validate nullTest='error'/>"
             "<exclGroup name='G'><validate nullTest='error'/>" +
             field("Yes", "<ui><checkButton/></ui>") +
             "</exclGroup>" + field("F", "<validate nullTest='warning'/><validate nullTest='error'/>") +
             field("R", "<validate nullTest='error'/>") + "<field name='Inv' presence='invisible'/>"
             "</subform></subform></template>");
    auto nodes = collectTemplateNodes(t.root());
    ASSERT_EQ(nodes.size(), 6u);
    std::map<std::string, const TemplateNode *> by;
    for (const auto &n : nodes) by[n.path] = &n;
    EXPECT_EQ(by["S"]->mandatory, "disabled");  // subforms never declare it
    EXPECT_EQ(by["S"]->presence, "hidden");
    EXPECT_EQ(by["S.G"]->className, "exclGroup");
    EXPECT_EQ(by["S.G"]->mandatory, "error");
    EXPECT_EQ(by["S.G"]->uiKind, "");
    EXPECT_EQ(by["S.G.Yes"]->uiKind, "checkButton");
    EXPECT_EQ(by["S.F"]->mandatory, "disabled");  // only the first validate counts
    EXPECT_EQ(by["S.R"]->mandatory, "error");
    EXPECT_EQ(by["S.R"]->presence, "visible");
    EXPECT_EQ(by["S.Inv"]->presence, "invisible");
}

TEST(TemplateWalk, WidgetIsTheUiOneOfChild) {
    struct Case {
        std::string ui, kind;
    } cases[] = {
        {"<ui><picture>date{YYYY-MM-DD}</picture><dateTimeEdit/></ui>", "dateTimeEdit"},
        {"<ui><extras/><picture/><choiceList/></ui>", "choiceList"},
        {"<ui><numericEdit/><picture/></ui>", "numericEdit"},
        {"<ui><signature/></ui>", "signature"},
        {"<ui><picture/></ui>", "textEdit"},
        {"<ui/>", "textEdit"},
        {"", "textEdit"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.ui);
        Parsed t("<template><subform name='form1'>" + field("F", c.ui) + "</subform></template>");
        auto nodes = collectTemplateNodes(t.root());
        ASSERT_EQ(nodes.size(), 1u);
        EXPECT_EQ(nodes[0].uiKind, c.kind);
    }
}

// ---- labels ----

TEST(Labels, HumanizeName) {
    std::pair<const char *, const char *> cases[] = {
        {"FamilyName", "Family Name"},   {"DOBYear", "DOB Year"},
        {"UCIClient", "UCI Client"},     {"PassportNum2B", "Passport Num2 B"},
        {"COR", "COR"},                  {"Page1", "Page1"},
        {"Row2[0]", "Row2"},             {"natIDIndicator", "nat ID Indicator"},
        {"", ""},                        {"A", "A"},
        {"ÉtéName", "ÉtéName"},          {"Contacts_Row1", "Contacts_Row1"},
    };
    for (const auto &[in, out] : cases) EXPECT_EQ(humanizeName(in), out) << in;
}

TEST(Labels, CaptionText) {
    std::pair<std::string, std::string> cases[] = {
        {caption("* Family name"), "Family name"},
        {caption("Family name *"), "Family name *"},
        {caption("**\n   Given\t  name(s) "), "Given name(s)"},
        {caption("  *  *x"), "*x"},  // stars after the first piece are not leading any more
        {caption("***"), ""},
        {caption("a<![CDATA[b]]>c"), "abc"},
        {"<caption><value><exData>rich</exData></value></caption>", ""},
        {"<caption><value><text/></value></caption>", ""},
        {"", ""},
    };
    for (const auto &[body, want] : cases) {
        Parsed t("<field name='x'>" + body + "</field>");
        EXPECT_EQ(captionText(t.root()), want) << body;
    }
}

TEST(Labels, WeakCaptionsFallBackToTheHumanisedName) {
    struct Case {
        std::string group_caption, field_caption, label;
    } cases[] = {
        {"Date of birth", "YYYY", "Date of birth - DOB Year"},
        {"Date of birth", "MM", "Date of birth - DOB Year"},
        {"Date of birth", "", "Date of birth - DOB Year"},
        {"", "YYYY", "DOB Year"},
        {"Date of birth", "Year", "Year"},           // four bytes are enough
        {"Date of birth", "\xe5\xb9\xb4", "Date of birth - DOB Year"},  // one CJK character is weak
        {"Date of birth", "\xe5\xb9\xb4\xe4\xbb\xbd", "\xe5\xb9\xb4\xe4\xbb\xbd"},
        {"Date of birth", "* YYYY", "Date of birth - DOB Year"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.field_caption);
        std::string sub_caption = c.group_caption.empty() ? "" : caption(c.group_caption);
        Parsed t("<template><subform name='form1'><subform name='DOB'>" + sub_caption +
                 field("DOBYear", c.field_caption.empty() ? "" : caption(c.field_caption)) +
                 "</subform></subform></template>");
        auto nodes = collectTemplateNodes(t.root());
        ASSERT_EQ(nodes.size(), 2u);
        EXPECT_EQ(nodes[1].label, c.label);
    }
}

TEST(Labels, GroupCaptionIsInheritedFromTheNearestCaptionedContainer) {
    Parsed t("<template><subform name='form1'>" + caption("Form title") +
             "<subform name='A'>" + caption("Section A") + "<subform name='B'>" + field("X") +
             "<exclGroup name='G'>" + caption("Q") + field("Yes") + "</exclGroup>" +
             "</subform></subform>" + field("Top") + "</subform></template>");
    auto nodes = collectTemplateNodes(t.root());
    std::map<std::string, std::string> labels;
    for (const auto &n : nodes) labels[n.path] = n.label;
    EXPECT_EQ(labels["A.B.X"], "Section A - X");
    EXPECT_EQ(labels["A.B.G"], "Section A - G");   // its own weak caption does not name it
    EXPECT_EQ(labels["A.B.G.Yes"], "Q - Yes");     // but a non-empty one names the group for its buttons
    EXPECT_EQ(labels["Top"], "Form title - Top");  // the root's caption still counts
}

// ---- choices ----

TEST(Choices, ItemsListsArePairedOnlyWhenTheyMatch) {
    std::string items_pair = "<items><text>Yes</text><text>No</text></items>"
                             "<items save='1'><integer> 1 </integer><float>0</float></items>";
    Parsed t("<template><subform name='form1'>" +
             field("Paired", items_pair) +
             field("Single", "<items><text>a</text><text>b</text></items>") +
             field("Unequal", "<items><text>a</text><text>b</text></items><items save='1'><text>1</text></items>") +
             field("Empty", "<items/><items save='1'/>") +
             field("Replaced", "<items><text>old</text></items><items save='1'><text>1</text><text>2</text></items>"
                               "<items><text>x</text><text>y</text><draw/><text/></items>"
                               "<items save='1'><text>1</text><text>2</text><decimal>3</decimal></items>") +
             "</subform></template>");
    auto options = collectChoiceOptions(t.root(), {});
    EXPECT_THAT(pairs(options["Paired"]), ElementsAre(std::pair<std::string, std::string>("1", "Yes"),
                                                     std::pair<std::string, std::string>("0", "No")));
    EXPECT_EQ(options.count("Single"), 0u);
    EXPECT_EQ(options.count("Unequal"), 0u);
    EXPECT_EQ(options.count("Empty"), 0u);
    EXPECT_EQ(pairs(options["Replaced"]).size(), 3u);
    EXPECT_EQ(options["Replaced"][2].label, "");  // a text without content is an empty label
}

namespace {
const char *kLovDatasets =
    "<xfa:datasets xmlns:xfa='http://www.xfa.org/schema/xfa-data/1.0/'><xfa:data/>"
    "<LOVFile><LOV><CountryList>"
    "<Country lic=''/>"
    "<Country lic='252'> Afghanistan </Country>"
    "<Country lic='081'>Albania</Country>"
    "<Other lic='9'>skip</Other>"
    "<Country lic='000'/>"
    "<Country><code>511</code>Canada</Country>"
    "</CountryList></LOV></LOVFile></xfa:datasets>";

std::string bound(const std::string &name, const std::string &attrs, const std::string &extra = "") {
    return field(name, "<ui><choiceList/></ui>" + extra + "<bindItems " + attrs + "/>");
}
}  // namespace

TEST(Choices, BindItemsReadTheLovFileLists) {
    std::string ref = "ref='xfa.datasets.LOVFile.LOV.CountryList.Country[*]'";
    Parsed t("<template><subform name='form1'>" +
             bound("ByAttr", ref + " valueRef='lic' labelRef='$'") +
             bound("ByAt", ref + " valueRef='@lic'") +
             bound("ByChild", ref + " valueRef='code'") +
             bound("NoLov", "ref='xfa.datasets.Other.LOV.CountryList.Country[*]' valueRef='lic'") +
             bound("Gap", "ref='xfa.datasets.LOVFile.Missing.CountryList.Country[*]' valueRef='lic'") +
             bound("NoRef", "valueRef='lic'") +
             bound("Indexed", "ref='LOVFile.LOV[0].CountryList[0].Country' valueRef='lic'") +
             bound("LovIndexed", "ref='xfa.datasets.LOVFile[0].LOV.CountryList.Country[*]' valueRef='lic'") +
             bound("OverItems", ref + " valueRef='lic'",
                   "<items><text>x</text></items><items save='1'><text>1</text></items>") +
             bound("KeepItems", "ref='xfa.datasets.LOVFile.LOV.NoList.Country[*]' valueRef='lic'",
                   "<items><text>x</text></items><items save='1'><text>1</text></items>") +
             "</subform></template>");
    Parsed d(kLovDatasets);
    auto options = collectChoiceOptions(t.root(), d.root());
    using P = std::pair<std::string, std::string>;
    EXPECT_THAT(pairs(options["ByAttr"]), ElementsAre(P("252", "Afghanistan"), P("081", "Albania")));
    EXPECT_EQ(pairs(options["ByAt"]), pairs(options["ByAttr"]));
    EXPECT_THAT(pairs(options["ByChild"]), ElementsAre(P("511", "Canada")));
    EXPECT_EQ(pairs(options["Indexed"]), pairs(options["ByAttr"]));
    EXPECT_EQ(options.count("NoLov"), 0u);
    EXPECT_EQ(options.count("LovIndexed"), 0u);  // the LOVFile piece must match exactly
    EXPECT_EQ(options.count("Gap"), 0u);
    EXPECT_EQ(options.count("NoRef"), 0u);
    EXPECT_EQ(pairs(options["OverItems"]), pairs(options["ByAttr"]));
    EXPECT_THAT(pairs(options["KeepItems"]), ElementsAre(P("1", "x")));

    // Without datasets, only the template's own lists count.
    auto no_data = collectChoiceOptions(t.root(), {});
    EXPECT_EQ(no_data.count("ByAttr"), 0u);
    EXPECT_THAT(pairs(no_data["KeepItems"]), ElementsAre(P("1", "x")));
}

TEST(Choices, FieldsNamedAlikeShareTheLastListThatHasChoices) {
    auto list = [](const char *label, const char *value) {
        return std::string("<ui><choiceList/></ui><items><text>") + label + "</text></items><items save='1'><text>" +
               value + "</text></items>";
    };
    auto specs = specs_of("<template><subform name='form1'>"
                          "<subform name='A'>" + field("Kind", list("First", "1")) + "</subform>"
                          "<subform name='B'>" + field("Kind", list("Second", "2")) + "</subform>"
                          "<subform name='C'>" + field("Kind", "<ui><choiceList/></ui>") + "</subform>"
                          "</subform></template>");
    ASSERT_EQ(specs.size(), 3u);
    for (const auto &s : specs) {
        SCOPED_TRACE(s.path);
        EXPECT_EQ(s.type, "dropdown");
        ASSERT_TRUE(s.options.has_value());
        ASSERT_EQ(s.options->size(), 1u);
        EXPECT_EQ((*s.options)[0].label, "Second");
    }
}

// ---- the schema of a template ----

TEST(SchemaOfTemplate, ListsVisibleQuestionsOnce) {
    auto specs = specs_of(
        "<template><subform name='form1'><subform name='Page1'><subform name='PersonalDetails'>" +
        field("FamilyName", caption("* Family name") + "<validate nullTest='error'/>") +
        field("Hidden", "") .replace(0, 6, "<field presence='hidden'") +
        "<subform name='Off' presence='hidden'>" + field("Shown", caption("Shown inside")) + "</subform>" +
        "<exclGroup name='Married'>" + caption("Are you married?") + "<validate nullTest='error'/>" +
        field("Yes", "<ui><checkButton/></ui>") + field("No", "<ui><checkButton/></ui>") + "</exclGroup>" +
        field("Go", "<ui><button/></ui>") + field("When", "<ui><picture/><dateTimeEdit/></ui>") +
        field("Tick", "<ui><checkButton/></ui>") + field("Count", "<ui><numericEdit/></ui>") +
        field("Sign", "<ui><signature/></ui>") + field("Pick", "<ui><choiceList/></ui>") +
        "</subform></subform>" + field("Loose") + "</subform></template>");
    std::vector<std::string> paths;
    for (const auto &s : specs) paths.push_back(s.path);
    const std::string p = "form1.Page1.PersonalDetails.";
    EXPECT_THAT(paths, ElementsAre(p + "FamilyName", p + "Off.Shown", p + "Married", p + "When", p + "Tick",
                                   p + "Count", p + "Sign", p + "Pick", "form1.Loose"));
    struct Want {
        std::string path, label, type, group;
        bool required;
    } wants[] = {
        {p + "FamilyName", "Family name", "text", "Personal Details", true},
        {p + "Off.Shown", "Shown inside", "text", "Personal Details", false},
        {p + "Married", "Are you married?", "yesno", "Personal Details", true},
        {p + "When", "When", "date", "Personal Details", false},
        {p + "Tick", "Tick", "checkbox", "Personal Details", false},
        {p + "Count", "Count", "number", "Personal Details", false},
        {p + "Sign", "Sign", "text", "Personal Details", false},
        {p + "Pick", "Pick", "dropdown", "Personal Details", false},
        {"form1.Loose", "Loose", "text", "Loose", false},
    };
    for (const auto &w : wants) {
        SCOPED_TRACE(w.path);
        const FieldSpec *s = find_spec(specs, w.path);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->label, w.label);
        EXPECT_EQ(s->type, w.type);
        EXPECT_EQ(s->group, w.group);
        EXPECT_EQ(s->required, w.required);
        EXPECT_FALSE(s->options.has_value());  // "Pick" has no list of its own
    }
}

TEST(SchemaOfTemplate, ButtonsOfAHiddenExclusionGroupStayOut) {
    auto specs = specs_of("<template><subform name='form1'><subform name='P'>"
                          "<exclGroup name='Q' presence='hidden'>" + field("Yes") + "</exclGroup>" +
                          "<exclGroup name='QQ'/>" + field("QQX") +
                          "</subform></subform></template>");
    std::vector<std::string> paths;
    for (const auto &s : specs) paths.push_back(s.path);
    EXPECT_THAT(paths, ElementsAre("form1.P.QQ", "form1.P.QQX"));  // a shared name prefix is not nesting
}

// ---- schema of a PDF ----

namespace {
std::string xfa_pdf(bwtest::TempDir &dir, const std::vector<bwtest::Packet> &packets) {
    bwtest::XfaPdf spec;
    spec.packets = packets;
    return dir.write("form.pdf", bwtest::build_pdf(spec));
}
const char *kTemplate =
    "<template xmlns='http://www.xfa.org/schema/xfa-template/2.8/'><subform name='form1'>"
    "<subform name='Page1'><field name='Country'><ui><choiceList/></ui>"
    "<bindItems ref='xfa.datasets.LOVFile.LOV.CountryList.Country[*]' valueRef='lic'/></field>"
    "</subform></subform></template>";
}  // namespace

TEST(SchemaOfPdf, ReadsTemplateAndBoundChoices) {
    bwtest::TempDir dir;
    auto specs = schema(xfa_pdf(dir, {{"template", kTemplate}, {"datasets", kLovDatasets}}));
    ASSERT_EQ(specs.size(), 1u);
    EXPECT_EQ(specs[0].path, "form1.Page1.Country");
    ASSERT_TRUE(specs[0].options.has_value());
    EXPECT_EQ(specs[0].options->size(), 2u);
}

TEST(SchemaOfPdf, UnreadableDatasetsOnlyLoseTheBoundChoices) {
    bwtest::TempDir dir;
    auto specs = schema(xfa_pdf(dir, {{"template", kTemplate}, {"datasets", "<xfa:datasets><broken"}}));
    ASSERT_EQ(specs.size(), 1u);
    EXPECT_EQ(specs[0].type, "dropdown");
    EXPECT_FALSE(specs[0].options.has_value());
}

TEST(SchemaOfPdf, Failures) {
    bwtest::TempDir dir;
    {
        std::string path = xfa_pdf(dir, {{"datasets", kLovDatasets}});
        try {
            schema(path);
            ADD_FAILURE() << "no template must fail";
        } catch (const Error &e) {
            EXPECT_STREQ(e.what(), "PDF 无 template 包");
        }
    }
    {
        std::string path = xfa_pdf(dir, {{"template", "<template><subform>"}, {"datasets", kLovDatasets}});
        EXPECT_THROW(schema(path), Error);
    }
    {
        bwtest::XfaPdf spec;
        spec.packets = {{"template", kTemplate}};
        std::string path = dir.write("nodata.pdf", bwtest::build_pdf(spec));
        try {
            schema(path);
            ADD_FAILURE() << "no datasets must fail";
        } catch (const Error &e) {
            EXPECT_STREQ(e.what(), "no datasets");
        }
    }
    EXPECT_THROW(schema(dir.write("junk.pdf", "not a pdf at all")), Error);
    EXPECT_THROW(schema((dir.path / "missing.pdf").string()), Error);
}

// ---- the real forms ----

namespace {
std::map<std::string, int> type_counts(const std::vector<FieldSpec> &specs) {
    std::map<std::string, int> counts;
    for (const auto &s : specs) ++counts[s.type];
    return counts;
}
}  // namespace

TEST(SchemaOfRealForms, Imm5257) {
    auto specs = schema(bwtest::form_path("imm5257e.pdf"));
    EXPECT_EQ(specs.size(), 186u);
    EXPECT_EQ(type_counts(specs), (std::map<std::string, int>{
                                      {"checkbox", 6}, {"date", 19}, {"dropdown", 35}, {"text", 107}, {"yesno", 19}}));
    for (const auto &s : specs) {
        EXPECT_EQ(s.path.rfind("form1.", 0), 0u) << s.path;
        EXPECT_EQ(s.path.find('['), std::string::npos) << s.path;
        EXPECT_FALSE(s.label.empty()) << s.path;
        EXPECT_EQ(s.options.has_value(), s.type == "dropdown") << s.path;  // every drop-down has its list
    }
    const std::string pd = "form1.Page1.PersonalDetails.";
    struct Want {
        std::string path, label, type, group;
        bool required;
        size_t options;
    } wants[] = {
        {pd + "Name.FamilyName", "Family name (as shown on your passport or travel document)", "text",
         "Personal Details", true, 0},
        {pd + "Name.GivenName", "Given Name", "text", "Personal Details", false, 0},
        {pd + "DOBYear", "DOB Year", "text", "Personal Details", true, 0},
        {pd + "ServiceIn.ServiceIn", "I want service in", "dropdown", "Personal Details", true, 2},
        {pd + "PlaceBirthCountry", "Country", "dropdown", "Personal Details", true, 262},
        {pd + "Citizenship.Citizenship", "Citizenship", "dropdown", "Personal Details", true, 207},
        {pd + "AliasName.AliasNameIndicator.AliasNameIndicator", "Alias Name Indicator", "yesno",
         "Personal Details", true, 0},
        {pd + "CurrentCOR.Row2.FromDate", "From Date", "date", "Personal Details", false, 0},
        {"form1.Page1.MaritalStatus.SectionA.MaritalStatus", "a) Your current marital status", "dropdown",
         "Marital Status", true, 8},
        {"form1.Page2.MaritalStatus.SectionA.Passport.IssueDate.IssueDate", "Issue date", "date",
         "Marital Status", true, 0},
        {"form1.Page2.ContactInformation.contact.AddressRow2.ProvinceState.ProvinceState", "Province/State",
         "dropdown", "Contact Information", false, 13},
        {"form1.Page2.ContactInformation.contact.PhoneNumbers.Phone.CanadaUS", "Canada/US", "checkbox",
         "Contact Information", false, 0},
        {"form1.Page3.DetailsOfVisit.PurposeRow1.PurposeOfVisit.PurposeOfVisit", "a) Purpose of my visit",
         "dropdown", "Details Of Visit", true, 9},
    };
    for (const auto &w : wants) {
        SCOPED_TRACE(w.path);
        const FieldSpec *s = find_spec(specs, w.path);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->label, w.label);
        EXPECT_EQ(s->type, w.type);
        EXPECT_EQ(s->group, w.group);
        EXPECT_EQ(s->required, w.required);
        EXPECT_EQ(s->options ? s->options->size() : 0u, w.options);
    }
    const FieldSpec *service = find_spec(specs, pd + "ServiceIn.ServiceIn");
    ASSERT_NE(service, nullptr);
    using P = std::pair<std::string, std::string>;
    EXPECT_THAT(pairs(*service->options), ElementsAre(P("01", "English"), P("02", "French")));
    const FieldSpec *country = find_spec(specs, pd + "PlaceBirthCountry");
    ASSERT_NE(country, nullptr);
    EXPECT_EQ(pairs(*country->options)[0], P("252", "Afghanistan"));

    // Left out: buttons, invisible helpers and the option buttons of yes/no questions.
    for (const char *absent : {"form1.Page1.ButtonsHeader.ValidateButton", "form1.Page1.ButtonsHeader.Age",
                               "form1.Page1.PersonalDetails.PCRIndicator.Yes",
                               "form1.Page1.PersonalDetails.CORDates.FromYr"})
        EXPECT_EQ(find_spec(specs, absent), nullptr) << absent;
}

TEST(SchemaOfRealForms, Imm1295) {
    auto specs = schema(bwtest::form_path("imm1295e.pdf"));
    EXPECT_EQ(specs.size(), 192u);
    EXPECT_EQ(type_counts(specs), (std::map<std::string, int>{
                                      {"checkbox", 10}, {"date", 19}, {"dropdown", 36}, {"text", 106}, {"yesno", 21}}));
    const FieldSpec *permit =
        find_spec(specs, "form1.Page3.DetailsOfIntendedWork.DetailsOfWork.TypeofWork.WorkPermitType");
    ASSERT_NE(permit, nullptr);
    EXPECT_EQ(permit->label, "What type of work permit are you applying for?");
    EXPECT_TRUE(permit->required);
    ASSERT_TRUE(permit->options.has_value());
    EXPECT_EQ(permit->options->size(), 6u);
    EXPECT_TRUE(std::any_of(permit->options->begin(), permit->options->end(), [](const FieldOption &o) {
        return o.value == "OWP" && o.label == "Open Work Permit";
    }));
    const FieldSpec *province =
        find_spec(specs, "form1.Page3.IntendedLocationInCanada.intendedLocation.ProvinceState.ProvinceState");
    ASSERT_NE(province, nullptr);
    EXPECT_EQ(province->group, "Intended Location In Canada");
    ASSERT_TRUE(province->options.has_value());
    EXPECT_EQ(province->options->size(), 13u);
    EXPECT_EQ((*province->options)[1].value, "11");
    EXPECT_EQ((*province->options)[1].label, "BC");
    const FieldSpec *taiwan = find_spec(specs, "form1.Page2.MaritalStatus.SectionA.Passport.TaiwanPIN");
    ASSERT_NE(taiwan, nullptr);
    EXPECT_EQ(taiwan->type, "yesno");
}

TEST(TemplateWalk, DeepNestingDoesNotExhaustTheStack) {
    std::string xml = "<template>";
    for (int i = 0; i < 100000; ++i) xml += "<subform>";
    xml += "<field name='Deep'/>";
    for (int i = 0; i < 100000; ++i) xml += "</subform>";
    xml += "</template>";
    Parsed t(xml);
    EXPECT_THAT(paths_of(collectTemplateNodes(t.root())), ElementsAre("Deep"));
    EXPECT_TRUE(collectChoiceOptions(t.root(), {}).empty());
}
