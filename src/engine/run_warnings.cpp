#include "engine/run_warnings.h"

#include "core/encoding.h"
#include "platform/message_gloss.h"

namespace tova {

void TRunWarnings::Warn(std::string_view message) {
    if (!out_) return;
    if (!said_.emplace(page_, line_, std::string(message)).second) return;
    std::string text;
    // Outside a command (a picture loaded while the screen draws) there is no line to name.
    if (!page_.empty()) text = Cp932ToUtf8(page_) + "(" + std::to_string(line_) + "): ";
    text += WithGloss(Cp932ToUtf8(message));
    *out_ << text << "\n";
    out_->flush();
}

}  // namespace tova
