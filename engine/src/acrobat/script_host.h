#pragma once
// The script host of the validation run: the forms' own JavaScript runs in QuickJS-ng inside a
// small imitation of the XFA viewer's object model.
#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "acrobat/template_nodes.h"

namespace bw {

// A form script that runs longer than this fails the validation call.
inline constexpr std::chrono::milliseconds kScriptTimeLimit{20000};

// The three units the validation run supplies (evaluated as units 5, 6 and 7).
struct ValidationUnits {
    std::string sections;  // the section runner
    std::string bginfo;    // the age set-up
    std::string scan;      // the final scan; its completion value is the run's result
};

struct ScriptRunOptions {
    std::chrono::milliseconds time_limit = kScriptTimeLimit;
    // When set, receives (unit name, milliseconds) for each evaluated unit.
    std::vector<std::pair<std::string, double>> *timings = nullptr;
};

// The fixed texts of the host.
const std::string &scriptPrelude();
const std::string &scriptOverrides();
// A stand-alone runner for the diagnostic dump (run in an outside JavaScript shell).
const std::string &dumpRunner();

// JavaScript string-literal escaping of the dom script: \ " LF TAB escaped, CR dropped.
std::string jsEscape(const std::string &s);

// One __mk(...) line per node (initial_values[i] belongs to nodes[i]), then the root and the
// top-level aliases.
std::string buildDomScript(const std::vector<TemplateNode> &nodes,
                           const std::vector<std::string> &initial_values);
// The form's script objects as globals and as wrapper objects with harmless colour helpers.
std::string buildLibsScript(const pugi::xml_node &template_root);

// Evaluates prelude, dom, libs, overrides and the validation units in one fresh engine; returns
// the final unit's string. Throws bw::Error for the failures that end the call.
std::string runScriptUnits(const std::string &dom, const std::string &libs,
                           const ValidationUnits &units, const ScriptRunOptions &options = {});

}  // namespace bw
