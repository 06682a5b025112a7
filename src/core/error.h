// The one exception type of the player. It carries the system's own message
// text in code page 932 (the form every string has inside the program); what()
// gives the same text in UTF-8 for logs and test output.
#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tova {

class ETovaError : public std::runtime_error {
public:
    // cp932Message is already in code page 932.
    explicit ETovaError(std::string cp932Message);

    // Builds the message from a UTF-8 format (the text as written in the
    // source) whose "%s" placeholders are filled, in order, with code page 932
    // arguments such as file or variable names.
    static ETovaError Format(std::string_view utf8Format, std::initializer_list<std::string_view> cp932Args = {});

    const std::string& Message() const { return message_; }

private:
    std::string message_;
};

// Converts a message text written in the source (UTF-8) to code page 932.
std::string SysText(std::string_view utf8);

}  // namespace tova
