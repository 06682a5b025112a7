// Losing the display while the game runs (the X server ends, the connection
// is closed). Xlib would end the process on the spot; instead the function
// given here runs first, so that the player can write what it keeps (the
// status record) and say why it ends. Nothing of SDL may be used after that:
// the display is gone and SDL's own clean-up would wait for it for ever, so
// the process ends right after the function, with exit code 1.
#pragma once

#include <functional>

struct SDL_Window;

namespace tova {

// Watches the display of window (only X11 displays can be lost this way;
// other drivers are left alone). The last call wins; an empty function only
// ends the process.
void WatchDisplayLoss(SDL_Window* window, std::function<void()> onLost);

}  // namespace tova
