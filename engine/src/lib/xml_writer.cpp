#include "lib/xml_writer.h"

#include <string_view>

#include "lib/error.h"

namespace bw {

namespace {

bool needs_escape(unsigned char c, bool attribute) {
    if (c == '&' || c == '<' || c == '>') return true;
    if (c == '"') return attribute;
    if (c < 0x20) return attribute || (c != '\n' && c != '\t');
    return false;
}

void escaped(std::string &out, const char *s, bool attribute) {
    const char *run = s;
    for (; *s; ++s) {
        const auto c = static_cast<unsigned char>(*s);
        if (!needs_escape(c, attribute)) continue;
        out.append(run, s);
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += "&#" + std::to_string(static_cast<int>(c)) + ";";
        }
        run = s + 1;
    }
    out.append(run, s);
}

void cdata(std::string &out, std::string_view v) {
    out += "<![CDATA[";
    for (size_t at; (at = v.find("]]>")) != std::string_view::npos; v.remove_prefix(at + 2)) {
        out.append(v.substr(0, at + 2));
        out += "]]><![CDATA[";
    }
    out.append(v);
    out += "]]>";
}

// Writes the node's own text, or an element's start (or empty-element) tag.
void open(std::string &out, const pugi::xml_node &n) {
    switch (n.type()) {
    case pugi::node_element:
        out += '<';
        out += n.name();
        for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
            out += ' ';
            out += a.name();
            out += "=\"";
            escaped(out, a.value(), true);
            out += '"';
        }
        out += n.first_child() ? ">" : " />";
        break;
    case pugi::node_pcdata: escaped(out, n.value(), false); break;
    case pugi::node_cdata: cdata(out, n.value()); break;
    case pugi::node_comment:
        out += "<!--";
        out += n.value();
        out += "-->";
        break;
    case pugi::node_pi:
        out += "<?";
        out += n.name();
        if (*n.value()) {
            out += ' ';
            out += n.value();
        }
        out += "?>";
        break;
    case pugi::node_doctype:
        out += "<!DOCTYPE ";
        out += n.value();
        out += '>';
        break;
    default: break;  // declarations stand only before the root element
    }
}

void close(std::string &out, const pugi::xml_node &n) {
    out += "</";
    out += n.name();
    out += '>';
}

}  // namespace

std::string serialize_xml(const pugi::xml_node &top) {
    std::string out;
    if (!top) return out;
    out.reserve(1 << 16);
    // Depth-first without recursion: the packets come from the file and may nest deeply.
    pugi::xml_node n = top;
    for (;;) {
        open(out, n);
        if (n.type() == pugi::node_element && n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n != top && !n.next_sibling()) {
            n = n.parent();
            close(out, n);
        }
        if (n == top) break;
        n = n.next_sibling();
    }
    return out;
}

void parse_xml_faithfully(pugi::xml_document &doc, const std::string &bytes) {
    const unsigned flags = pugi::parse_default | pugi::parse_comments | pugi::parse_pi | pugi::parse_ws_pcdata;
    auto r = doc.load_buffer(bytes.data(), bytes.size(), flags, pugi::encoding_utf8);
    if (!r) throw Error(std::string("XML: ") + r.description() + " at offset " + std::to_string(r.offset));
}

}  // namespace bw
