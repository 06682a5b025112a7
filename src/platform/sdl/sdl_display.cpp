#include "platform/sdl/sdl_display.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "core/encoding.h"
#include "core/error.h"
#include "platform/sdl/sdl_keymap.h"
#include "platform/sdl/window_manager.h"
#include "platform/virtual_keys.h"

namespace tova {
namespace {

[[noreturn]] void FailSdl(const std::string& what) {
    throw ETovaError(Utf8ToCp932Lossy(what + ": " + SDL_GetError()));
}

TMouseButton ButtonOf(uint8_t sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_RIGHT:
            return TMouseButton::Right;
        case SDL_BUTTON_MIDDLE:
            return TMouseButton::Middle;
        default:
            return TMouseButton::Left;
    }
}

}  // namespace

TSdlVideo::TSdlVideo() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && value[0];
    };
    const char* noDisplay = "no display to open a window on (neither DISPLAY nor WAYLAND_DISPLAY is set)";
    const bool asked = set("SDL_VIDEODRIVER");
    if (!asked && !set("DISPLAY") && !set("WAYLAND_DISPLAY")) throw ETovaError(noDisplay);
    // Closing the window asks the player's question; only signals quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) FailSdl("no display to open a window on");
    // SDL falls back on windows in memory, which nobody sees; they are taken
    // only when asked for by name (tests do).
    const std::string_view driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    if ((driver == "offscreen" || driver == "dummy") && !asked) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw ETovaError(noDisplay);
    }
}

TSdlVideo::~TSdlVideo() {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TSdlDisplay::TSdlDisplay(const TDisplayOptions& options) : options_(options) {
    if (options.Width < 1 || options.Height < 1 || options.Width > 16384 || options.Height > 16384)
        throw ETovaError(Utf8ToCp932Lossy("the game's screen size " + std::to_string(options.Width) + "x" +
                                          std::to_string(options.Height) +
                                          " is not 1 to 16384 pixels per side"));
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) FailSdl("no display to open a window on");
    const int32_t scale = std::clamp(options.Scale, 1, 16);
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    flags |= options.Hidden ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN;
    window_ = SDL_CreateWindow(options.TitleUtf8.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               options.Width * scale, options.Height * scale, flags);
    if (!window_) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        FailSdl("cannot open the window");
    }
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_)
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                     options.Width, options.Height);
    if (!renderer_ || !texture_) {
        const std::string error = SDL_GetError();
        if (renderer_) SDL_DestroyRenderer(renderer_);
        SDL_DestroyWindow(window_);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw ETovaError(Utf8ToCp932Lossy("cannot draw into the window: " + error));
    }
    SDL_SetWindowMinimumSize(window_, 1, 1);
    if (options.FullScreen) SetFullScreen(true);
    ChooseScaleQuality();
}

TSdlDisplay::~TSdlDisplay() {
    SetDefaultCursor();
    SDL_StopTextInput();
    SDL_DestroyTexture(texture_);
    SDL_DestroyRenderer(renderer_);
    SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TViewport TSdlDisplay::Viewport() const {
    int width = 0;
    int height = 0;
    SDL_GetRendererOutputSize(renderer_, &width, &height);
    return FitViewport(options_.Width, options_.Height, width, height, options_.Mode);
}

// Whole factors keep pixels sharp with nearest sampling; other factors
// would make uneven pixel columns, so they are filtered.
void TSdlDisplay::ChooseScaleQuality() {
    const TViewport view = Viewport();
    const bool whole = view.Width % options_.Width == 0 && view.Height % options_.Height == 0 &&
                       view.Width / options_.Width == view.Height / options_.Height;
    SDL_SetTextureScaleMode(texture_, whole ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
}

void TSdlDisplay::Present(const uint32_t* pixels, int32_t stride, std::span<const TDirtyRect> dirty,
                          std::vector<uint32_t>* capture) {
    const SDL_Rect bounds{0, 0, options_.Width, options_.Height};
    for (const TDirtyRect& d : dirty) {
        SDL_Rect rect{d.Left, d.Top, d.Right - d.Left, d.Bottom - d.Top};
        SDL_Rect clipped;
        if (!SDL_IntersectRect(&rect, &bounds, &clipped)) continue;
        const uint32_t* first = pixels + static_cast<ptrdiff_t>(clipped.y) * stride + clipped.x;
        SDL_UpdateTexture(texture_, &clipped, first, stride * 4);
    }
    const TViewport view = Viewport();
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    const SDL_Rect target{view.Left, view.Top, view.Width, view.Height};
    SDL_RenderCopy(renderer_, texture_, nullptr, &target);
    if (capture) {
        capture->assign(static_cast<size_t>(view.Width) * static_cast<size_t>(view.Height), 0);
        if (SDL_RenderReadPixels(renderer_, &target, SDL_PIXELFORMAT_RGB888, capture->data(),
                                 view.Width * 4) != 0)
            FailSdl("cannot read the window's picture back");
        for (uint32_t& pixel : *capture)
            pixel &= 0x00FFFFFFu;
    }
    SDL_RenderPresent(renderer_);
    needsRepaint_ = false;
}

TInputEvent TSdlDisplay::AtPointer(TInputKind kind, int32_t windowX, int32_t windowY) const {
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(window_, &windowWidth, &windowHeight);
    int drawableWidth = 0;
    int drawableHeight = 0;
    SDL_GetRendererOutputSize(renderer_, &drawableWidth, &drawableHeight);
    const TGamePoint point = WindowToGame(windowX, windowY, windowWidth, windowHeight, drawableWidth,
                                          drawableHeight, Viewport(), options_.Width, options_.Height);
    TInputEvent event;
    event.Kind = kind;
    event.X = point.X;
    event.Y = point.Y;
    return event;
}

void TSdlDisplay::PollEvents(std::vector<TInputEvent>& events) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
            case SDL_QUIT:
                // A signal (Ctrl+C, a session ending): the window's close
                // button comes as its own window event.
                quitRequested_ = true;
                break;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_CLOSE)
                    events.push_back(TInputEvent::Of(TInputKind::Close));
                if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
                    events.push_back(TInputEvent::Of(TInputKind::FocusLost));
                if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
                    events.push_back(TInputEvent::Of(TInputKind::FocusGained));
                if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) ChooseScaleQuality();
                if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                    e.window.event == SDL_WINDOWEVENT_EXPOSED)
                    needsRepaint_ = true;
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                if (e.key.repeat) break;
                const bool down = e.type == SDL_KEYDOWN;
                const bool alt = (e.key.keysym.mod & KMOD_ALT) != 0;
                const SDL_Scancode code = e.key.keysym.scancode;
                if ((code == SDL_SCANCODE_F11 ||
                     ((code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER) && alt))) {
                    if (down) SetFullScreen(!fullScreen_);
                    break;
                }
                if (const auto key = VirtualKeyFromSdl(e.key.keysym))
                    events.push_back(
                        TInputEvent::OfKey(down ? TInputKind::KeyDown : TInputKind::KeyUp, *key));
                break;
            }
            case SDL_TEXTINPUT:
                events.push_back(TInputEvent::OfText(e.text.text));
                break;
            case SDL_MOUSEMOTION:
                events.push_back(AtPointer(TInputKind::MouseMove, e.motion.x, e.motion.y));
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                TInputEvent event =
                    AtPointer(e.type == SDL_MOUSEBUTTONDOWN ? TInputKind::MouseDown : TInputKind::MouseUp,
                              e.button.x, e.button.y);
                event.Button = ButtonOf(e.button.button);
                events.push_back(event);
                break;
            }
            case SDL_MOUSEWHEEL: {
                if (e.wheel.y == 0) break;
                int x = 0;
                int y = 0;
                SDL_GetMouseState(&x, &y);
                TInputEvent event = AtPointer(TInputKind::Wheel, x, y);
                event.WheelSteps = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
                events.push_back(event);
                break;
            }
            default:
                break;
        }
    }
}

