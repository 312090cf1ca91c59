#pragma once
// A member's role in the family of a case, as stored in case.json and shown on screen.
#include <optional>
#include <string>
#include <string_view>

enum class MemberRole { principal, spouse, child, other };

// The stored text: "principal", "spouse", "child", "other".
std::string memberRoleText(MemberRole role);
// The label every screen shows: "主申请人", "配偶", "子女", "其他申请人".
std::string memberRoleLabel(MemberRole role);
// Exact stored text to role; any other text gives none.
std::optional<MemberRole> memberRoleFromText(std::string_view text);
