#include "acrobat/validate.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <set>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <unordered_map>

#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include "acrobat/script_host.h"
#include "acrobat/template_nodes.h"
#include "lib/error.h"
#include "lib/loaded_form.h"
#include "lib/xml_helpers.h"

namespace bw {

namespace {

using ValueList = std::vector<std::pair<std::string, std::string>>;

// The data values in document order, with instance indexes on repeated sibling names. Walked
// with an explicit stack so that deeply nested data cannot exhaust the call stack.
void walkData(const pugi::xml_node &top, const std::string &top_path, ValueList &out) {
    std::vector<std::pair<pugi::xml_node, std::string>> stack{{top, top_path}};
    while (!stack.empty()) {
        auto [element, path] = std::move(stack.back());
        stack.pop_back();
        std::map<std::string, int> counts;
        bool any = false;
        for (pugi::xml_node c = element.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element) continue;
            any = true;
            ++counts[std::string(xml::local_name(c))];
        }
        if (!any) {
            out.emplace_back(path, xml::trimmed_text(element));
            continue;
        }
        std::map<std::string, int> seen;
        std::vector<std::pair<pugi::xml_node, std::string>> children;
        for (pugi::xml_node c = element.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element) continue;
            std::string name(xml::local_name(c));
            std::string segment = name;
            if (counts[name] > 1) segment += "[" + std::to_string(seen[name]++) + "]";
            children.emplace_back(c, path + "." + segment);
        }
        for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back(std::move(*it));
    }
}

std::vector<std::string> splitDots(const std::string &s) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t dot = s.find('.', start);
        out.push_back(s.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
        if (dot == std::string::npos) return out;
        start = dot + 1;
    }
}

std::string cutIndex(const std::string &piece) { return piece.substr(0, piece.find('[')); }

bool endsWith(const std::string &s, const std::string &suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The value list prepared for the exact and suffix look-ups of the initial values.
class ValueIndex {
public:
    explicit ValueIndex(const ValueList &values) : values_(values) {
        pieces_.reserve(values.size());
        for (size_t i = 0; i < values.size(); ++i) {
            exact_.emplace(values[i].first, i);  // keeps the first of equal paths
            std::vector<std::string> p = splitDots(values[i].first);
            for (auto &x : p) x = cutIndex(x);
            by_last_[p.back()].push_back(i);
            pieces_.push_back(std::move(p));
        }
    }

    // Part of the node path's initial value that comes from the data.
    std::string lookup(const std::string &node_path) const {
        auto it = exact_.find("form1." + node_path);
        if (it != exact_.end()) return values_[it->second].second;
        std::vector<std::string> np = splitDots(node_path);
        for (auto &x : np) x = cutIndex(x);
        auto candidates = by_last_.find(np.back());
        if (candidates == by_last_.end()) return {};
        for (size_t want : {size_t(4), size_t(3)}) {
            size_t k = std::min(want, np.size());
            for (size_t idx : candidates->second) {
                const auto &vp = pieces_[idx];
                if (vp.size() < k) continue;
                bool match = true;
                for (size_t j = 1; j <= k && match; ++j) match = vp[vp.size() - j] == np[np.size() - j];
                if (match) return values_[idx].second;
            }
        }
        return {};
    }

private:
    const ValueList &values_;
    std::unordered_map<std::string, size_t> exact_;
    std::unordered_map<std::string, std::vector<size_t>> by_last_;
    std::vector<std::vector<std::string>> pieces_;
};

bool isDatePart(const std::string &last) {
    for (const char *s : {"Month", "Day", "MM", "DD", "Yr", "YYYY", "Year"})
        if (endsWith(last, s)) return true;
    return false;
}

std::vector<std::string> initialValues(const std::vector<TemplateNode> &nodes, const ValueList &values,
                                       const ChoiceOptions &choices) {
    ValueIndex index(values);
    std::vector<std::string> out;
    out.reserve(nodes.size());
    for (const TemplateNode &n : nodes) {
        std::string v;
        if (n.className != "subform" && !n.path.empty()) {
            v = index.lookup(n.path);
            std::string last = n.path.substr(n.path.rfind('.') == std::string::npos ? 0 : n.path.rfind('.') + 1);
            if (!v.empty()) {
                auto c = choices.find(cutIndex(last));
                if (c != choices.end() && c->second.size() <= 16) {
                    bool known = std::any_of(c->second.begin(), c->second.end(), [&](const FieldOption &o) {
                        return o.value == v || o.label == v;
                    });
                    if (!known) v.clear();
                }
            }
        }
        std::string last = n.path.substr(n.path.rfind('.') == std::string::npos ? 0 : n.path.rfind('.') + 1);
        if (isDatePart(last) && v.size() == 2 && v[0] == '0' && v[1] >= '0' && v[1] <= '9') v.erase(0, 1);
        out.push_back(std::move(v));
    }
    return out;
}

const char *const kSections = R"JS((function () {
  var names = [];
  try {
    var src = String(validateForm.validateCompletedForm);
    var re = /\bvalidate[A-Za-z0-9_]+\s*\(\s*\)/g, m;
    while ((m = re.exec(src)) !== null) {
      var n = m[0].replace(/\s*\(\s*\)$/, '');
      if (n !== 'validateCompletedForm' && names.indexOf(n) < 0 && typeof validateForm[n] === 'function') names.push(n);
    }
  } catch (e) { names = []; }
  for (var i = 0; i < names.length; i++) {
    try { validateForm[names[i]](); }
    catch (e) { __secErrors.push(names[i] + ': ' + __text(e)); }
  }
})();
)JS";

