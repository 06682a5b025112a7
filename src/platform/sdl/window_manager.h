// Whether a window manager runs on the window's display. Desktop full screen
// is a request to the window manager; an X server without one (a kiosk, a
// bare Xvfb) ignores it, so the window then goes full screen by itself.
#pragma once

#include <SDL.h>

namespace tova {

// X11: the root window names a window manager's check window
// (_NET_SUPPORTING_WM_CHECK). Other video drivers manage windows themselves.
bool HasWindowManager(SDL_Window* window);

}  // namespace tova
