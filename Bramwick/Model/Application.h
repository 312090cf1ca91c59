#pragma once
// One member's application (application.json).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class ApplicationKind { visit, work };

// "visit" / "work".
std::string applicationKindText(ApplicationKind kind);
std::optional<ApplicationKind> applicationKindFromText(std::string_view text);
// "访问签" / "工作许可".
std::string applicationKindLabel(ApplicationKind kind);
// "IMM 5257" / "IMM 1295".
std::string applicationKindFormName(ApplicationKind kind);

struct Application {
    ApplicationKind kind = ApplicationKind::visit;
    std::string program;
    std::string visaType;
    std::string purpose;
    std::string visitFrom;
    std::string visitTo;
    std::string funds;
    std::string contactName;
    std::string contactAddress;
    std::string workPermitType;
    std::string employerName;
    std::string employerAddress;
    std::string workProvince;
    std::string workCity;
    std::string workAddress;
    std::string jobTitle;
    std::string jobDuties;
    std::string workFrom;
    std::string workTo;
    std::string lmia;
    std::vector<std::string> extraForms;
    bool operator==(const Application &) const = default;
};

// Work permit type codes and their labels, in table order.
struct WorkPermitType {
    const char *code;
    const char *label;
};
extern const WorkPermitType kWorkPermitTypes[6];

// An exact code stays; an exact label becomes its code; any other text comes back unchanged.
std::string workPermitCode(std::string_view text);
