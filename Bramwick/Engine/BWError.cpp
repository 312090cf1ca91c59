#include "Engine/BWError.h"

#include <utility>

namespace {

std::string displayFor(BWError::Kind kind, const std::string &message) {
    switch (kind) {
    case BWError::Kind::core: return message;
    case BWError::Kind::decode: return "返回解析失败：" + message;
    case BWError::Kind::nullReturn: return "核心返回空";
    }
    return message;
}

}  // namespace

BWError::BWError(Kind kind, std::string message)
    : kind_(kind), message_(std::move(message)), display_(displayFor(kind_, message_)) {}

BWError BWError::core(std::string message) { return BWError(Kind::core, std::move(message)); }
BWError BWError::decode(std::string message) { return BWError(Kind::decode, std::move(message)); }
BWError BWError::nullReturn() { return BWError(Kind::nullReturn, {}); }