const char *const kBginfo = R"JS((function () {
  try {
    var age = 'adult';
    var n = Object.prototype.hasOwnProperty.call(__reg, 'Page1.PersonalDetails.DOBYear') ? __reg['Page1.PersonalDetails.DOBYear'] : null;
    if (n && n.rawValue !== null && n.rawValue !== undefined && String(n.rawValue) !== '') {
      if (new Date().getFullYear() - parseInt(String(n.rawValue), 10) < 18) age = 'minor';
    }
    if (typeof updateBackGroundInfoState === 'function') updateBackGroundInfoState(age);
  } catch (e) {}
})();
)JS";

const char *const kScan = R"JS((function () {
  function empty(v) { return v === null || v === undefined || String(v) === ''; }
  function inGroup(o) { return !!(o.parent && o.parent.className === 'exclGroup'); }
  var i, o, reqChild = {};
  for (i = 0; i < __order.length; i++) {
    o = __reg[__order[i]];
    if (o && inGroup(o) && o.mandatory === 'error') reqChild[o.parent.somExpression] = true;
  }
  var miss = [];
  for (i = 0; i < __order.length; i++) {
    var k = __order[i];
    o = __reg[k];
    if (!o || inGroup(o)) continue;
    var required = o.mandatory === 'error' || (o.className === 'exclGroup' && reqChild[o.somExpression] === true);
    if (!required || o.presence !== 'visible' || o.access === 'readOnly') continue;
    if (!empty(o.rawValue) || !empty(o.__init)) continue;
    miss.push(k);
  }
  var unresolved = [];
  for (var u in __unresolved) unresolved.push(u);
  return JSON.stringify({ miss: miss, fmt: __formatErr, secerr: __secErrors, unresolved: unresolved });
})()
)JS";

void writeDump(const std::string &path, const std::string &dom, const std::string &libs) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw Error(path + ": " + std::strerror(errno));
    out << scriptPrelude() << "\n" << dom << "\n" << libs << "\n" << scriptOverrides() << "\n" << dumpRunner();
    out.close();
    if (!out) throw Error(path + ": " + std::strerror(errno));
    std::cerr << "[dump] 已写出组装 JS → " << path << "\n";
}

std::vector<std::string> textsOf(const nlohmann::json &obj, const char *key, const std::string &prefix) {
    std::vector<std::string> out;
    auto it = obj.find(key);
    if (it == obj.end() || !it->is_array()) return out;
    for (const auto &e : *it)
        if (e.is_string()) out.push_back(prefix + e.get<std::string>());
    return out;
}

void sortUnique(std::vector<std::string> &v) {
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
}

std::string sectionKey(const std::string &path) {
    std::vector<std::string> p = splitDots(path);
    return p.size() >= 3 ? p[2] : std::string();
}

std::string sectionTitle(const std::string &key) {
    std::string spaced;
    for (size_t i = 0; i < key.size(); ++i) {
        if (i > 0 && key[i] >= 'A' && key[i] <= 'Z') spaced += ' ';
        spaced += key[i];
    }
    static const std::set<std::string> small = {"Of", "And", "The", "Or", "In", "To", "A"};
    std::string out;
    size_t start = 0;
    int word = 0;
    while (start <= spaced.size()) {
        size_t sp = spaced.find(' ', start);
        std::string w = spaced.substr(start, sp == std::string::npos ? std::string::npos : sp - start);
        if (!w.empty()) {
            if (word > 0 && small.count(w))
                for (auto &c : w) c = char(std::tolower(static_cast<unsigned char>(c)));
            if (!out.empty()) out += ' ';
            out += w;
            ++word;
        }
        if (sp == std::string::npos) break;
        start = sp + 1;
    }
    return out;
}

