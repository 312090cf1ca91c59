#pragma once
// The engine's one kind of failure: a message text that travels unchanged to the caller.
#include <stdexcept>
#include <string>

namespace bw {

struct Error : std::runtime_error {
    explicit Error(const std::string &message) : std::runtime_error(message) {}
};

}  // namespace bw
