#include "acrobat/script_host.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <set>
#include <string_view>

#include <quickjs.h>

#include "lib/error.h"
#include "lib/xml_helpers.h"

namespace bw {

namespace {

// The viewer imitation: registry, placeholders, node methods and the xfa/app/console objects.
const char *const kPrelude = R"JS(var __reg = {};
var __order = [];
var __errors = [];
var __formatErr = [];
var __unresolved = {};
var __log = [];
var __secErrors = [];
function __text(m) { try { return String(m); } catch (e) { return ''; } }
function __defNull(o) {
  try {
    Object.defineProperty(o, 'isNull', { get: function () {
      return this.rawValue === null || this.rawValue === undefined || String(this.rawValue) === '';
    }, enumerable: false, configurable: true });
  } catch (e) {}
}
function __addmethods(o) {
  o.execEvent = function () {};
  o.execCalculate = function () {};
  o.execInitialize = function () {};
  o.setFocus = function () {};
  o.clearItems = function () {};
  o.setItems = function () {};
  o.addItem = function () {};
  o.deleteItem = function () {};
  o.execValidate = function () { return true; };
  o.resolveNodes = function () { return []; };
  o.boundItem = function (v) { return v; };
  o.resolveNode = function (p) { return __resolve(this.somExpression + '.' + p); };
  var n = { length: 0, item: function () { return null; } };
  o.nodes = n;
  o.items = n;
}
function __base(path, name) {
  return { somExpression: path, name: name, ui: {}, value: { oneOfChild: null }, h: 0, w: 0, parent: null };
}
function __mk(path, val, mand, pres, acc, cls, ui) {
  var i = path.lastIndexOf('.');
  var o = __base(path, path.substring(i + 1));
  o.rawValue = val === '' ? null : val;
  o.__init = val;
  o.mandatory = mand;
  o.presence = pres;
  o.access = acc;
  o.className = cls;
  o.ui = { oneOfChild: { className: ui } };
  o.validate = { nullTest: mand };
  __defNull(o);
  __addmethods(o);
  if (i > 0) {
    var pp = path.substring(0, i);
    if (Object.prototype.hasOwnProperty.call(__reg, pp)) {
      var p = __reg[pp];
      o.parent = p;
      // A child is reachable as a property of its parent unless that would hide one of the
      // parent's own properties; the first child of a name wins, as in the viewer.
      if (!(o.name in p)) p[o.name] = o;
    }
  }
  if (!Object.prototype.hasOwnProperty.call(__reg, path)) __order.push(path);
  __reg[path] = o;
  return o;
}
function __dummy(p) {
  p = __text(p);
  var o = __base(p, p.substring(p.lastIndexOf('.') + 1));
  o.rawValue = null;
  o.mandatory = 'disabled';
  o.presence = 'visible';
  o.access = 'open';
  o.className = 'field';
  o.ui = { oneOfChild: { className: 'textEdit' } };
  o.validate = { nullTest: 'disabled' };
  __defNull(o);
  __addmethods(o);
  __unresolved[p] = true;
  return o;
}
function __resolve(p) {
  if (p === null || p === undefined) return __dummy('null');
  p = __text(p).replace(/\[\d+\]/g, '');
  if (Object.prototype.hasOwnProperty.call(__reg, p)) return __reg[p];
  var s = '.' + p;
  for (var i = 0; i < __order.length; i++) {
    var k = __order[i];
    if (k === p || (k.length > s.length && k.substring(k.length - s.length) === s)) return __reg[k];
  }
  return __dummy(p);
}
var xfa = {
  resolveNode: function (p) { return __resolve(p); },
  resolveNodes: function () { return []; },
  host: {
    messageBox: function (m) { __errors.push(__text(m)); return 1; },
    setFocus: function () {}, resetData: function () {}, pageDown: function () {}, pageUp: function () {},
    name: 'Acrobat', version: 25, appType: 'Reader', language: 'ENU', platform: 'MAC', variation: 'Full'
  },
  form: { recalculate: function () {}, remerge: function () {} },
  event: {},
  layout: { relayout: function () {} }
};
var console = { println: function (m) { __log.push(__text(m)); }, show: function () {}, clear: function () {} };
var app = { alert: function (m) { __errors.push(__text(m)); return 0; }, version: 25, runtimeHighlightColor: '255,255,255' };
// The viewer stops checking formats once it has a first faulty field to focus; this host
// reports every field, so the first faulty field is never remembered.
var globFirstField = {};
try { Object.defineProperty(globFirstField, 'value', { get: function () { return ''; }, set: function () {}, enumerable: true }); }
catch (e) { globFirstField.value = ''; }
var globShowErrorMessageFlag = { value: '' };
var globValidationError = { value: '' };
var globValidatePressed = { value: 'true' };
function popMessage() { return __errors.length === 0; }
function makeMultiLine() {}
function markCorrect() {}
function isMarkedRedAlready() { return false; }
)JS";

// Replaces the form's colour and enabling helpers with versions that only record what the
// validation run reads back.
const char *const kOverrides = R"JS(try { color.markRequired = function (o) { if (o) o.mandatory = 'error'; }; } catch (e) {}
try { color.markUnRequired = function (o) {
  if (o) {
    o.mandatory = 'disabled';
    if (o.parent && o.parent.className === 'exclGroup') o.parent.mandatory = 'disabled';
  }
}; } catch (e) {}
try { util.enableField = function (p, enable) {
  var n = (p !== null && typeof p === 'object') ? p : xfa.resolveNode(p);
  if (n) n.access = (enable === true || enable === 'true' || enable === 1) ? 'open' : 'readOnly';
}; } catch (e) {}
try { color.markIncorrect = function (o) {
  if (o && o.somExpression) {
    var t = o;
    if (o.parent && o.parent.className === 'exclGroup' && o.parent.somExpression) t = o.parent;
    if (__formatErr.indexOf(t.somExpression) < 0) __formatErr.push(t.somExpression);
  }
}; } catch (e) {}
try { util.getCaption = function () { return ''; }; } catch (e) {}
try { util.setCaption = function () {}; } catch (e) {}
try { color.SetColor = function () {}; } catch (e) {}
try { color.SetColorEnabled = function () {}; } catch (e) {}
try { color.SetColorDisabled = function () {}; } catch (e) {}
try { color.markCorrect = function () {}; } catch (e) {}
try { color.SetColorReadOnly = function () {}; } catch (e) {}
try { color.isMarkedRedAlready = function () { return false; }; } catch (e) {}
try { if (typeof LOVUtils !== 'undefined') LOVUtils.setCaption = function () {}; } catch (e) {}
)JS";