std::string chunks(const ValidationResult &r, const std::vector<std::string> &paths, const char *header) {
    std::vector<std::string> keys;
    std::map<std::string, std::vector<std::string>> by_key;
    for (const auto &p : paths) {
        std::string k = sectionKey(p);
        if (!by_key.count(k)) keys.push_back(k);
        by_key[k].push_back(p);
    }
    std::string out;
    for (const auto &k : keys) {
        const auto &list = by_key[k];
        size_t width = std::to_string(list.size()).size();
        if (!out.empty()) out += "\n\n";
        out += "- " + sectionTitle(k) + " -\n" + header + "\n";
        for (size_t i = 0; i < list.size(); ++i) {
            std::string num = std::to_string(i + 1);
            if (i > 0) out += "\n";
            out += std::string(width - std::min(width, num.size()), ' ') + num + ". " + r.label(list[i]);
        }
    }
    return out;
}

}  // namespace

std::string ValidationResult::label(const std::string &path) const {
    auto it = labels.find(path);
    return it == labels.end() ? path : it->second;
}

ValidationResult validate_packets(const std::string &template_xml, const std::string &datasets_xml,
                                  const ValidationOptions &options) {
    pugi::xml_document tdoc, ddoc;
    xml::parse(tdoc, template_xml);
    xml::parse(ddoc, datasets_xml);
    pugi::xml_node troot = tdoc.document_element();
    pugi::xml_node droot = ddoc.document_element();
    pugi::xml_node data = xml::first_child(droot, "data");
    if (!data) throw Error("no data");

    ValueList values;
    for (pugi::xml_node c = data.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element) walkData(c, std::string(xml::local_name(c)), values);

    ChoiceOptions choices = collectChoiceOptions(troot, droot);
    std::vector<TemplateNode> nodes = collectTemplateNodes(troot);

    ValidationResult result;
    for (const auto &n : nodes)
        if (!n.label.empty()) result.labels["form1." + n.path] = n.label;

    std::vector<std::string> init = initialValues(nodes, values, choices);
    std::string dom = buildDomScript(nodes, init);
    std::string libs = buildLibsScript(troot);
    if (const char *dump = std::getenv("BRAMWICK_DUMP_JS"); dump && *dump) writeDump(dump, dom, libs);

    ScriptRunOptions run;
    run.time_limit = options.time_limit;
    run.timings = &result.unit_ms;
    std::string outcome = runScriptUnits(dom, libs, ValidationUnits{kSections, kBginfo, kScan}, run);

    nlohmann::json obj = nlohmann::json::parse(outcome, nullptr, false);
    if (!obj.is_object()) obj = nlohmann::json::object();
    result.missing = textsOf(obj, "miss", "form1.");
    result.format_err = textsOf(obj, "fmt", "form1.");
    result.incomplete_sections = textsOf(obj, "secerr", "");
    result.unresolved = textsOf(obj, "unresolved", "");

    std::string country;
    for (const auto &[p, v] : values)
        if (endsWith(p, "Passport.CountryofIssue.CountryofIssue")) {
            country = v;
            break;
        }
    std::erase_if(result.missing, [&](const std::string &p) {
        return (endsWith(p, "Passport.IsraelPassportIndicator") && country != "206") ||
               (endsWith(p, "Passport.TaiwanPIN") && country != "203");
    });
    sortUnique(result.missing);
    sortUnique(result.format_err);

    if (options.verbose) {
        for (const auto &[unit, ms] : result.unit_ms) std::cerr << "[validate] " << unit << " " << ms << " ms\n";
        for (const auto &u : result.unresolved) std::cerr << "[validate] unresolved " << u << "\n";
    }
    return result;
}

ValidationResult acrobat_validate(const std::string &pdf_path, bool verbose) {
    LoadedForm form = load_form(pdf_path);
    if (!form.template_) throw Error("PDF 无 template 包");
    ValidationOptions options;
    options.verbose = verbose;
    return validate_packets(*form.template_, form.datasets, options);
}

std::string acrobat_report(const ValidationResult &result, bool verbose) {
    std::vector<std::string> parts;
    static const char *kMissing = "The following field(s) are required and must be completed:";
    static const char *kFormat = "The format you entered in the following field(s) is incorrect:";
    if (!result.missing.empty()) {
        parts.push_back(chunks(result, result.missing, kMissing));
        if (!result.format_err.empty()) parts.push_back(chunks(result, result.format_err, kFormat));
    } else if (!result.format_err.empty()) {
        parts.push_back(chunks(result, result.format_err, kFormat));
    } else {
        parts.push_back("Validation passed: all required fields are complete and correctly formatted.");
    }
    if (!result.full_confidence())
        parts.push_back("Note: part of this form could not be fully checked by this tool; please also run "
                        "Validate in Adobe Reader.");
    std::string out;
    for (const auto &p : parts) {
        if (!out.empty()) out += "\n\n";
        out += p;
    }
    if (verbose)
        for (const auto &s : result.incomplete_sections) std::cerr << "[validate] section " << s << "\n";
    return out;
}

}  // namespace bw
