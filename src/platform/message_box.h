// Message boxes, behind an interface: the windowed player shows real ones,
// the headless player prints them and answers with the default button, and
// tests answer them from a script.
#pragma once

#include <string>
#include <string_view>

namespace tova {

// YesNoToAll: Yes, No, Cancel, No to all and Yes to all (a question asked
// once for many files).
enum class TMessageButtons { Ok, OkCancel, YesNo, YesNoCancel, YesNoToAll };
enum class TMessageResult { Ok, Cancel, Yes, No, NoToAll, YesToAll };

class TMessageBoxHost {
public:
    virtual ~TMessageBoxHost() = default;
    // caption and text are code page 932.
    virtual TMessageResult Show(std::string_view caption, std::string_view text, TMessageButtons buttons) = 0;
};

// Prints "caption: text" in UTF-8 to standard error (with an English gloss
// for a user whose locale is not Japanese) and returns the first button (Ok
// or Yes), but No to the question for many files: that one asks whether
// files may be replaced, and without a person nobody agreed.
class THeadlessMessageBox : public TMessageBoxHost {
public:
    TMessageResult Show(std::string_view caption, std::string_view text, TMessageButtons buttons) override;
};

}  // namespace tova