const char *const kRunner = R"JS((function () {
  var names = ['validateFirstSection', 'validateNames', 'validateGenderSection', 'validateCOR',
    'validatePCOR', 'validateCWA', 'validateMaritalStatus', 'validatePrevMarriedSection',
    'validateLanguageSection', 'validatePassportSection', 'validateIdentityDocument',
    'validateUSCard', 'validateMailingAddress', 'validateResidentialAddress',
    'validateUniqueTelephone', 'validateTelephone', 'validateAlternateTelephone',
    'validateFaxNumber', 'validateEmail', 'validateDetailsOfVisit', 'validateEducation',
    'validateEmployment', 'validateBackGroundInformation', 'validateConsent'];
  for (var i = 0; i < names.length; i++) {
    try { validateForm[names[i]](); }
    catch (e) { process.stdout.write('SEC ' + names[i] + ': ' + String(e) + '\n'); }
  }
})();
)JS";

const char *const kStubNames[] = {"DoColorFields",    "SetColor",          "SetColorEnabled",
                                  "SetColorDisabled", "SetColorReadOnly",  "getColor",
                                  "GetAcrobatHLColor", "markCorrect",      "isMarkedRedAlready",
                                  "makeMultiLine",    "setDDLFromLOV",     "initLOV",
                                  "getCaption",       "setCaption"};

std::string stubBlock() {
    std::string out;
    for (const char *name : kStubNames) {
        std::string_view n = name;
        std::string body = n == "isMarkedRedAlready" ? "return false;"
                           : n == "getCaption"       ? "return '';"
                                                     : "";
        out += "try{if(typeof ";
        out += n;
        out += "!=='undefined'){";
        out += n;
        out += "=function(){" + body + "};}}catch(e){}\n";
    }
    return out;
}

bool isIdentChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool usableMemberName(const std::string &name);

std::string declaredNames(const std::string &text) {
    std::set<std::string> names;
    static const std::string kw = "function ";
    for (size_t pos = text.find(kw); pos != std::string::npos; pos = text.find(kw, pos + 1)) {
        size_t i = pos + kw.size();
        while (i < text.size() && text[i] == ' ') ++i;
        size_t start = i;
        while (i < text.size() && isIdentChar(text[i])) ++i;
        if (i > start) names.insert(text.substr(start, i - start));
    }
    // A name picked up from a comment ("this function is ...") need not exist: each member
    // is guarded so that one such word does not leave the whole wrapper undefined.
    std::string out;
    for (const auto &n : names) {
        if (!usableMemberName(n)) continue;
        if (!out.empty()) out += ", ";
        out += n + ": (typeof " + n + " !== 'undefined' ? " + n + " : undefined)";
    }
    return out;
}

