// The engine wrapper's only error type.
#pragma once

#include <exception>
#include <string>

class BWError : public std::exception {
public:
    enum class Kind {
        core,        // the engine answered an error; message = its text
        decode,      // the answer did not have the expected shape; message = the decoder's description
        nullReturn,  // the engine answered a null pointer
    };

    static BWError core(std::string message);
    static BWError decode(std::string message);
    static BWError nullReturn();

    Kind kind() const { return kind_; }
    const std::string &message() const { return message_; }
    // What the user sees: core -> the message, decode -> "返回解析失败：" + message,
    // nullReturn -> "核心返回空".
    const std::string &displayText() const { return display_; }
    const char *what() const noexcept override { return display_.c_str(); }

    bool operator==(const BWError &other) const { return kind_ == other.kind_ && message_ == other.message_; }

private:
    BWError(Kind kind, std::string message);

    Kind kind_;
    std::string message_;
    std::string display_;
};
