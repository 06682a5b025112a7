#include "platform/sdl/display_loss.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <utility>

namespace tova {
namespace {

std::function<void()>& LossHandler() {
    static std::function<void()> handler;
    return handler;
}

// Called by Xlib when the connection breaks; it must not return into Xlib
// (which would exit, or spin waiting for replies that never come).
[[noreturn]] void EndOnLoss(Display*, void*) {
    try {
        if (LossHandler()) LossHandler()();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tovaplayer: %s\n", e.what());
    } catch (...) {
    }
    std::fflush(nullptr);
    _exit(1);
}

// The plain error handler runs first; the exit handler does the work.
int IgnoreIoError(Display*) {
    return 0;
}

}  // namespace

void WatchDisplayLoss(SDL_Window* window, std::function<void()> onLost) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    LossHandler() = std::move(onLost);
    XSetIOErrorHandler(IgnoreIoError);
    XSetIOErrorExitHandler(info.info.x11.display, EndOnLoss, nullptr);
}

}  // namespace tova
