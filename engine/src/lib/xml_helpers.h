#pragma once
// Small helpers over pugixml trees; names are always compared by local name.
#include <optional>
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace bw::xml {

// The element's name without any namespace prefix.
std::string_view local_name(const pugi::xml_node &node);
// First child element with the given local name, or an empty node.
pugi::xml_node first_child(const pugi::xml_node &node, std::string_view name);
// Concatenated text and CDATA children; nullopt when there are none.
std::optional<std::string> text(const pugi::xml_node &node);
// text() with leading and trailing Unicode white space removed; empty when there is none.
std::string trimmed_text(const pugi::xml_node &node);
// Byte length of the Unicode white-space character at s[i]; 0 when there is none.
size_t space_length_at(std::string_view s, size_t i);
// Unicode white-space trimming of a UTF-8 text.
std::string trim(std::string_view s);
// Parses XML bytes; throws bw::Error with the parser's description on failure.
void parse(pugi::xml_document &doc, const std::string &bytes);

}  // namespace bw::xml
