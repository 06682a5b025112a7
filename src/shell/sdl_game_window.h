// The game's window on SDL: the frame loop's window over TSdlDisplay, with
// the pointer's picture, and the window's side of the script functions
// (full screen asked for by the game).
#pragma once

#include <optional>
#include <vector>

#include "expr/sys_host.h"
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

// The script functions' full-screen switch, answered by the window once it
// exists (before that: windowed, and a switch is remembered for it).
class TWindowShellRole final : public TShellHost {
public:
    void Attach(TGameWindow* window);
    bool FullScreen() override;
    void SetFullScreen(bool on) override;

private:
    TGameWindow* window_ = nullptr;
    std::optional<bool> wanted_;  // asked for before the window existed
};

}  // namespace tova
