#pragma once
// Writing an XML element tree back as text, the way the forms' packets are written: no
// declaration, no indentation or added line breaks, an element without children as an
// empty-element tag with a space before the slash ("<a />"), one with an empty text child as a
// start and an end tag ("<a></a>").
#include <string>

#include <pugixml.hpp>

namespace bw {

// The element (or any node) and everything below it.
std::string serialize_xml(const pugi::xml_node &node);

// Parses XML bytes keeping every node the writer can give back (comments, processing
// instructions, white-space text). Throws bw::Error with the parser's description on failure.
void parse_xml_faithfully(pugi::xml_document &doc, const std::string &bytes);

}  // namespace bw