// Top-level node names become global variables only when they are plain identifiers that do
// not collide with the language or with the host's own globals.
bool usableGlobalName(const std::string &name) {
    static const std::set<std::string> reserved = {
        "break", "case", "catch", "class", "const", "continue", "debugger", "default", "delete",
        "do", "else", "enum", "export", "extends", "false", "finally", "for", "function", "if",
        "import", "in", "instanceof", "new", "null", "return", "super", "switch", "this",
        "throw", "true", "try", "typeof", "var", "void", "while", "with", "yield", "let",
        "static", "implements", "interface", "package", "private", "protected", "public",
        "await", "arguments", "eval", "undefined", "NaN", "Infinity", "form1", "xfa", "app",
        "console", "Object", "String", "Array", "Function", "JSON", "Math", "Number", "Date",
        "RegExp", "Error", "Boolean", "parseInt", "parseFloat", "isNaN"};
    if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
    for (char c : name)
        if (!isIdentChar(c) && c != '$') return false;
    if (name.rfind("__", 0) == 0) return false;
    return !reserved.count(name);
}

bool usableMemberName(const std::string &name) {
    if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
    return usableGlobalName(name) || name == "form1" || name == "xfa" || name == "app" ||
           name == "console" || name.rfind("__", 0) == 0;
}

// ---- engine ----

struct Deadline {
    std::chrono::steady_clock::time_point until;
    bool expired = false;
};

int interruptHandler(JSRuntime *, void *opaque) {
    auto *d = static_cast<Deadline *>(opaque);
    if (d->expired) return 1;
    if (std::chrono::steady_clock::now() >= d->until) d->expired = true;
    return d->expired ? 1 : 0;
}

std::string toText(JSContext *ctx, JSValueConst v) {
    size_t len = 0;
    const char *s = JS_ToCStringLen2(ctx, &len, v, false);
    if (!s) {
        JSValue e = JS_GetException(ctx);  // a toString that throws
        JS_FreeValue(ctx, e);
        return "exception";
    }
    std::string out(s, len);
    JS_FreeCString(ctx, s);
    return out;
}

// The message of a thrown value: an error's message, else the value's text form.
std::string exceptionMessage(JSContext *ctx, JSValueConst exc, bool empty_when_none) {
    if (JS_IsError(exc)) {
        JSValue m = JS_GetPropertyStr(ctx, exc, "message");
        if (JS_IsException(m)) {
            JSValue e = JS_GetException(ctx);
            JS_FreeValue(ctx, e);
        } else if (!JS_IsUndefined(m) && !JS_IsNull(m)) {
            std::string out = toText(ctx, m);
            JS_FreeValue(ctx, m);
            return out;
        }
        JS_FreeValue(ctx, m);
    }
    if (empty_when_none && JS_IsError(exc)) return {};
    return toText(ctx, exc);
}

class Engine {
public:
    explicit Engine(std::chrono::milliseconds limit) {
        rt_ = JS_NewRuntime();
        if (!rt_) throw Error("rt: cannot create JavaScript runtime");
        ctx_ = JS_NewContext(rt_);
        if (!ctx_) {
            JS_FreeRuntime(rt_);
            throw Error("ctx: cannot create JavaScript context");
        }
        deadline_.until = std::chrono::steady_clock::now() + limit;
        limit_ = limit;
        JS_SetInterruptHandler(rt_, interruptHandler, &deadline_);
    }
    ~Engine() {
        JS_FreeContext(ctx_);
        JS_FreeRuntime(rt_);
    }
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;

    // Evaluates one unit. On success returns true and, when wanted, the completion value's
    // text; on failure returns false with the exception message.
    bool eval(const std::string &source, std::string &out, bool want_value, bool scan) {
        JSValue v = JS_Eval(ctx_, source.c_str(), source.size(), "eval_script", JS_EVAL_TYPE_GLOBAL);
        checkDeadline();
        if (JS_IsException(v)) {
            JSValue exc = JS_GetException(ctx_);
            out = exceptionMessage(ctx_, exc, scan);
            JS_FreeValue(ctx_, exc);
            checkDeadline();
            return false;
        }
        if (want_value) out = toText(ctx_, v);
        JS_FreeValue(ctx_, v);
        checkDeadline();
        return true;
    }

private:
    void checkDeadline() {
        if (deadline_.expired)
            throw Error("script timeout: the form's scripts did not finish within " +
                        (limit_.count() % 1000 == 0 ? std::to_string(limit_.count() / 1000) + " s"
                                                    : std::to_string(limit_.count()) + " ms"));
    }
    JSRuntime *rt_ = nullptr;
    JSContext *ctx_ = nullptr;
    Deadline deadline_;
    std::chrono::milliseconds limit_;
};

}  // namespace

