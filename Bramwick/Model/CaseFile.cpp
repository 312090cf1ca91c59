#include "Model/CaseFile.h"

bool isPlainPathComponent(const std::string &name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}
