#pragma once
// case.json: the member folders of a case and the role of each member, in display order.
#include <string>
#include <vector>

#include "Model/MemberRole.h"

struct MemberRecord {
    std::string folderName;
    MemberRole role = MemberRole::principal;
    bool operator==(const MemberRecord &) const = default;
};

struct CaseFile {
    std::vector<MemberRecord> members;
    bool operator==(const CaseFile &) const = default;
};

// True when `name` is one plain path component: not empty, not "." or "..", and holding no
// "/", "\" or NUL. Only such names are ever joined to a case folder.
bool isPlainPathComponent(const std::string &name);