const std::string &scriptPrelude() {
    static const std::string s = kPrelude;
    return s;
}
const std::string &scriptOverrides() {
    static const std::string s = kOverrides;
    return s;
}
const std::string &dumpRunner() {
    static const std::string s = kRunner;
    return s;
}

std::string jsEscape(const std::string &s) {
    std::string out;
    out.reserve(s.size() + 8);
    for (char c : s) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': break;
        default: out += c;
        }
    }
    return out;
}

std::string buildDomScript(const std::vector<TemplateNode> &nodes,
                           const std::vector<std::string> &initial_values) {
    std::string out = "(function(){\n";
    std::set<std::string> top;
    for (size_t i = 0; i < nodes.size(); ++i) {
        const TemplateNode &n = nodes[i];
        const std::string &value = i < initial_values.size() ? initial_values[i] : std::string();
        out += "__mk(\"" + jsEscape(n.path) + "\",\"" + jsEscape(value) + "\",\"" +
               jsEscape(n.mandatory) + "\",\"" + jsEscape(n.presence) + "\",\"\",\"" +
               jsEscape(n.className) + "\",\"" + jsEscape(n.uiKind) + "\");\n";
        if (n.path.find('.') == std::string::npos) top.insert(n.path);
    }
    out += "})();\n";
    out += "var form1={ somExpression:'form1', name:'form1', className:'subform', parent:null }; "
           "__reg['form1']=form1;\n";
    for (const auto &name : top) {
        std::string lit = "\"" + jsEscape(name) + "\"";
        std::string value = "(Object.prototype.hasOwnProperty.call(__reg," + lit + ")?__reg[" + lit +
                            "]:__dummy(" + lit + "))";
        if (usableGlobalName(name))
            out += "var " + name + "=" + value + "; form1[" + lit + "]=" + name + ";\n";
        else
            out += "form1[" + lit + "]=" + value + ";\n";
    }
    return out;
}

std::string buildLibsScript(const pugi::xml_node &template_root) {
    std::vector<std::pair<std::string, std::string>> objects;  // name, text
    std::set<std::string> seen;
    struct Walker : pugi::xml_tree_walker {
        std::vector<std::pair<std::string, std::string>> *objects;
        std::set<std::string> *seen;
        bool for_each(pugi::xml_node &node) override {
            if (node.type() != pugi::node_element || xml::local_name(node) != "script") return true;
            pugi::xml_attribute name = node.attribute("name");
            if (!name) return true;
            std::string text = xml::text(node).value_or("");
            if (text.find("function ") == std::string::npos) return true;
            if (seen->insert(name.value()).second) objects->emplace_back(name.value(), text);
            return true;
        }
    } walker;
    walker.objects = &objects;
    walker.seen = &seen;
    pugi::xml_node root = template_root;
    root.traverse(walker);

    const std::string stubs = stubBlock();
    std::string out;
    for (const auto &[name, text] : objects) out += text + "\n";
    out += stubs;
    for (const auto &[name, text] : objects) {
        // A script object whose name cannot be a variable still has its globals.
        if (!usableMemberName(name)) continue;
        out += "var " + name + " = (function(){\n" + text + "\n" + stubs + "\nreturn { " +
               declaredNames(text) + " };\n})();\n";
    }
    return out;
}

std::string runScriptUnits(const std::string &dom, const std::string &libs,
                           const ValidationUnits &units, const ScriptRunOptions &options) {
    Engine engine(options.time_limit);
    std::string out;
    auto timed = [&](const char *unit, const std::string &source, bool want_value, bool scan) {
        auto t0 = std::chrono::steady_clock::now();
        bool ok = engine.eval(source, out, want_value, scan);
        if (options.timings)
            options.timings->emplace_back(
                unit, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                          .count());
        return ok;
    };
    auto unitError = [&](const char *unit) { return std::string("[") + unit + "] " + out; };

    if (!timed("prelude", scriptPrelude(), false, false)) throw Error(unitError("prelude"));
    if (!timed("dom", dom, false, false)) throw Error(unitError("dom"));
    if (!timed("libs", libs, false, false))
        std::cerr << "⚠️ 库加载告警: " << unitError("libs") << "\n";
    timed("override", scriptOverrides(), false, false);
    if (!timed("sections", units.sections, false, false))
        std::cerr << "⚠️ 分段校验外层抛错: " << unitError("sections") << "\n";
    timed("bginfo", units.bginfo, false, false);
    if (!timed("scan", units.scan, true, true)) throw Error("scan: " + out);
    return out;
}

}  // namespace bw
