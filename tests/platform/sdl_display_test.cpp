// The SDL window: what it shows is the frame it was given (only the dirty
// rectangles uploaded, whole factors sharp), and its events arrive in game
// pixels. Runs on SDL's offscreen "dummy" driver everywhere, and on the real
// X11 driver too when a display (Xvfb in CI) is there.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/sdl/sdl_display.h"
#include "platform/sdl_driver_test.h"
#include "platform/virtual_keys.h"

namespace tova {
namespace {

class SdlDisplay : public testing::TSdlDriverTest {};

std::vector<uint32_t> Pattern(int w, int h, uint32_t seed) {
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<uint32_t>(i * 2654435761u + seed) & 0xFFFFFFu;
    return pixels;
}

TEST_P(SdlDisplay, ShowsTheFrameAndUploadsOnlyDirtyRectangles) {
    TDisplayOptions options;
    options.TitleUtf8 = "テスト";
    options.Width = 64;
    options.Height = 48;
    options.Hidden = true;
    TSdlDisplay display(options);
    const std::vector<uint32_t> first = Pattern(64, 48, 1);
    const TDirtyRect all{0, 0, 64, 48};
    std::vector<uint32_t> shown;
    display.Present(first.data(), 64, {&all, 1}, &shown);
    // A cursor picture of our own (the offscreen driver has no pointer), then the arrow again.
    const std::vector<uint8_t> alpha(64 * 48, 255);
    EXPECT_EQ(display.SetCursorImage(first.data(), 64, alpha.data(), 64, 16, 16, 3, 40), GetParam() == "x11");
    display.SetDefaultCursor();
    ASSERT_EQ(display.Viewport().Width, 64);
    EXPECT_EQ(shown, first);

    // A new frame of which only one rectangle is said to have changed.
    const std::vector<uint32_t> second = Pattern(64, 48, 7);
    const TDirtyRect part{10, 5, 20, 9};
    display.Present(second.data(), 64, {&part, 1}, &shown);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool inside = x >= 10 && x < 20 && y >= 5 && y < 9;
            ASSERT_EQ(shown[static_cast<size_t>(y) * 64 + x],
                      (inside ? second : first)[static_cast<size_t>(y) * 64 + x])
                << x << "," << y;
        }
}

TEST_P(SdlDisplay, DoubledWindowKeepsPixelsSharpAndMapsThePointer) {
    TDisplayOptions options;
    options.Width = 32;
    options.Height = 24;
    options.Scale = 2;
    options.Hidden = true;
    TSdlDisplay display(options);
    const std::vector<uint32_t> frame = Pattern(32, 24, 3);
    const TDirtyRect all{0, 0, 32, 24};
    std::vector<uint32_t> shown;
    display.Present(frame.data(), 32, {&all, 1}, &shown);
    const TViewport view = display.Viewport();
    ASSERT_EQ(view.Width, 64);
    ASSERT_EQ(view.Height, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(shown[static_cast<size_t>(y) * 64 + x], frame[static_cast<size_t>(y / 2) * 32 + x / 2]);

    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_RIGHT;
    event.button.x = 21;
    event.button.y = 40;
    SDL_PushEvent(&event);
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_SPACE;
    key.key.keysym.scancode = SDL_SCANCODE_SPACE;
    SDL_PushEvent(&key);
    key.key.repeat = 1;  // held down: no second KeyDown
    SDL_PushEvent(&key);
    std::vector<TInputEvent> events;
    display.PollEvents(events);
    std::vector<TInputEvent> ours;
    for (const TInputEvent& e : events)
        if (e.Kind == TInputKind::MouseDown || e.Kind == TInputKind::KeyDown) ours.push_back(e);
    ASSERT_EQ(ours.size(), 2u);
    EXPECT_EQ(ours[0].Button, TMouseButton::Right);
    EXPECT_EQ(ours[0].X, 10);
    EXPECT_EQ(ours[0].Y, 20);
    EXPECT_EQ(ours[1].Key, VK_SPACE);
}

// Presses a key (down and up) through SDL's queue and lets the display see it.
void PressKey(TSdlDisplay& display, SDL_Scancode code) {
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.scancode = code;
    SDL_PushEvent(&key);
    key.type = SDL_KEYUP;
    SDL_PushEvent(&key);
    std::vector<TInputEvent> events;
    display.PollEvents(events);
}

// Polls until the window's drawable has the size (the X server answers a
// resize asynchronously); false after two seconds.
bool WaitForDrawable(TSdlDisplay& display, int width, int height) {
    for (int i = 0; i < 200; ++i) {
        std::vector<TInputEvent> events;
        display.PollEvents(events);
        int w = 0;
        int h = 0;
        SDL_GetRendererOutputSize(SDL_GetRenderer(display.Window()), &w, &h);
        if (w == width && h == height) return true;
        SDL_Delay(10);
    }
    return false;
}

// F11 gives the whole picture scaled to the display and F11 again the window
// as it was, also on an X server without a window manager (where a request
// for full screen goes unanswered).
TEST_P(SdlDisplay, FullScreenShowsTheWholePictureAndLeavingItRestoresTheWindow) {
    if (GetParam() != "x11") GTEST_SKIP() << "the offscreen driver has no desktop to fill";
    TDisplayOptions options;
    options.Width = 32;
    options.Height = 24;
    options.Scale = 2;
    TSdlDisplay display(options);
    const std::vector<uint32_t> frame = Pattern(32, 24, 5);
    const TDirtyRect all{0, 0, 32, 24};
    SDL_Rect desktop;
    ASSERT_EQ(SDL_GetDisplayBounds(0, &desktop), 0);
    const auto expectScaled = [&](int factor) {
        std::vector<uint32_t> shown;
        display.Present(frame.data(), 32, {&all, 1}, &shown);
        const TViewport view = display.Viewport();
        ASSERT_EQ(view.Width, 32 * factor);
        ASSERT_EQ(view.Height, 24 * factor);
        for (int y = 0; y < view.Height; ++y)
            for (int x = 0; x < view.Width; ++x)
                ASSERT_EQ(shown[static_cast<size_t>(y) * view.Width + x],
                          frame[static_cast<size_t>(y / factor) * 32 + x / factor])
                    << factor << ": " << x << "," << y;
    };
    expectScaled(2);

    PressKey(display, SDL_SCANCODE_F11);
    EXPECT_TRUE(display.IsFullScreen());
    ASSERT_TRUE(WaitForDrawable(display, desktop.w, desktop.h));
    expectScaled(std::min(desktop.w / 32, desktop.h / 24));

    PressKey(display, SDL_SCANCODE_F11);
    EXPECT_FALSE(display.IsFullScreen());
    ASSERT_TRUE(WaitForDrawable(display, 64, 48));
    expectScaled(2);
}

TEST_P(SdlDisplay, AbsurdSizesAreRefusedClearly) {
    TDisplayOptions options;
    options.Hidden = true;
    for (const auto& [w, h] : {std::pair{0, 480}, std::pair{640, -1}, std::pair{16385, 10}}) {
        options.Width = w;
        options.Height = h;
        try {
            TSdlDisplay display(options);
            ADD_FAILURE() << w << "x" << h << " was accepted";
        } catch (const std::exception& e) {
            EXPECT_NE(std::string(e.what()).find("is not 1 to 16384 pixels"), std::string::npos) << e.what();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Drivers, SdlDisplay, ::testing::Values("dummy", "x11"));

}  // namespace
}  // namespace tova
