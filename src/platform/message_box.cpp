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
    const bool asksYes = buttons == TMessageButtons::YesNo || buttons == TMessageButtons::YesNoCancel;
    return asksYes ? TMessageResult::Yes : TMessageResult::Ok;
}

}  // namespace tova