bool TSdlDisplay::WaitForEvent(int32_t timeoutMs) {
    return SDL_WaitEventTimeout(nullptr, std::max(0, timeoutMs)) == 1;
}

void TSdlDisplay::SetFullScreen(bool on) {
    if (on == fullScreen_) return;
    if (HasWindowManager(window_)) {
        if (SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0) fullScreen_ = on;
    } else if (on) {
        // Nobody would honour the request: the window covers its display
        // itself, without a border, and remembers where it was.
        SDL_Rect display;
        if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &display) != 0) return;
        SDL_GetWindowPosition(window_, &windowed_.X, &windowed_.Y);
        SDL_GetWindowSize(window_, &windowed_.Width, &windowed_.Height);
        SDL_SetWindowBordered(window_, SDL_FALSE);
        SDL_SetWindowPosition(window_, display.x, display.y);
        SDL_SetWindowSize(window_, display.w, display.h);
        fullScreen_ = true;
    } else {
        SDL_SetWindowBordered(window_, SDL_TRUE);
        SDL_SetWindowSize(window_, windowed_.Width, windowed_.Height);
        SDL_SetWindowPosition(window_, windowed_.X, windowed_.Y);
        fullScreen_ = false;
    }
    ChooseScaleQuality();
    needsRepaint_ = true;
}

bool TSdlDisplay::SetCursorImage(const uint32_t* colour, int32_t colourStride, const uint8_t* alpha,
                                 int32_t alphaStride, int32_t width, int32_t height, int32_t hotX,
                                 int32_t hotY) {
    if (width < 1 || height < 1) return false;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return false;
    for (int32_t y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch);
        for (int32_t x = 0; x < width; ++x)
            row[x] = (colour[y * colourStride + x] & 0x00FFFFFFu) |
                     static_cast<uint32_t>(alpha[y * alphaStride + x]) << 24;
    }
    SDL_Cursor* cursor =
        SDL_CreateColorCursor(surface, std::clamp(hotX, 0, width - 1), std::clamp(hotY, 0, height - 1));
    SDL_FreeSurface(surface);
    if (!cursor) return false;
    SDL_SetCursor(cursor);
    if (cursor_) SDL_FreeCursor(cursor_);
    cursor_ = cursor;
    return true;
}

void TSdlDisplay::SetDefaultCursor() {
    SDL_SetCursor(SDL_GetDefaultCursor());
    if (cursor_) SDL_FreeCursor(cursor_);
    cursor_ = nullptr;
}

void TSdlDisplay::SetTitle(const std::string& titleUtf8) {
    SDL_SetWindowTitle(window_, titleUtf8.c_str());
}

void TSdlDisplay::SetTextInput(bool on) {
    if (on)
        SDL_StartTextInput();
    else
        SDL_StopTextInput();
}

}  // namespace tova
