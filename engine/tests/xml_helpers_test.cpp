#include "lib/xml_helpers.h"

#include <gtest/gtest.h>

#include "lib/error.h"

using namespace bw;

TEST(XmlHelpers, LocalNamesTextAndTrim) {
    pugi::xml_document doc;
    xml::parse(doc, "<xfa:root xmlns:xfa='u'><a>x</a><p:data>\xe3\x80\x80 v<![CDATA[ w ]]> \n</p:data><e/></xfa:root>");
    auto root = doc.document_element();
    EXPECT_EQ(xml::local_name(root), "root");
    auto data = xml::first_child(root, "data");
    ASSERT_TRUE(data);
    EXPECT_EQ(xml::trimmed_text(data), "v w");  // ideographic space trimmed
    EXPECT_FALSE(xml::text(xml::first_child(root, "e")).has_value());
    EXPECT_EQ(xml::trimmed_text(xml::first_child(root, "e")), "");
    EXPECT_FALSE(xml::first_child(root, "missing"));
}

TEST(XmlHelpers, ParseFailureIsAnError) {
    pugi::xml_document doc;
    EXPECT_THROW(xml::parse(doc, "<a><b></a>"), Error);
}
