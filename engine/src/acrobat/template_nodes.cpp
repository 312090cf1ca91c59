#include "acrobat/template_nodes.h"

#include "lib/error.h"

namespace bw {

std::vector<TemplateNode> collectTemplateNodes(const pugi::xml_node &) { return {}; }
ChoiceOptions collectChoiceOptions(const pugi::xml_node &, const pugi::xml_node &) { return {}; }
std::string captionText(const pugi::xml_node &) { return {}; }
std::string humanizeName(const std::string &n) { return n; }

}  // namespace bw
