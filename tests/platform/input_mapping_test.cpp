// What a player's hands and window become in game terms: key names and
// codes, SDL keys as the codes scripts test, and window points as game
// pixels at every scale, density and letterbox.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_keymap.h"
#include "platform/view_scaling.h"
#include "platform/virtual_keys.h"

namespace tova {
namespace {

TEST(VirtualKeys, NamesAndNumbersRoundTrip) {
    EXPECT_EQ(VirtualKeyFromName("VK_RETURN"), VK_RETURN);
    EXPECT_EQ(VirtualKeyFromName("vk_space"), VK_SPACE);
    EXPECT_EQ(VirtualKeyFromName("a"), 0x41);
    EXPECT_EQ(VirtualKeyFromName("7"), 7);  // a number is a code: the digit key is VK_7
    EXPECT_EQ(VirtualKeyFromName("VK_7"), 0x37);
    EXPECT_EQ(VirtualKeyFromName("13"), VK_RETURN);
    EXPECT_EQ(VirtualKeyFromName("VK_F12"), VK_F1 + 11);
    EXPECT_EQ(VirtualKeyFromName("VK_NUMPAD9"), VK_NUMPAD0 + 9);
    for (const char* bad : {"", "256", "-1", "VK_F0", "VK_F25", "VK_F01", "VK_NOPE", "AB", "1x"})
        EXPECT_FALSE(VirtualKeyFromName(bad)) << bad;
    for (int code = 0; code < 256; ++code)
        EXPECT_EQ(VirtualKeyFromName(VirtualKeyName(static_cast<uint8_t>(code))), code) << code;
}

SDL_Keysym Key(SDL_Keycode sym, SDL_Scancode scancode) {
    SDL_Keysym key{};
    key.sym = sym;
    key.scancode = scancode;
    return key;
}

TEST(SdlKeymap, KeysScriptsTestGiveWindowsCodes) {
    EXPECT_EQ(VirtualKeyFromSdl(Key(SDLK_q, SDL_SCANCODE_A)), 'Q');  // a layout where that key is Q
    EXPECT_EQ(VirtualKeyFromSdl(Key(SDLK_5, SDL_SCANCODE_5)), '5');
    EXPECT_EQ(VirtualKeyFromSdl(Key(SDLK_F11, SDL_SCANCODE_F11)), VK_F1 + 10);
    EXPECT_EQ(VirtualKeyFromSdl(Key(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER)), VK_RETURN);
    EXPECT_EQ(VirtualKeyFromSdl(Key(SDLK_RSHIFT, SDL_SCANCODE_RSHIFT)), VK_SHIFT);
    EXPECT_EQ(VirtualKeyFromSdl(Key(SDLK_LALT, SDL_SCANCODE_LALT)), VK_MENU);
    EXPECT_EQ(VirtualKeyFromSdl(Key(SDLK_KP_7, SDL_SCANCODE_KP_7)), VK_NUMPAD0 + 7);
    EXPECT_EQ(VirtualKeyFromSdl(Key(SDLK_KP_0, SDL_SCANCODE_KP_0)), VK_NUMPAD0);
    EXPECT_EQ(VirtualKeyFromSdl(Key(SDLK_LEFT, SDL_SCANCODE_LEFT)), VK_LEFT);
    EXPECT_EQ(VirtualKeyFromSdl(Key(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE)), VK_ESCAPE);
    EXPECT_FALSE(VirtualKeyFromSdl(Key(SDLK_VOLUMEUP, SDL_SCANCODE_VOLUMEUP)));
}

TEST(ViewScaling, WholeFactorsWhenTheyFitElseTheAspectFit) {
    // 640x480 in 1920x1080: factor 2 fits (1280x960), centred.
    TViewport v = FitViewport(640, 480, 1920, 1080, TScaleMode::Integer);
    EXPECT_EQ(v.Left, 320);
    EXPECT_EQ(v.Top, 60);
    EXPECT_EQ(v.Width, 1280);
    EXPECT_EQ(v.Height, 960);
    v = FitViewport(640, 480, 1920, 1080, TScaleMode::Aspect);
    EXPECT_EQ(v.Width, 1440);
    EXPECT_EQ(v.Height, 1080);
    EXPECT_EQ(v.Left, 240);
    // A window smaller than the game: no whole factor fits, so the aspect fit.
    v = FitViewport(640, 480, 400, 400, TScaleMode::Integer);
    EXPECT_EQ(v.Width, 400);
    EXPECT_EQ(v.Height, 300);
    EXPECT_EQ(v.Top, 50);
    v = FitViewport(640, 480, 1000, 500, TScaleMode::Stretch);
    EXPECT_EQ(v.Width, 1000);
    EXPECT_EQ(v.Height, 500);
    EXPECT_EQ(FitViewport(640, 480, 0, 500, TScaleMode::Integer).Width, 0);
    EXPECT_EQ(ScaleModeFromName("aspect"), TScaleMode::Aspect);
    EXPECT_FALSE(ScaleModeFromName("Aspect"));
}

TEST(ViewScaling, WindowPointsBecomeGamePixels) {
    const auto map = [](double x, double y, int windowW, int windowH, int drawW, int drawH, TScaleMode mode) {
        const TViewport v = FitViewport(640, 480, drawW, drawH, mode);
        return WindowToGame(x, y, windowW, windowH, drawW, drawH, v, 640, 480);
    };
    // Scale 1, 2 and 3: every window pixel of a game pixel maps to it.
    for (int scale : {1, 2, 3}) {
        const int w = 640 * scale, h = 480 * scale;
        TGamePoint p = map(10.0 * scale + scale - 1, 479.0 * scale, w, h, w, h, TScaleMode::Integer);
        EXPECT_EQ(p.X, 10) << scale;
        EXPECT_EQ(p.Y, 479) << scale;
    }
    // A 2x HiDPI window: logical 640x480, drawable 1280x960.
    TGamePoint p = map(100.5, 200.25, 640, 480, 1280, 960, TScaleMode::Integer);
    EXPECT_EQ(p.X, 100);
    EXPECT_EQ(p.Y, 200);
    // Letterboxed aspect fit: 640x480 in 1000x500 shows 666x500 from x = 167.
    p = map(167, 0, 1000, 500, 1000, 500, TScaleMode::Aspect);
    EXPECT_EQ(p.X, 0);
    EXPECT_EQ(p.Y, 0);
    p = map(166, 0, 1000, 500, 1000, 500, TScaleMode::Aspect);
    EXPECT_EQ(p.X, -1);  // in the black border: outside the game, not clamped to it
    p = map(999, 499, 1000, 500, 1000, 500, TScaleMode::Aspect);
    EXPECT_GE(p.X, 640);
    EXPECT_EQ(p.Y, 479);
}

}  // namespace
}  // namespace tova
