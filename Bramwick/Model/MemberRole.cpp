#include "Model/MemberRole.h"

std::string memberRoleText(MemberRole role) {
    switch (role) {
    case MemberRole::principal: return "principal";
    case MemberRole::spouse: return "spouse";
    case MemberRole::child: return "child";
    case MemberRole::other: return "other";
    }
    return "other";
}

std::string memberRoleLabel(MemberRole role) {
    switch (role) {
    case MemberRole::principal: return "主申请人";
    case MemberRole::spouse: return "配偶";
    case MemberRole::child: return "子女";
    case MemberRole::other: return "其他申请人";
    }
    return "其他申请人";
}

std::optional<MemberRole> memberRoleFromText(std::string_view text) {
    if (text == "principal") return MemberRole::principal;
    if (text == "spouse") return MemberRole::spouse;
    if (text == "child") return MemberRole::child;
    if (text == "other") return MemberRole::other;
    return std::nullopt;
}
