// The game's window on SDL: the frame loop's window over TSdlDisplay, with
// the pointer's picture, and the window's side of the script functions
// (full screen asked for by the game).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "expr/sys_host.h"
#include "platform/message_box.h"
#include "platform/sdl/sdl_display.h"
#include "shell/game_window.h"
#include "shell/window_cursor.h"

namespace tova {

class TSdlGameWindow final : public TGameWindow {
public:
    explicit TSdlGameWindow(TSdlDisplay& display) : display_(display), cursor_(display) {}

    void PollEvents(std::vector<TInputEvent>& events) override;
    bool WaitForEvent(int32_t timeoutMs) override { return display_.WaitForEvent(timeoutMs); }
    void Present(const TSurface32& screen, std::span<const TRect> changed) override;
    bool NeedsRepaint() const override { return display_.NeedsRepaint(); }
    bool QuitRequested() const override { return display_.QuitRequested(); }
    bool IsFullScreen() const override { return display_.IsFullScreen(); }
    void SetFullScreen(bool on) override { display_.SetFullScreen(on); }

    TWindowCursor& Cursor() { return cursor_; }

private:
    TSdlDisplay& display_;
    TWindowCursor cursor_;
    std::vector<TDirtyRect> dirty_;
};

// The window's side of the script functions: the full-screen switch,
// answered by the window once it exists (before that: windowed, and a switch
// is remembered for it), and the questions the player asks the user in the
// window's message boxes (before the window exists: nobody is asked).
class TWindowShellRole final : public TShellHost {
public:
    // caption (code page 932) heads the questions; a null window detaches.
    void Attach(TGameWindow* window, TMessageBoxHost* messageBox = nullptr, std::string caption = {});
    bool FullScreen() override;
    void SetFullScreen(bool on) override;
    TOverwriteAnswer AskOverwrite(std::string_view message, bool manyFiles) override;

private:
    TGameWindow* window_ = nullptr;
    TMessageBoxHost* messageBox_ = nullptr;
    std::string caption_;
    std::optional<bool> wanted_;  // asked for before the window existed
};

}  // namespace tova
