#include "Model/Application.h"

const WorkPermitType kWorkPermitTypes[6] = {
    {"ELMO", "Exemption from Labour Market Impact Assessment"},
    {"LMOS", "Labour Market Impact Assessment Stream"},
    {"OWP", "Open Work Permit"},
    {"SAWP", "Seasonal Agricultural Workers Program"},
    {"SBC", "Start-up Business Class"},
    {"Other", "Other"},
};

std::string applicationKindText(ApplicationKind kind) { return kind == ApplicationKind::work ? "work" : "visit"; }

std::optional<ApplicationKind> applicationKindFromText(std::string_view text) {
    if (text == "visit") return ApplicationKind::visit;
    if (text == "work") return ApplicationKind::work;
    return std::nullopt;
}

std::string applicationKindLabel(ApplicationKind kind) {
    return kind == ApplicationKind::work ? "工作许可" : "访问签";
}

std::string applicationKindFormName(ApplicationKind kind) {
    return kind == ApplicationKind::work ? "IMM 1295" : "IMM 5257";
}

std::string workPermitCode(std::string_view text) {
    for (const auto &t : kWorkPermitTypes)
        if (text == t.code) return t.code;
    for (const auto &t : kWorkPermitTypes)
        if (text == t.label) return t.code;
    return std::string(text);
}
