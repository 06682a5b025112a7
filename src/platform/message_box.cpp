#include "platform/message_box.h"

#include <cstdio>
#include <string>

#include "core/encoding.h"
#include "platform/message_gloss.h"

namespace tova {

TMessageResult THeadlessMessageBox::Show(std::string_view caption, std::string_view text,
                                         TMessageButtons buttons) {
    std::string line = Cp932ToUtf8(caption);
    line.append(": ").append(WithGloss(Cp932ToUtf8(text))).push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    switch (buttons) {
        case TMessageButtons::Ok:
        case TMessageButtons::OkCancel:
            return TMessageResult::Ok;
        case TMessageButtons::YesNo:
        case TMessageButtons::YesNoCancel:
            return TMessageResult::Yes;
        case TMessageButtons::YesNoToAll:
            return TMessageResult::No;
    }
    return TMessageResult::Ok;
}

}  // namespace tova
