// The one exception type of the player. It carries the system's own message
// text in code page 932 (the form every string has inside the program) and a
// kind that says what failed, so that a catcher decides on the kind and never
// on the wording; what() gives the text in UTF-8 for logs and test output.
#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tova {

// What an error is about. Readers of stored data raise the kind of the
// record they read, so that an outer reader can tell its own damage (passed
// on as it is) from an inner one (wrapped with its own context).
enum class TErrorKind {
    General,           // any failure that callers do not tell apart
    DamagedData,       // a generic record (value, count or string) does not fit its data
    DamagedArchive,    // an archive's trailer or directory
    DamagedPage,       // a script page or one of its command records
    DamagedSave,       // the save file or a record inside it (status, call stack, events)
    DamagedReadMarks,  // the read marks of message text
    DamagedSettings,   // the project settings or the install set
    Unsupported,       // a version or format this player does not read
};

class ETovaError : public std::runtime_error {
public:
    // cp932Message is already in code page 932; the kind is General.
    explicit ETovaError(std::string cp932Message);
    ETovaError(TErrorKind kind, std::string cp932Message);

    // Builds the message from a UTF-8 format (the text as written in the
    // source) whose "%s" placeholders are filled, in order, with code page 932
    // arguments such as file or variable names.
    static ETovaError Format(std::string_view utf8Format,
                             std::initializer_list<std::string_view> cp932Args = {});
    static ETovaError Format(TErrorKind kind, std::string_view utf8Format,
                             std::initializer_list<std::string_view> cp932Args = {});

    const std::string& Message() const { return message_; }
    TErrorKind Kind() const { return kind_; }

private:
    std::string message_;
    TErrorKind kind_ = TErrorKind::General;
};

// Converts a message text written in the source (UTF-8) to code page 932.
std::string SysText(std::string_view utf8);

}  // namespace tova
