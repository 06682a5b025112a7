// Message boxes of the windowed player: SDL's own dialogs (UTF-8), modal to
// the game's window when there is one. When SDL cannot show one (no display
// left), the text goes to standard error and the default button is taken,
// as the headless player does.
#pragma once

#include "platform/message_box.h"

struct SDL_Window;

namespace tova {

class TSdlMessageBox : public TMessageBoxHost {
public:
    // parent may be null (before the window exists: a failed start-up).
    explicit TSdlMessageBox(SDL_Window* parent = nullptr) : parent_(parent) {}
    void SetParent(SDL_Window* parent) { parent_ = parent; }

    TMessageResult Show(std::string_view caption, std::string_view text, TMessageButtons buttons) override;

private:
    SDL_Window* parent_;
    THeadlessMessageBox fallback_;
};

}  // namespace tova
