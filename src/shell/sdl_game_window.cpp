#include "shell/sdl_game_window.h"

#include "platform/clock.h"

namespace tova {

void TSdlGameWindow::PollEvents(std::vector<TInputEvent>& events) {
    display_.PollEvents(events);
    cursor_.Step(SystemTickCount());
}

void TSdlGameWindow::Present(const TSurface32& screen, std::span<const TRect> changed) {
    dirty_.clear();
    for (const TRect& rect : changed)
        dirty_.push_back({rect.Left, rect.Top, rect.Right, rect.Bottom});
    display_.Present(screen.Data(), screen.Stride(), dirty_);
}

void TWindowShellRole::Attach(TGameWindow* window, TMessageBoxHost* messageBox, std::string caption) {
    window_ = window;
    messageBox_ = window ? messageBox : nullptr;
    caption_ = std::move(caption);
    if (window_ && wanted_ && *wanted_ != window_->IsFullScreen()) window_->SetFullScreen(*wanted_);
    if (window_) wanted_.reset();
}

bool TWindowShellRole::FullScreen() {
    return window_ ? window_->IsFullScreen() : wanted_.value_or(false);
}

void TWindowShellRole::SetFullScreen(bool on) {
    if (window_)
        window_->SetFullScreen(on);
    else
        wanted_ = on;
}

TOverwriteAnswer TWindowShellRole::AskOverwrite(std::string_view message, bool manyFiles) {
    if (!messageBox_) return TOverwriteAnswer::No;
    switch (messageBox_->Show(caption_, message,
                              manyFiles ? TMessageButtons::YesNoToAll : TMessageButtons::YesNo)) {
        case TMessageResult::Yes:
            return TOverwriteAnswer::Yes;
        case TMessageResult::YesToAll:
            return TOverwriteAnswer::YesToAll;
        case TMessageResult::NoToAll:
            return TOverwriteAnswer::NoToAll;
        case TMessageResult::Cancel:
            return TOverwriteAnswer::Cancel;
        case TMessageResult::Ok:
        case TMessageResult::No:
            return TOverwriteAnswer::No;
    }
    return TOverwriteAnswer::No;
}

}  // namespace tova
