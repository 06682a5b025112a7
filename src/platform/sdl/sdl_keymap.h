// SDL's key events as Windows virtual-key codes. Letters and digits follow
// the keyboard layout (SDL's key symbol), as Windows' own codes do; the
// other keys are taken by their position (scan code), so that an OEM key or
// the keypad gives the same code on every layout.
#pragma once

#include <SDL_keyboard.h>

#include <cstdint>
#include <optional>

namespace tova {

// The virtual-key code of a key, or nullopt for keys scripts cannot see.
// Both Enter keys give VK_RETURN; left and right Shift, Control and Alt give
// VK_SHIFT, VK_CONTROL and VK_MENU (the codes scripts test).
std::optional<uint8_t> VirtualKeyFromSdl(const SDL_Keysym& key);

}  // namespace tova
